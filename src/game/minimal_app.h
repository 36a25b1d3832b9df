// A stand-in application that opens the window and runs the loop at 60 updates a second, doing
// nothing else, until the game's own application takes its place.
#pragma once

#include "host/app.h"

class c_MinimalApp : public c_App {
public:
    void p_OnCreate() override;
};
