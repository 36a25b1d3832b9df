// bbInit gives every module-level global its starting value; bbMain creates the application.
#include "audio/audio.h"
#include "collision/game_masks.h"
#include "files/stream.h"
#include "game/minimal_app.h"
#include "graphics/graphics.h"
#include "graphics/texture_page.h"
#include "graphics/virtual_display.h"
#include "host/app.h"
#include "host/devices.h"
#include "host/game_entry.h"
#include "input/input_device.h"
#include "loading/asset_groups.h"
#include "loading/async_event.h"

void bbInit() {
    // Each device module installs its factory below; a missing one means no such device.
    bb_app_deviceHooks = BBDeviceHooks{};
    bb_app_Reset();
    bb_input_device = nullptr;
    bb_graphics_Init();
    bb_autofit_Init();
    bb_texturepage_Init();
    bb_graphics_InstallDevice();
    bb_asyncevent_Init();
    bb_assetgroups_Init();
    bb_masks_Init();
    bb_stream_Init();
    bb_audio_device = nullptr;
    bb_audio_InstallDevice();
}

int bbMain() {
    bb_app_CreateApp<c_MinimalApp>();
    return 0;
}
