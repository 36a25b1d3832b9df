// The trace expectation checker itself: each rule both passes and fails where it should.
#include "trace_expect_support.h"

#include <gtest/gtest.h>

namespace {

const char* kTrace = "u=1 main=1 money=0\n"
                     "u=2 main=2 money=0\n"
                     "u=3 main=3 money=40 cars=\n"
                     "u=4 main=3 money=30 cars=TruckLeft:1:2\n"
                     "u=5 main=2 money=30\n";

TEST(TraceExpect, MetRulesGiveNoFailures) {
    EXPECT_TRUE(CheckTrace(kTrace, "# key lines\n"
                                   "then main=3 money=40\n"
                                   "then money=30 cars=TruckLeft:1:2   # later\n"
                                   "states 1,2,3,2\n"
                                   "never main=5\n"
                                   "last u=5 main=2\n")
                    .empty());
}

TEST(TraceExpect, EachUnmetRuleIsReported) {
    const auto failures = CheckTrace(kTrace, "then money=30\n"
                                             "then money=40\n" // only before the previous match
                                             "states 1,2,3\n"
                                             "never cars=\n"
                                             "last main=3\n"
                                             "sometimes u=1\n");
    ASSERT_EQ(failures.size(), 5u);
    EXPECT_EQ(failures[0], "no later line with money=40");
    EXPECT_EQ(failures[1], "states 1,2,3,2, expected 1,2,3");
    EXPECT_EQ(failures[2], "a line with cars= at u=3");
    EXPECT_EQ(failures[3], "the last line lacks main=3");
    EXPECT_EQ(failures[4], "unknown rule 'sometimes'");
}

} // namespace
