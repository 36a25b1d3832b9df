// Input latency of the real frame pass: for each control, the frames from the pass whose event
// pump brings the key (or a pad's button) to the first frame that shows it. Each control is
// played in a child process from the same start (a game on the road, the walker a few steps into
// it), on a fake clock with loads waited for, so every child draws the same frames until its key
// arrives; a child without a key gives the frames the others are compared with. 1 is the floor:
// the frame drawn right after the update that read the key. The music key draws nothing, so for
// it the frame counted is the first one after the update that switched the music. Needs an X
// display.
#include <benchmark/benchmark.h>

#include "game_session.h"

#include "game/tazzle.h"
#include "host/game_session.h"
#include "host/glfw_game.h"
#include "host/host_start.h"
#include "input/joystick_ports.h"
#include "loading/thread.h"
#include "persist/settings.h"
#include "support/driven_host.h"

#include <GL/gl.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

// Passes shown after the key's pass: a control that shows nothing within them counts as -1.
constexpr int kWatchedPasses = 30;

// A raw joystick (4 axes, 16 buttons: the standard layout), with nothing held.
class QuietJoystick : public BBJoystickSource {
public:
    bool Present(int jid) override { return jid == 0; }
    const float* Axes(int jid, int* count) override {
        *count = 4;
        return Present(jid) ? axes : nullptr;
    }
    const unsigned char* Buttons(int jid, int* count) override {
        *count = 16;
        return Present(jid) ? buttons : nullptr;
    }
    float axes[4] = {};
    unsigned char buttons[16] = {};
};

// The same game in every child: loads waited for before each update, the clock counting updates.
class SteadySession : public BBGameSession {
public:
    bool BeforeUpdate() override {
        bb_thread_AwaitLoaders(std::chrono::minutes(1));
        return true;
    }
    void AfterUpdate() override { ++_updates; }
    int Clock(int /*hostMillisecs*/) override { return static_cast<int>(_updates * 1000 / 60); }

private:
    std::int64_t _updates = 0;
};

// The real frame pass on a fake clock (the tests' driven host); what each pass drew is kept as a
// hash of its pixels and the music's state, taken before the buffers are swapped.
class WatchedHost : public DrivenHost {
public:
    std::vector<std::uint64_t> frames;

protected:
    void PresentFrame() override {
        int width = 0, height = 0;
        glfwGetFramebufferSize(_window, &width, &height);
        std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 4);
        glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        // The music key draws nothing: its frame is the first after the update that switched it.
        pixels.push_back(bb_settings_gameSettings->m_musicOff ? 1 : 0);
        std::uint64_t hash = 14695981039346656037ull;
        for (unsigned char byte : pixels)
            hash = (hash ^ byte) * 1099511628211ull;
        frames.push_back(hash);
        DrivenHost::PresentFrame();
    }
};

// Where a control is measured from: the walker standing at the top of the road facing up, so
// that down, left and right each turn it; or walking down into the road, so that up turns it.
enum class Start { Standing, WalkingDown };

// A control to measure: what the pass of its event does, and what a later pass lets go of.
struct Control {
    std::string name;
    Start start;
    std::function<void(WatchedHost&, QuietJoystick&)> press;
    std::function<void(WatchedHost&, QuietJoystick&)> release;
};

Control KeyControl(const std::string& name, int glfwKey, Start start = Start::Standing) {
    return {name, start,
            [glfwKey](WatchedHost& host, QuietJoystick&) { host.Key(glfwKey, GLFW_PRESS); },
            [glfwKey](WatchedHost& host, QuietJoystick&) { host.Key(glfwKey, GLFW_RELEASE); }};
}

Control PadControl(const std::string& name, int rawButton) {
    return {name, Start::Standing,
            [rawButton](WatchedHost&, QuietJoystick& pad) {
                pad.buttons[rawButton] = kJoystickButtonPressed;
            },
            [rawButton](WatchedHost&, QuietJoystick& pad) { pad.buttons[rawButton] = 0; }};
}

bool PassUntil(WatchedHost& host, int mainState) {
    return host.PassUntil([mainState] { return bb_tazzle_mainState == mainState; });
}

void Passes(WatchedHost& host, int count) {
    for (int pass = 0; pass < count; ++pass)
        host.Pass();
}

// A tap of a key: down in one pass, up in the next, then `passes` more.
void Tap(WatchedHost& host, int glfwKey, int passes) {
    host.Pass([&] { host.Key(glfwKey, GLFW_PRESS); });
    host.Pass([&] { host.Key(glfwKey, GLFW_RELEASE); });
    Passes(host, passes);
}

// One child's frames from the control's pass on (the control's own frame first), or from the
// same pass with no control. Empty when the game did not reach the road.
std::vector<double> PlayFrames(Start start, const std::optional<Control>& control) {
    if (!bb_host_Prepare())
        return {};
    WatchedHost host;
    QuietJoystick pad;
    host.SetJoystickSource(&pad);
    SteadySession session;
    host.Start(session);
    if (!PassUntil(host, c_MainState::Title))
        return {};
    Tap(host, GLFW_KEY_ENTER, 0);
    if (!PassUntil(host, c_MainState::Road))
        return {};
    // Past the road's fade; the walker turned up, which at the top of the road keeps it still.
    Passes(host, 90);
    Tap(host, GLFW_KEY_Q, 30);
    if (start == Start::WalkingDown)
        Tap(host, GLFW_KEY_Z, 6);
    const size_t first = host.frames.size();
    host.Pass([&] {
        if (control)
            control->press(host, pad);
    });
    Passes(host, 4);
    host.Pass([&] {
        if (control)
            control->release(host, pad);
    });
    Passes(host, kWatchedPasses - 6);
    std::vector<double> frames;
    for (size_t i = first; i < host.frames.size(); ++i)
        frames.push_back(static_cast<double>(host.frames[i] >> 11)); // exact in a double
    return frames;
}

// Frames from the event to the first frame that differs from the game without it; -1 for none.
int Latency(const std::vector<double>& without, const std::vector<double>& with) {
    for (size_t i = 0; i < without.size() && i < with.size(); ++i) {
        if (without[i] != with[i])
            return static_cast<int>(i) + 1;
    }
    return -1;
}

void BM_InputLatency(benchmark::State& state) {
    const std::vector<Control> controls = {
        KeyControl("up", GLFW_KEY_Q, Start::WalkingDown),
        KeyControl("down", GLFW_KEY_Z),
        KeyControl("left", GLFW_KEY_I),
        KeyControl("right", GLFW_KEY_P),
        KeyControl("pause", GLFW_KEY_H),
        KeyControl("music", GLFW_KEY_M),
        KeyControl("escape", GLFW_KEY_ESCAPE),
        // The standard layout's raw buttons behind the game's Start (7) and D-pad down (11).
        PadControl("pad_start", 9),
        PadControl("pad_down", 14),
    };
    for (auto _ : state) {
        std::map<Start, std::vector<double>> without;
        for (Start start : {Start::Standing, Start::WalkingDown})
            without[start] = BenchRunInChild([start] { return PlayFrames(start, {}); });
        // Every child must play the same game until its key, or no comparison holds.
        const std::vector<double> again =
            BenchRunInChild([] { return PlayFrames(Start::Standing, {}); });
        if (without[Start::Standing].empty() || without[Start::Standing] != again) {
            state.SkipWithError("the game without a key did not play the same twice");
            return;
        }
        for (const Control& control : controls) {
            const std::vector<double> with =
                BenchRunInChild([&control] { return PlayFrames(control.start, control); });
            state.counters[control.name] =
                with.empty() ? -2 : Latency(without[control.start], with);
        }
    }
}
BENCHMARK(BM_InputLatency)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
