// Loading a whole file into a data buffer on a loader thread; the listener hears of it on the
// main thread.
#pragma once

#include <memory>

#include "files/data_buffer.h"
#include "loading/async_event.h"
#include "loading/thread.h"

class c_IOnLoadDataComplete {
public:
    virtual ~c_IOnLoadDataComplete() = default;
    // The loaded buffer (owned by the loader, valid during the call), or null on failure, and
    // the path as the caller gave it.
    virtual void p_OnLoadDataComplete(c_DataBuffer* buffer, const String& path) = 0;
};

class c_AsyncDataLoader : public c_Thread, public c_IAsyncEventSource {
public:
    // The path is used unchanged (it is not put under the data folder).
    static std::shared_ptr<c_AsyncDataLoader> m_new(std::unique_ptr<c_DataBuffer> buffer,
                                                    const String& path,
                                                    c_IOnLoadDataComplete* onComplete);

    // Registers the loader, then starts its thread.
    void Start() override;
    void Run__UNSAFE__() override;
    void p_UpdateAsyncEvents() override;

    std::unique_ptr<c_DataBuffer> m_buffer;
    String m_path;
    c_IOnLoadDataComplete* m_onComplete = nullptr;
};
