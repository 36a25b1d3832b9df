// The delegate the host calls: it creates and owns the devices, forwards the frame to the
// application in a fixed order and hands every input event to the input device.
#pragma once

#include "host/bb_game.h"
#include "host/devices.h"

#include <future>
#include <memory>

class c_InputDevice;

class c_GameDelegate : public BBGameDelegate {
public:
    c_GameDelegate();
    ~c_GameDelegate() override;

    void StartGame() override;
    void SuspendGame() override;
    void ResumeGame() override;
    void UpdateGame() override;
    void RenderGame() override;
    void KeyEvent(int event, int data) override;
    void MouseEvent(int event, int data, float x, float y) override;
    void TouchEvent(int event, int data, float x, float y) override;
    void MotionEvent(int event, int data, float x, float y, float z) override;
    void DiscardGraphics() override;
    // Opens the audio device on a thread of its own, where the platform runs one beside the
    // window's making; StartGame takes it up.
    void PrepareStart() override;
    // While the application loads: waits for its loader threads and says to update now once they
    // have all come in, and once more right after that update, which delivered them.
    bool AwaitLoads(double seconds) override;

    // Null until StartGame, and for a device whose hook is not installed.
    std::unique_ptr<BBGraphicsDevice> m__graphics;
    std::unique_ptr<BBAudioDevice> m__audio;
    std::unique_ptr<c_InputDevice> m__input;

private:
    // The audio device PrepareStart is opening, until StartGame takes it.
    std::future<std::unique_ptr<BBAudioDevice>> m_audioOpening;
    bool m_loadsArrived = false; // the last early update was for loads that had just come in
};
