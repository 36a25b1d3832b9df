// The flags of a window's mode (BBGame::SetDeviceWindow), on their own so that the settings can
// ask for a mode without knowing the host.
#pragma once

struct BBWindowFlags {
    enum Flag : int {
        kFullscreen = 1,
        kResizable = 2,
        kDecorated = 4,
        kFloating = 8,
        kDepthBuffer = 16,
        kSingleBuffer = 32,
        kSecondMonitor = 64,
        kStencilBuffer = 128,
    };
};

// A window as SetDeviceWindow takes it: its size in pixels and its flags.
struct BBWindowRequest {
    int width = 640;
    int height = 480;
    int flags = BBWindowFlags::kResizable | BBWindowFlags::kDecorated;
};
