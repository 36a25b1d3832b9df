// The sound loader: decoding and buffer filling on the loader thread, delivery on the main one.
#include "loading/async_sound_loader.h"

#include "audio/audio.h"
#include "files/data_path.h"

void c_AsyncSoundLoaderThread::Run__UNSAFE__() {
    // Storage of our own: the main thread's strings are not to be shared with this thread.
    const String filePath(m_filePath.data(), m_filePath.size());
    m_result = m_device && m_device->LoadSample__UNSAFE__(m_sample.get(), filePath);
}

std::shared_ptr<c_AsyncSoundLoader> c_AsyncSoundLoader::m_new(const String& path,
                                                              c_IOnLoadSoundComplete* onComplete) {
    auto loader = std::make_shared<c_AsyncSoundLoader>();
    loader->m_device = bb_audio_device;
    loader->m_filePath = bb_data_FixDataPath(path);
    loader->m_path = path;
    loader->m_onComplete = onComplete;
    return loader;
}

void c_AsyncSoundLoader::Start() {
    bb_asyncevent_AddAsyncEventSource(
        std::static_pointer_cast<c_AsyncSoundLoader>(shared_from_this()));
    m_sample = std::make_shared<gxtkSample>();
    c_Thread::Start();
}

void c_AsyncSoundLoader::p_UpdateAsyncEvents() {
    if (IsRunning())
        return;
    bb_asyncevent_RemoveAsyncEventSource(this);
    // The sample leaves the loader here: the loader itself may end up destroyed on its own
    // thread, and a sample gives up its buffer on the main thread only.
    std::shared_ptr<gxtkSample> sample = std::move(m_sample);
    if (!m_result) {
        m_onComplete->p_OnLoadSoundComplete(nullptr, m_path, this);
        return;
    }
    m_onComplete->p_OnLoadSoundComplete(c_Sound::m_new(std::move(sample)), m_path, this);
}

void bb_asyncloaders_LoadSoundAsync(const String& path, c_IOnLoadSoundComplete* onComplete) {
    c_AsyncSoundLoader::m_new(path, onComplete)->Start();
}
