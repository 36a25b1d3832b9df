// The seam between the host and the device modules above it. The renderer and the audio device
// derive from these bases; each device module installs its factory and its file decoder into
// bb_app_deviceHooks (from bbInit), so the host never includes a device's header.
#pragma once

#include <cstdio>
#include <memory>
#include <vector>

#include "runtime/string.h"

class BBGraphicsDevice {
public:
    virtual ~BBGraphicsDevice() = default;
    // 0: the application renders without the drawing module; 1: normal; 2: still loading.
    virtual int BeginRender() = 0;
    virtual void EndRender() = 0;
    virtual void DiscardGraphics() = 0;
};

class BBAudioDevice {
public:
    virtual ~BBAudioDevice() = default;
    virtual void Suspend() = 0;
    virtual void Resume() = 0;
    // Once an update, before the application's: work the device does over time.
    virtual void Update() {}
};

// The image and sound files the game's start decodes before its first screen, named as the
// game's loads name them.
struct BBStartupFiles {
    std::vector<String> images;
    std::vector<String> sounds;
};

struct BBDeviceHooks {
    // Creates the renderer for the current window and publishes it (bb_graphics_device), then
    // sets the drawing module's default font. Null: the game runs without a renderer.
    std::unique_ptr<BBGraphicsDevice> (*createGraphics)() = nullptr;
    // Resets the drawing state at the start of a rendered frame (bb_graphics_BeginRender).
    void (*beginFrame)() = nullptr;
    // Forgets the frame's render device once the application has drawn.
    void (*endFrame)() = nullptr;
    // Opens the audio device and publishes it (bb_audio_device). Null: silence.
    std::unique_ptr<BBAudioDevice> (*createAudio)() = nullptr;
    // Waits a bounded time for the loader threads, which call into the devices; false when one
    // is still running. Null: there are no loaders to wait for.
    bool (*awaitLoaders)() = nullptr;
    // Waits at most `seconds` for the loader threads running now; true when there were some and
    // all have finished. Null: there are no loaders to wait for.
    bool (*awaitPendingLoaders)(double seconds) = nullptr;
    // Decodes an image file the host has opened (left open) into pixels from malloc, the file's
    // own channel count in *depth; null when undecodable. Loader threads call it. Null: the
    // host loads no images.
    unsigned char* (*decodeImage)(std::FILE* file, int* width, int* height, int* depth) = nullptr;
    // Decodes a sound file the host has opened (left open), choosing the format by `path`, into
    // interleaved samples from malloc; null when undecodable. Null: the host loads no sounds.
    short* (*decodeAudio)(std::FILE* file, const String& path, int* length, int* channels,
                          int* format, int* hertz) = nullptr;
    // The files the game's start will decode, which the host decodes ahead while it opens the
    // window. Null: the host waits for the game to ask.
    BBStartupFiles (*startupFiles)() = nullptr;
};

extern BBDeviceHooks bb_app_deviceHooks;

// What the renderer needs of the window, answered by the host. The drawable's size in pixels:
// the host's window as the host sees it, or else the window of whatever context is current (tools
// and tests make their own); false, leaving the numbers alone, when there is neither.
bool bb_host_DrawableSize(int* width, int* height);
// The generation of the OpenGL context: raised by one with every window, and so every context,
// the host opens (0 before the first). Textures made under an older generation are gone.
int bb_host_GraphicsSeq();
// The address of an OpenGL function of the current context, such as an extension's, which the
// OpenGL library need not export; null when there is no such function or no context.
void* bb_host_GLFunction(const char* name);
