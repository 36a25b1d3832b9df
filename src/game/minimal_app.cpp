// The stand-in application: a fixed 60 updates a second and nothing to draw.
#include "game/minimal_app.h"

void c_MinimalApp::p_OnCreate() {
    bb_app_SetUpdateRate(60);
}
