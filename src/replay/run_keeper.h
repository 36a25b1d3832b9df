// Every game kept as a recording, without being asked: from START GAME until the title comes back
// or the program ends, in a new file of the runs folder (run_folder.h). The recorder notes every
// update's input as always, but holds it back until the update has run; only when START GAME was
// chosen in it does the file begin, with what the game carried into that update put back by the
// recording itself (the settings, the input already held, and a `carry` of the best score, the
// skis and the title menu), so that the file replays in sync from a fresh start of the game. The
// updates and checks count from that update on. A run ends with a summary comment (score, level,
// updates) for the list of kept runs, also when a signal ends it.
#pragma once

#include "replay/replay_recorder.h"

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

class RunKeeper : public ReplayRecorder {
public:
    // Keeps runs in `folder` (made when the first run begins); `keep` of them, the newest.
    explicit RunKeeper(std::string folder, int keep = 20);
    ~RunKeeper() override;

    bool BeforeUpdate() override;
    void AfterUpdate() override;
    void Close() override;
    // The player did not ask for these files: losing one never fails the program.
    int ExitStatus(int status) const override { return status; }

    // The most input commands held back for one update; past it that update cannot begin a run.
    static constexpr size_t kHeldLimit = 4096;

protected:
    void Put(const ReplayCommand& command) override;
    void Begin() override {}
    int Summary(char* text, size_t size) const override;
    void ReportStop(int error, std::int64_t update) const override;

private:
    // The title's menu as it stood before an update, and what a game carries into the next.
    struct Carried {
        bool menu = false; // the title's menu was taking input
        std::string settings;
        ReplayCarry carry;
    };

    // Whether the update just run chose START GAME on the title's menu.
    bool StartGameChosen() const;
    bool TitleIsBack() const;
    // Opens the run's file and writes the prologue and the held update; false when it cannot.
    bool BeginRun();
    // The lines after the heading: when, the settings, the input held, the carried state.
    std::vector<std::string> Prologue(std::time_t started) const;
    void EndRun();
    // The held input of an update that began no run, applied to what the game holds.
    void ForgetHeld();
    void ApplyHeld();
    // A command, as a replay would take it, applied to what the game holds.
    void Apply(const ReplayCommand& command);
    // Tells on standard error why keeping stops, and stops it.
    void GiveUp(const std::string& why);

    std::string _folder;
    int _keep;
    bool _keeping = false;
    bool _givenUp = false;
    bool _heldOverflow = false;
    std::vector<ReplayCommand> _held;
    std::optional<std::uint64_t> _digest;
    Carried _before;
    // The input the game holds once every update before the held one is replayed: what a replay
    // has after the prologue's `press`, `joy` and `mouse`.
    std::vector<bool> _keys;
    ReplayJoysticks _joysticks{};
    std::pair<int, int> _pointer{0, 0};
};
