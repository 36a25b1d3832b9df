// bbOpenSession: the recorder for --record, the viewer for --play, each checked before the game
// starts so that a file that cannot be used is a message, not a lost run; and in play, the keeper
// of every game.
#include "replay/open_session.h"

#include "host/platform.h"
#include "replay/replay_file.h"
#include "replay/replay_recorder.h"
#include "replay/replay_viewer.h"
#include "replay/run_keeper.h"
#include "replay/run_link.h"
#include "replay/session_pair.h"

#include <cstdio>

namespace {

std::unique_ptr<ReplayRecorder> Keeper() {
    return std::make_unique<RunKeeper>(bb_utf8_Encode(bb_platform_RunsFolder()));
}

// The script --play names: a file, or a link that holds it.
ReplayParseResult ReadShown(const std::string& argument) {
    if (IsRunLink(argument))
        return ParseReplayFile(DecodeRunLink(argument), kRunLinkName);
    return ParseReplayFile(ReadReplayFile(argument), argument);
}

} // namespace

std::unique_ptr<BBGameSession> bbOpenSession(const BBOptions& options, std::string& error,
                                             int& status) {
    if (!options.recordFile.empty()) {
        std::unique_ptr<ReplayRecorder> recorder = ReplayRecorder::Open(options.recordFile, error);
        status = 1;
        if (!recorder)
            return nullptr;
        return std::make_unique<SessionPair>(std::move(recorder), Keeper());
    }
    if (options.playFile.empty())
        return Keeper();
    status = 2;
    ReplayParseResult parsed = ReadShown(options.playFile);
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
