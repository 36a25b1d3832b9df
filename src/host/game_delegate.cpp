// c_GameDelegate: creates the devices through the installed hooks, forwards each frame to the
// application in order, and hands input events to the input device.
#include "host/game_delegate.h"

#include "host/app.h"
#include "host/file_prefetch.h"
#include "host/game_session.h"
#include "host/platform.h"
#include "input/input_device.h"

BBDeviceHooks bb_app_deviceHooks;

c_GameDelegate::c_GameDelegate() = default;

c_GameDelegate::~c_GameDelegate() {
    if (bb_input_device == m__input.get())
        bb_input_device = nullptr;
}

void c_GameDelegate::StartGame() {
    if (bb_app_deviceHooks.createGraphics)
        m__graphics = bb_app_deviceHooks.createGraphics();
    if (m_audioOpening.valid())
        m__audio = m_audioOpening.get();
    else if (bb_app_deviceHooks.createAudio)
        m__audio = bb_app_deviceHooks.createAudio();
    m__input = std::make_unique<c_InputDevice>(bb_host_JoystickPoller());
    bb_input_device = m__input.get();
    bb_app_ValidateDeviceWindow(false);
    bb_app_EnumDisplayModes();
    bb_app__app->p_OnCreate();
}

void c_GameDelegate::PrepareStart() {
    const auto createAudio = bb_app_deviceHooks.createAudio;
    if (!createAudio || m_audioOpening.valid() || !bb_platform_RunsBeside())
        return;
    auto opened = std::make_shared<std::promise<std::unique_ptr<BBAudioDevice>>>();
    std::future<std::unique_ptr<BBAudioDevice>> opening = opened->get_future();
    // Nothing else speaks to OpenAL before StartGame, which waits for the device here.
    if (bb_platform_StartDetached([opened, createAudio] { opened->set_value(createAudio()); }))
        m_audioOpening = std::move(opening);
}

void c_GameDelegate::SuspendGame() {
    bb_app__app->p_OnSuspend();
    if (m__audio)
        m__audio->Suspend();
}

void c_GameDelegate::ResumeGame() {
    if (m__audio)
        m__audio->Resume();
}

bool c_GameDelegate::AwaitLoads(double seconds) {
    const auto await = bb_app_deviceHooks.awaitPendingLoaders;
    if (!bb_app__app || !bb_app__app->IsLoading() || !await) {
        m_loadsArrived = false;
        return false;
    }
    if (await(seconds)) {
        m_loadsArrived = true;
        return true;
    }
    // Nothing was loading: the update after the one that took the loads acts on them now, but
    // an application that stays loading with nothing to wait for goes back to the schedule.
    const bool actNow = m_loadsArrived;
    m_loadsArrived = false;
    return actNow;
}

void c_GameDelegate::UpdateGame() {
    bb_app_ValidateDeviceWindow(false);
    if (m__audio)
        m__audio->Update();
    m__input->p_BeginUpdate();
    if (bb_host_session)
        bb_host_session->InputPolled();
    const bool loading = bb_app__app->IsLoading();
    bb_app__app->p_OnUpdate();
    m__input->p_EndUpdate();
    // The update that ends the loading has taken every file the start decoded ahead; what is
    // left was not asked for.
    if (loading && !bb_app__app->IsLoading())
        bb_prefetch_Drop();
}

void c_GameDelegate::RenderGame() {
    bb_app_ValidateDeviceWindow(false);
    if (!m__graphics) {
        bb_app__app->p_OnRender();
        return;
    }
    int mode = m__graphics->BeginRender();
    if (mode == 0) {
        bb_app__app->p_OnRender();
        m__graphics->EndRender();
        return;
    }
    if (bb_app_deviceHooks.beginFrame)
        bb_app_deviceHooks.beginFrame();
    if (mode == 2)
        bb_app__app->p_OnLoading();
    else
        bb_app__app->p_OnRender();
    if (bb_app_deviceHooks.endFrame)
        bb_app_deviceHooks.endFrame();
    m__graphics->EndRender();
}

void c_GameDelegate::KeyEvent(int event, int data) {
    m__input->p_KeyEvent(event, data);
    // The back and close requests end the program at once.
    if (event == BBEVENT_KEYDOWN && (data == KEY_BACK || data == KEY_CLOSE))
        bb_app_EndApp();
}

void c_GameDelegate::MouseEvent(int event, int data, float x, float y) {
    m__input->p_MouseEvent(event, data, x, y);
}

void c_GameDelegate::TouchEvent(int event, int data, float x, float y) {
    m__input->p_TouchEvent(event, data, x, y);
}

void c_GameDelegate::MotionEvent(int event, int data, float x, float y, float z) {
    m__input->p_MotionEvent(event, data, x, y, z);
}

void c_GameDelegate::DiscardGraphics() {
    if (m__graphics)
        m__graphics->DiscardGraphics();
}
