// The game's application object: the top-level state machine (init, loading, title, road, ski,
// no money, options, redefine keys), the global pause, music and full-screen keys, and the
// flashing-text clock.
#pragma once

#include <memory>

#include "game/tazzle.h"
#include "host/app.h"

class c_TazzleApp : public c_App {
public:
    c_TazzleApp();
    ~c_TazzleApp() override;

    // Creates the virtual display, loads the settings and applies them.
    void p_OnCreate() override;
    // Losing focus pauses the game; nothing unpauses it but the pause key.
    void p_OnSuspend() override;
    void p_OnUpdate() override;
    void p_OnRender() override;
    bool IsLoading() const override;

private:
    void CreateScreens();
    void UpdateLoading();
    void UpdateGlobalKeys();

    // The owners of the screens that bb_tazzle_*Screen point to.
    std::unique_ptr<c_TitleScreen> m_titleScreen;
    std::unique_ptr<c_RoadScreen> m_roadScreen;
    std::unique_ptr<c_SkiScreen> m_skiScreen;
    std::unique_ptr<c_NoMoneyScreen> m_noMoneyScreen;
    std::unique_ptr<c_OptionsScreen> m_optionsScreen;
    std::unique_ptr<c_RedefineKeysScreen> m_redefineKeysScreen;
};
