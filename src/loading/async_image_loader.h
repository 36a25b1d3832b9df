// Loading an image on a loader thread: the file is decoded into a surface's memory there; the
// texture and the image are made on the main thread, where the listener hears of it.
#pragma once

#include <memory>

#include "graphics/gxtk_graphics.h"
#include "graphics/image.h"
#include "loading/async_event.h"
#include "loading/thread.h"

class c_IOnLoadImageComplete {
public:
    virtual ~c_IOnLoadImageComplete() = default;
    // The image (null when the file could not be loaded), the path as the caller gave it and
    // the loader.
    virtual void p_OnLoadImageComplete(std::unique_ptr<c_Image> image, const String& path,
                                       c_IAsyncEventSource* source) = 0;
};

class c_AsyncImageLoaderThread : public c_Thread {
public:
    void Run__UNSAFE__() override;

    gxtkGraphics* m_device = nullptr; // the renderer when the loader was made
    String m_filePath;                // the path under the data folder
    std::shared_ptr<gxtkSurface> m_surface;
    bool m_result = false;
};

class c_AsyncImageLoader : public c_AsyncImageLoaderThread, public c_IAsyncEventSource {
public:
    static std::shared_ptr<c_AsyncImageLoader> m_new(const String& path, int frames, int flags,
                                                     c_IOnLoadImageComplete* onComplete);

    // Registers the loader, gives it an empty surface and starts its thread.
    void Start() override;
    void p_UpdateAsyncEvents() override;

    String m_path;
    int m_frames = 1;
    int m_flags = 0;
    c_IOnLoadImageComplete* m_onComplete = nullptr;
};

void bb_asyncloaders_LoadImageAsync(const String& path, int frames, int flags,
                                    c_IOnLoadImageComplete* onComplete);
