// Polls the asynchronous events until a condition holds, as the game's update does, with a
// generous limit so that a lost completion fails the test instead of hanging it.
#pragma once

#include <chrono>
#include <thread>

#include "loading/async_event.h"
#include "loading/thread.h"

template <class Done> bool PumpUntil(Done done) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!done()) {
        if (std::chrono::steady_clock::now() > limit)
            return false;
        bb_asyncevent_UpdateAsyncEvents();
        std::this_thread::yield();
    }
    return true;
}
