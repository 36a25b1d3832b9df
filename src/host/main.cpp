// Program entry: reads the options, opens the recording or showing they ask for, then hands the
// arguments to the host, which runs the game.
#include "host/game_entry.h"
#include "host/game_session.h"
#include "host/options.h"
#include "host/zibbet_game.h"

#include <cstdio>

int main(int argc, char* argv[]) {
    const BBOptions options = bb_options_Parse(argc, argv);
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
    BBZibbetGame::Main(argc, argv);
    return 0;
}
