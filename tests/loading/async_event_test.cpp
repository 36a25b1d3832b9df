// The registry of pending loads and its poll: order, loads started from a completion, re-entry
// and removal during the visit.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "common/child_process.h"
#include "loading/async_event.h"

namespace {

// A pending load that the test finishes by hand.
class FakeSource : public c_IAsyncEventSource {
public:
    FakeSource(std::string name, std::vector<std::string>& log) : name(std::move(name)), log(log) {}

    void p_UpdateAsyncEvents() override {
        ++visits;
        if (!finished)
            return;
        bb_asyncevent_RemoveAsyncEventSource(this);
        log.push_back(name);
        if (onDeliver)
            onDeliver();
    }

    std::string name;
    std::vector<std::string>& log;
    bool finished = false;
    int visits = 0;
    std::function<void()> onDeliver;
};

class AsyncEventTest : public ::testing::Test {
protected:
    void SetUp() override { bb_asyncevent_Init(); }
    void TearDown() override { bb_asyncevent_Init(); }

    std::shared_ptr<FakeSource> Add(const std::string& name, bool finished) {
        auto source = std::make_shared<FakeSource>(name, log);
        source->finished = finished;
        bb_asyncevent_AddAsyncEventSource(source);
        return source;
    }

    std::vector<std::string> log;
};

} // namespace

TEST_F(AsyncEventTest, DeliversFinishedSourcesInStartOrderAndKeepsTheRest) {
    Add("a", true);
    auto b = Add("b", false);
    Add("c", true);
    Add("d", true);
    bb_asyncevent_UpdateAsyncEvents();
    EXPECT_EQ(log, (std::vector<std::string>{"a", "c", "d"}));
    ASSERT_EQ(bb_asyncevent__sources.size(), 1u);
    EXPECT_EQ(bb_asyncevent__current, nullptr);

    for (int i = 0; i < 3; ++i)
        bb_asyncevent_UpdateAsyncEvents();
    EXPECT_EQ(b->visits, 4); // still pending, still registered
    b->finished = true;
    bb_asyncevent_UpdateAsyncEvents();
    EXPECT_EQ(log, (std::vector<std::string>{"a", "c", "d", "b"}));
    EXPECT_TRUE(bb_asyncevent__sources.empty());
}

TEST_F(AsyncEventTest, ALoadStartedFromACompletionIsVisitedInTheSamePass) {
    std::shared_ptr<FakeSource> started;
    auto a = Add("a", true);
    a->onDeliver = [&] { started = Add("started", false); };
    Add("b", true);
    bb_asyncevent_UpdateAsyncEvents();
    EXPECT_EQ(log, (std::vector<std::string>{"a", "b"}));
    ASSERT_TRUE(started);
    EXPECT_EQ(started->visits, 1);
    ASSERT_EQ(bb_asyncevent__sources.size(), 1u);
    EXPECT_EQ(bb_asyncevent__sources[0], started);
}

TEST_F(AsyncEventTest, PollingFromInsideACompletionDoesNothing) {
    auto a = Add("a", true);
    auto b = Add("b", true);
    a->onDeliver = [&] {
        bb_asyncevent_UpdateAsyncEvents();
        EXPECT_EQ(b->visits, 0);
    };
    bb_asyncevent_UpdateAsyncEvents();
    EXPECT_EQ(log, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(b->visits, 1);
}

TEST_F(AsyncEventTest, RemovalKeepsTheOrderOfTheOthers) {
    auto a = Add("a", false);
    auto b = Add("b", false);
    auto c = Add("c", false);
    bb_asyncevent_RemoveAsyncEventSource(b.get());
    ASSERT_EQ(bb_asyncevent__sources.size(), 2u);
    EXPECT_EQ(bb_asyncevent__sources[0], a);
    EXPECT_EQ(bb_asyncevent__sources[1], c);

    // A completion that drops a later source: that source is not visited in this pass.
    auto d = Add("d", false);
    a->finished = true;
    a->onDeliver = [&] { bb_asyncevent_RemoveAsyncEventSource(d.get()); };
    bb_asyncevent_UpdateAsyncEvents();
    EXPECT_EQ(d->visits, 0);
    EXPECT_EQ(c->visits, 1);
}

TEST_F(AsyncEventTest, ASourceRemovedDuringItsVisitLivesUntilItReturns) {
    auto a = Add("a", true);
    std::weak_ptr<FakeSource> watch = a;
    a->onDeliver = [&] { EXPECT_FALSE(watch.expired()); };
    a.reset(); // the registry is now the only owner
    bb_asyncevent_UpdateAsyncEvents();
    EXPECT_TRUE(watch.expired());
    EXPECT_EQ(log, (std::vector<std::string>{"a"}));
}

TEST_F(AsyncEventTest, RegisteringASourceTwiceIsFatal) {
    const ChildResult outcome = RunInChild([&] {
        auto a = Add("a", false);
        bb_asyncevent_AddAsyncEventSource(a);
    });
    EXPECT_THAT(outcome.out,
                ::testing::StartsWith("Zibbet Runtime Error : Async event source is already "
                                      "active\n"));
    EXPECT_EQ(outcome.status, 255);
}
