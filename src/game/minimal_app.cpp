// The stand-in application: a fixed 60 updates a second and a frame drawn in the virtual screen.
#include "game/minimal_app.h"

#include "graphics/graphics.h"
#include "graphics/virtual_display.h"

void c_MinimalApp::p_OnCreate() {
    bb_app_SetUpdateRate(60);
    c_VirtualDisplay::m_new(640, 480, 1);
}

void c_MinimalApp::p_OnRender() {
    bb_autofit_UpdateVirtualDisplay(true, true);
    bb_graphics_Cls(0, 0, 170);
    bb_autofit_SetVScissor(64, 48, 512, 384);
    bb_graphics_Cls(255, 255, 255);
    bb_autofit_UnsetVScissor();
}
