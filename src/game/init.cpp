// bbInit gives every module-level global its starting value; bbMain creates the application.
#include "game/init.h"

#include "audio/audio.h"
#include "collision/game_masks.h"
#include "files/stream.h"
#include "game/random.h"
#include "game/startup_files.h"
#include "game/tazzle.h"
#include "game/tazzle_app.h"
#include "graphics/graphics.h"
#include "graphics/texture_page.h"
#include "graphics/virtual_display.h"
#include "host/app.h"
#include "host/devices.h"
#include "input/input_device.h"
#include "loading/asset_groups.h"
#include "loading/async_event.h"
#include "loading/thread.h"
#include "persist/settings.h"
#include "text/text.h"

void bbInit() {
    // Each device module installs its factory below; a missing one means no such device.
    bb_app_deviceHooks = BBDeviceHooks{};
    bb_app_Reset();
    bb_input_device = nullptr;
    bb_graphics_Init();
    bb_autofit_Init();
    bb_texturepage_Init();
    bb_graphics_InstallDevice();
    bb_settings_gameSettings = std::make_unique<c_Settings>();
    bb_settings_watcherSettings = nullptr;
    bb_tazzle_Init();
    bb_text_spectrumText = std::make_unique<c_Text>();
    bb_asyncevent_Init();
    bb_thread_InstallLoaderWait();
    bb_assetgroups_Init();
    bb_masks_Init();
    bb_random_Init();
    bb_stream_Init();
    bb_audio_device = nullptr;
    bb_audio_InstallDevice();
    bb_startupfiles_Install();
}

int bbMain() {
    bb_app_CreateApp<c_TazzleApp>();
    return 0;
}
