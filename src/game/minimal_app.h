// A stand-in application that opens the window, runs the loop at 60 updates a second and draws an
// empty play area in the virtual screen, until the game's own application takes its place.
#pragma once

#include "host/app.h"

class c_MinimalApp : public c_App {
public:
    void p_OnCreate() override;
    void p_OnRender() override;
};
