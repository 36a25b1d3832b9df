// The whole game as a process against a bare GLFW window that only clears and swaps at the same
// 60 Hz (bench/bare_window.cpp), measured in the same run: start-up to the first title frame,
// CPU over ten seconds of running, and peak resident memory. A single start moves by tens of
// milliseconds with whatever else the machine does, so the start-up is the median of several
// starts of each, taken in turn. Needs an X display (make bench).
#include <benchmark/benchmark.h>

#include "e2e/x11_window_support.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr double kRunSeconds = 10.0;
// Starts of each program for the start-up's median, the long run's own start among them.
constexpr int kStarts = 9;

struct ProcessCost {
    double startupMs = -1; // launch to the first frame showing the title's grey
    double cpuSeconds = 0; // user + system over the whole run
    double peakMB = 0;     // peak resident set
    // The same CPU split by thread, read just before the end: Mesa's llvmpipe rasteriser
    // threads, the main thread, and every other thread still running (audio mixer, X, GLFW).
    double rasteriserSeconds = 0;
    double mainSeconds = 0;
    double otherSeconds = 0;
};

// Adds each live thread's user + system time to the cost's rasteriser, main or other share.
void SplitByThread(pid_t pid, ProcessCost& cost) {
    const double tick = static_cast<double>(sysconf(_SC_CLK_TCK));
    const std::filesystem::path tasks = "/proc/" + std::to_string(pid) + "/task";
    std::error_code error;
    for (const auto& task : std::filesystem::directory_iterator(tasks, error)) {
        std::string name;
        std::getline(std::ifstream(task.path() / "comm"), name);
        std::string stat;
        std::getline(std::ifstream(task.path() / "stat"), stat);
        // The fields after the parenthesised name: state is the 3rd field, utime the 14th.
        std::istringstream fields(stat.substr(stat.rfind(')') + 2));
        std::string field;
        double utime = 0, stime = 0;
        for (int i = 3; i <= 15 && fields >> field; ++i) {
            if (i == 14)
                utime = std::stod(field);
            if (i == 15)
                stime = std::stod(field);
        }
        const double seconds = (utime + stime) / tick;
        if (name.rfind("llvmpipe", 0) == 0)
            cost.rasteriserSeconds += seconds;
        else if (task.path().filename() == std::to_string(pid))
            cost.mainSeconds += seconds;
        else
            cost.otherSeconds += seconds;
    }
}

double Seconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6;
}

// Runs `program` in an empty scratch folder for kRunSeconds, or only until its first frame when
// `startOnly`, then ends it and collects its cost.
ProcessCost Measure(const std::string& program, bool startOnly = false) {
    ProcessCost cost;
    TestDisplay display;
    if (!display.ok())
        return cost;
    char name[] = "/tmp/process-bench.XXXXXX";
    const std::string cwd = mkdtemp(name);
    const auto start = Clock::now();
    pid_t pid = fork();
    if (pid == 0) {
        if (chdir(cwd.c_str()) != 0)
            _exit(127);
        setenv("ALSOFT_DRIVERS", "null", 1);
        execl(program.c_str(), program.c_str(), nullptr);
        _exit(127);
    }
    const auto end = start + std::chrono::duration<double>(kRunSeconds);
    // The grey at the bottom-right corner is the title's background and the bare window's clear.
    while (Clock::now() < end && cost.startupMs < 0) {
        if (auto window = display.FindWindowOf(pid)) {
            if (display.PixelAt(window->id, 639, 479) == std::array<int, 3>{170, 170, 170})
                cost.startupMs =
                    std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    if (!startOnly)
        std::this_thread::sleep_until(end);
    SplitByThread(pid, cost);
    kill(pid, SIGKILL);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    cost.cpuSeconds = Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
    cost.peakMB = usage.ru_maxrss / 1024.0;
    std::string remove = "rm -rf '" + cwd + "'";
    (void)std::system(remove.c_str());
    return cost;
}

// The median of the starts that showed a frame; -1 when none did.
double Median(std::vector<double> starts) {
    std::erase_if(starts, [](double ms) { return ms < 0; });
    if (starts.empty())
        return -1;
    std::sort(starts.begin(), starts.end());
    const std::size_t half = starts.size() / 2;
    return starts.size() % 2 ? starts[half] : (starts[half - 1] + starts[half]) / 2;
}

void BM_GameAgainstBareWindow(benchmark::State& state) {
    ProcessCost game, bare;
    std::vector<double> gameStarts, bareStarts;
    for (auto _ : state) {
        bare = Measure(SKIDDLEWICK_BARE_WINDOW);
        game = Measure(SKIDDLEWICK_BINARY);
        bareStarts = {bare.startupMs};
        gameStarts = {game.startupMs};
        for (int i = 1; i < kStarts; ++i) {
            bareStarts.push_back(Measure(SKIDDLEWICK_BARE_WINDOW, true).startupMs);
            gameStarts.push_back(Measure(SKIDDLEWICK_BINARY, true).startupMs);
        }
    }
    const double gameStart = Median(gameStarts);
    const double bareStart = Median(bareStarts);
    if (gameStart < 0 || bareStart < 0) {
        state.SkipWithError("no window showed its first frame (is there a display?)");
        return;
    }
    state.counters["startup_game_ms"] = gameStart;
    state.counters["startup_bare_ms"] = bareStart;
    state.counters["startup_ratio(goal<=1.3)"] = gameStart / bareStart;
    state.counters["cpu_game_s"] = game.cpuSeconds;
    state.counters["cpu_bare_s"] = bare.cpuSeconds;
    state.counters["cpu_ratio(goal<=3)"] = game.cpuSeconds / bare.cpuSeconds;
    state.counters["cpu_game_rasteriser_s"] = game.rasteriserSeconds;
    state.counters["cpu_game_main_s"] = game.mainSeconds;
    state.counters["cpu_game_other_s"] = game.otherSeconds;
    state.counters["cpu_bare_rasteriser_s"] = bare.rasteriserSeconds;
    state.counters["cpu_bare_main_s"] = bare.mainSeconds;
    state.counters["cpu_bare_other_s"] = bare.otherSeconds;
    // Without Mesa's rasteriser threads: what the game's own code costs against the floor's.
    state.counters["cpu_ratio_without_rasteriser"] =
        (game.cpuSeconds - game.rasteriserSeconds) / (bare.cpuSeconds - bare.rasteriserSeconds);
    state.counters["peak_game_MB"] = game.peakMB;
    state.counters["peak_bare_MB"] = bare.peakMB;
    state.counters["peak_ratio(goal<=1.3)"] = game.peakMB / bare.peakMB;
}
BENCHMARK(BM_GameAgainstBareWindow)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

BENCHMARK_MAIN();
