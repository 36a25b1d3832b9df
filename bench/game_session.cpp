// The in-process game benchmarks' shared pieces: scratch folder, child processes, CPU clocks and
// the stepped game.
#include "game_session.h"

#include "replay_host.h"

#include "replay/replay_runner.h"

#include "game/game_start.h"
#include "game/tazzle.h"
#include "graphics/graphics.h"
#include "host/app.h"
#include "host/game_session.h"
#include "input/key_codes.h"
#include "loading/title_images.h"
#include "road/road_screen.h"

#include <GLFW/glfw3.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kBusiestLevel = 5;
constexpr int kMostCars = 20;
constexpr int kFadeInFrames = 60;

double CpuSeconds(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

bool WriteAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t n = write(fd, data, size);
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

} // namespace

void BenchPrepareGameFolder() {
    setenv("ALSOFT_DRIVERS", "null", 1);
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe");
    const std::filesystem::path link = exe.parent_path() / "data";
    std::error_code error;
    if (!std::filesystem::exists(link, error))
        std::filesystem::create_directory_symlink(SKIDDLEWICK_DATA_DIR, link, error);
    std::string pattern =
        (std::filesystem::temp_directory_path() / "skiddlewick-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    std::filesystem::current_path(pattern);
}

std::vector<double> BenchRunInChild(const std::function<std::vector<double>()>& measure) {
    int fds[2];
    if (pipe(fds) != 0)
        return {};
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        const std::filesystem::path folder = std::filesystem::current_path();
        BenchPrepareGameFolder();
        const std::vector<double> values = measure();
        const bool written = WriteAll(fds[1], reinterpret_cast<const char*>(values.data()),
                                      values.size() * sizeof(double));
        std::error_code error;
        std::filesystem::remove_all(std::filesystem::current_path(), error);
        std::fflush(nullptr);
        // The game's threads and globals are left as they are: the process ends here.
        std::_Exit(written ? 0 : 1);
    }
    close(fds[1]);
    std::vector<char> bytes;
    char buffer[4096];
    for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;)
        bytes.insert(bytes.end(), buffer, buffer + n);
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return {};
    std::vector<double> values(bytes.size() / sizeof(double));
    std::copy(bytes.begin(), bytes.begin() + static_cast<long>(values.size() * sizeof(double)),
              reinterpret_cast<char*>(values.data()));
    return values;
}

double BenchProcessCpuSeconds() {
    return CpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
}

double BenchThreadCpuSeconds() {
    return CpuSeconds(CLOCK_THREAD_CPUTIME_ID);
}

BenchGame::BenchGame(const std::string& state, DeviceFactory makeDevice) {
    // The replay tool's session with no commands: the state file in memory, a clock that counts
    // updates, and loads waited for before each update.
    _session = std::make_unique<ReplayRunner>(*ParseReplayScript("state " + state).script);
    bb_host_session = _session.get();
    std::string error;
    _host = bb_gamestart_Start<ReplayHost>(error);
    if (!_host)
        throw std::runtime_error(error);
    if (makeDevice)
        bb_app_deviceHooks.createGraphics = makeDevice;
    _host->Open();
}

BenchGame::~BenchGame() {
    bb_host_session = nullptr;
}

bool BenchGame::ReachTitle() {
    return FramesUntil([] {
        return bb_tazzle_mainState == c_MainState::Title &&
               bb_titlegraphics_titleImages->p_IsLoaded();
    });
}

void BenchGame::Update() {
    _host->UpdateGame();
}

void BenchGame::Draw() {
    _host->RenderGame();
}

void BenchGame::Show() {
    glfwSwapBuffers(_host->GetGLFWwindow());
}

bool BenchGame::FramesUntil(const std::function<bool()>& condition, int limit) {
    for (int i = 0; i < limit; ++i) {
        if (condition())
            return true;
        Frame();
    }
    return condition();
}

void BenchGame::KeyDown(int code) {
    _host->KeyEvent(BBEVENT_KEYDOWN, code);
}

void BenchGame::KeyUp(int code) {
    _host->KeyEvent(BBEVENT_KEYUP, code);
}

void BenchGame::Tap(int code) {
    KeyDown(code);
    KeyUp(code);
}

bool BenchGame::StartGameToRoad() {
    Tap(KEY_ENTER);
    return FramesUntil([] { return bb_tazzle_mainState == c_MainState::Road; });
}

const gxtkFrameStats& BenchGame::Stats() const {
    return bb_graphics_device->Stats();
}

bool BenchGoToBusiestRoad(BenchGame& game) {
    if (!game.ReachTitle() || !game.StartGameToRoad())
        return false;
    bb_tazzle_level = kBusiestLevel;
    bb_tazzle_roadScreen->m_maxCars = kMostCars;
    return game.FramesUntil(
        [] { return static_cast<int>(bb_tazzle_roadScreen->m_cars.size()) >= kMostCars; });
}

bool BenchGoToBusiestSlope(BenchGame& game) {
    bb_tazzle_gotSkis = true;
    if (!game.FramesUntil([] { return bb_tazzle_mainState == c_MainState::Ski; }, 600))
        return false;
    for (int i = 0; i < kFadeInFrames; ++i)
        game.Frame();
    return true;
}
