// The image loader: decoding on the loader thread, every OpenGL call on the main thread.
#include "loading/async_image_loader.h"

#include "files/data_path.h"
#include "graphics/graphics.h"

void c_AsyncImageLoaderThread::Run__UNSAFE__() {
    // Storage of our own: the main thread's strings are not to be shared with this thread.
    const String filePath(m_filePath.data(), m_filePath.size());
    m_result = m_device && m_device->LoadSurface__UNSAFE__(m_surface.get(), filePath);
}

std::shared_ptr<c_AsyncImageLoader> c_AsyncImageLoader::m_new(const String& path, int frames,
                                                              int flags,
                                                              c_IOnLoadImageComplete* onComplete) {
    auto loader = std::make_shared<c_AsyncImageLoader>();
    loader->m_device = bb_graphics_device;
    loader->m_filePath = bb_data_FixDataPath(path);
    loader->m_path = path;
    loader->m_frames = frames;
    loader->m_flags = flags;
    loader->m_onComplete = onComplete;
    return loader;
}

void c_AsyncImageLoader::Start() {
    bb_asyncevent_AddAsyncEventSource(
        std::static_pointer_cast<c_AsyncImageLoader>(shared_from_this()));
    m_surface = std::make_shared<gxtkSurface>();
    c_Thread::Start();
}

void c_AsyncImageLoader::p_UpdateAsyncEvents() {
    if (IsRunning())
        return;
    bb_asyncevent_RemoveAsyncEventSource(this);
    // The surface leaves the loader here: the loader itself may end up destroyed on its own
    // thread, where no texture may be deleted.
    std::shared_ptr<gxtkSurface> surface = std::move(m_surface);
    if (!m_result) {
        m_onComplete->p_OnLoadImageComplete(nullptr, m_path, this);
        return;
    }
    surface->OnUnsafeLoadComplete();
    std::unique_ptr<c_Image> image = c_Image::m_new();
    image->p_Init(std::move(surface), m_frames, m_flags);
    m_onComplete->p_OnLoadImageComplete(std::move(image), m_path, this);
}

void bb_asyncloaders_LoadImageAsync(const String& path, int frames, int flags,
                                    c_IOnLoadImageComplete* onComplete) {
    c_AsyncImageLoader::m_new(path, frames, flags, onComplete)->Start();
}
