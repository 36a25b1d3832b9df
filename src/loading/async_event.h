// The registry of pending loads (async event sources) and the poll that delivers their
// completions on the main thread, in the order the loads were started.
#pragma once

#include <memory>
#include <vector>

class c_IAsyncEventSource {
public:
    virtual ~c_IAsyncEventSource() = default;
    // Called on the main thread by the poll.
    virtual void p_UpdateAsyncEvents() = 0;
};

// The sources that have started and not yet delivered, in start order. The registry keeps each
// source alive until it removes itself.
extern std::vector<std::shared_ptr<c_IAsyncEventSource>> bb_asyncevent__sources;
// The source whose update is running, or null.
extern c_IAsyncEventSource* bb_asyncevent__current;

// Appends a source; "Async event source is already active" when it is registered already.
void bb_asyncevent_AddAsyncEventSource(std::shared_ptr<c_IAsyncEventSource> source);
// Removes every occurrence of the source, keeping the others' order.
void bb_asyncevent_RemoveAsyncEventSource(c_IAsyncEventSource* source);
// Visits every registered source once; ignored when entered again from inside a source's
// update or a listener it calls.
void bb_asyncevent_UpdateAsyncEvents();

// Empties the registry; part of the program's initialisation.
void bb_asyncevent_Init();
