// Loading a sound effect on a loader thread: the file is decoded and handed to an OpenAL
// buffer there (OpenAL's context serves the whole process); the listener hears of it on the
// main thread.
#pragma once

#include <memory>

#include "audio/gxtk_audio.h"
#include "audio/sound.h"
#include "loading/async_event.h"
#include "loading/thread.h"

class c_IOnLoadSoundComplete {
public:
    virtual ~c_IOnLoadSoundComplete() = default;
    // The sound (null when the file could not be loaded), the path as the caller gave it and
    // the loader.
    virtual void p_OnLoadSoundComplete(std::unique_ptr<c_Sound> sound, const String& path,
                                       c_IAsyncEventSource* source) = 0;
};

class c_AsyncSoundLoaderThread : public c_Thread {
public:
    void Run__UNSAFE__() override;

    gxtkAudio* m_device = nullptr; // the audio device when the loader was made
    String m_filePath;             // the path under the data folder
    std::shared_ptr<gxtkSample> m_sample;
    bool m_result = false;
};

class c_AsyncSoundLoader : public c_AsyncSoundLoaderThread, public c_IAsyncEventSource {
public:
    static std::shared_ptr<c_AsyncSoundLoader> m_new(const String& path,
                                                     c_IOnLoadSoundComplete* onComplete);

    // Registers the loader, gives it a sample without a buffer and starts its thread.
    void Start() override;
    void p_UpdateAsyncEvents() override;

    String m_path;
    c_IOnLoadSoundComplete* m_onComplete = nullptr;
};

void bb_asyncloaders_LoadSoundAsync(const String& path, c_IOnLoadSoundComplete* onComplete);
