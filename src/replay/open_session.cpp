// bbOpenSession: the recorder for --record, the viewer for --play, each checked before the game
// starts so that a file that cannot be used is a message, not a lost run.
#include "replay/open_session.h"

#include "replay/replay_file.h"
#include "replay/replay_recorder.h"
#include "replay/replay_viewer.h"

#include <cstdio>

std::unique_ptr<BBGameSession> bbOpenSession(const BBOptions& options, std::string& error,
                                             int& status) {
    if (!options.recordFile.empty()) {
        std::unique_ptr<ReplayRecorder> recorder = ReplayRecorder::Open(options.recordFile, error);
        status = 1;
        return recorder;
    }
    if (options.playFile.empty())
        return nullptr;
    status = 2;
    ReplayParseResult parsed = ParseReplayFile(ReadReplayFile(options.playFile), options.playFile);
    if (!parsed.script) {
        error = parsed.error;
        return nullptr;
    }
    // Showing a game writes nothing.
    if (const int line = parsed.script->ShotLine(); line != 0) {
        error = "line " + std::to_string(line) + ": --play does not take 'shot'";
        return nullptr;
    }
    auto viewer = std::make_unique<ReplayViewer>(std::move(*parsed.script));
    if (std::string warning = viewer->VersionWarning(); !warning.empty())
        std::fprintf(stderr, "skiddlewick: %s\n", warning.c_str());
    return viewer;
}
