// The pending-load registry and its poll.
#include "loading/async_event.h"

#include <algorithm>

#include "runtime/errors.h"

std::vector<std::shared_ptr<c_IAsyncEventSource>> bb_asyncevent__sources;
c_IAsyncEventSource* bb_asyncevent__current = nullptr;

namespace {
// True for the whole of a pass. A source clears the current source before it calls its
// listener, so the current source alone cannot tell that a listener is polling again.
bool bb_asyncevent__polling = false;
} // namespace

void bb_asyncevent_Init() {
    bb_asyncevent__sources.clear();
    bb_asyncevent__current = nullptr;
    bb_asyncevent__polling = false;
}

void bb_asyncevent_AddAsyncEventSource(std::shared_ptr<c_IAsyncEventSource> source) {
    const auto found =
        std::find(bb_asyncevent__sources.begin(), bb_asyncevent__sources.end(), source);
    if (found != bb_asyncevent__sources.end())
        bbError(u"Async event source is already active");
    bb_asyncevent__sources.push_back(std::move(source));
}

void bb_asyncevent_RemoveAsyncEventSource(c_IAsyncEventSource* source) {
    if (source == bb_asyncevent__current)
        bb_asyncevent__current = nullptr;
    std::erase_if(bb_asyncevent__sources, [source](const auto& s) { return s.get() == source; });
}

void bb_asyncevent_UpdateAsyncEvents() {
    if (bb_asyncevent__current || bb_asyncevent__polling)
        return;
    bb_asyncevent__polling = true;
    size_t i = 0;
    while (i < bb_asyncevent__sources.size()) {
        // Held here so that a source removing itself lives until its update has returned.
        const std::shared_ptr<c_IAsyncEventSource> source = bb_asyncevent__sources[i];
        bb_asyncevent__current = source.get();
        source->p_UpdateAsyncEvents();
        // A source that removed itself cleared the current source; the next one has moved down.
        if (bb_asyncevent__current)
            ++i;
    }
    bb_asyncevent__current = nullptr;
    bb_asyncevent__polling = false;
}
