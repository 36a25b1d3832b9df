// bbInit gives every module-level global its starting value; bbMain creates the application.
#include "game/minimal_app.h"
#include "host/app.h"
#include "host/devices.h"
#include "host/game_entry.h"
#include "input/input_device.h"

void bbInit() {
    // Each device module installs its factory below; a missing one means no such device.
    bb_app_deviceHooks = BBDeviceHooks{};
    bb_app_Reset();
    bb_input_device = nullptr;
}

int bbMain() {
    bb_app_CreateApp<c_MinimalApp>();
    return 0;
}
