// Program entry: reads the options, lists the kept runs or opens the recording or showing they ask
// for, then starts the game and runs its frame loop. The one file that may know every tier: it
// hands the session from the recordings above to the host below.
#include "game/game_start.h"
#include "host/app.h"
#include "host/errors.h"
#include "host/game_session.h"
#include "host/options.h"
#include "host/platform.h"
#include "host/zibbet_game.h"
#include "persist/settings.h"
#include "replay/open_session.h"
#include "replay/run_list.h"

#include <cstdio>

int main(int argc, char* argv[]) {
    const BBOptions options = bb_options_Parse(argc, argv);
    if (options.action == BBOptions::Action::Runs)
        return ListKeptRuns(bb_utf8_Encode(bb_platform_RunsFolder()), stdout);
    if (options.action != BBOptions::Action::Run)
        return bb_options_Report(options, stdout, stderr);
    bb_options_current = options;
    std::string error;
    int status = 0;
    const std::unique_ptr<BBGameSession> session = bbOpenSession(options, error, status);
    if (!error.empty()) {
        std::fprintf(stderr, "skiddlewick: %s\n", error.c_str());
        return status;
    }
    bb_host_session = session.get();
    const std::unique_ptr<BBZibbetGame> game = bb_gamestart_Start<BBZibbetGame>(error);
    if (!game) {
        bb_runtime_PrintLine(error);
        bb_host_Exit(-1);
    }
    game->SetFirstWindow(bb_settings_FirstWindow());
    game->Run();
    // Leaving the loop ends the program as quitting does: a loader thread may still be reading
    // through the host and into the devices, so nothing is torn down under it.
    bb_app_EndApp();
}
