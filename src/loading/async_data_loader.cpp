// The data loader: reads the file on its own thread, delivers the buffer on the main thread.
#include "loading/async_data_loader.h"

std::shared_ptr<c_AsyncDataLoader> c_AsyncDataLoader::m_new(std::unique_ptr<c_DataBuffer> buffer,
                                                            const String& path,
                                                            c_IOnLoadDataComplete* onComplete) {
    auto loader = std::make_shared<c_AsyncDataLoader>();
    loader->m_buffer = std::move(buffer);
    loader->m_path = path;
    loader->m_onComplete = onComplete;
    return loader;
}

void c_DataBuffer::m_LoadAsync(const String& path, c_IOnLoadDataComplete* onComplete) {
    c_AsyncDataLoader::m_new(std::make_unique<c_DataBuffer>(), path, onComplete)->Start();
}

void c_AsyncDataLoader::Start() {
    bb_asyncevent_AddAsyncEventSource(
        std::static_pointer_cast<c_AsyncDataLoader>(shared_from_this()));
    c_Thread::Start();
}

void c_AsyncDataLoader::Run__UNSAFE__() {
    if (m_buffer->_LoadAsync(m_path))
        SetResult(m_buffer.get());
}

void c_AsyncDataLoader::p_UpdateAsyncEvents() {
    if (IsRunning())
        return;
    bb_asyncevent_RemoveAsyncEventSource(this);
    m_onComplete->p_OnLoadDataComplete(static_cast<c_DataBuffer*>(Result()), m_path);
}
