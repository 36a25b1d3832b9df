// The program's command-line options, read in main before the host starts: help, version, the
// display for this run, and recording or showing a game.
#pragma once

#include <cstdio>
#include <optional>
#include <string>

struct BBOptions {
    enum class Action {
        Run,     // start the game
        Help,    // print the usage and end
        Version, // print the version and end
        Runs,    // list the kept runs and end
        Mistake, // print `mistake` and the usage on standard error and end with status 2
    };
    Action action = Action::Run;
    // One line on what is wrong with the command line.
    std::string mistake;
    // --fullscreen (true) or --windowed (false): the display for this run only, never saved.
    std::optional<bool> fullScreen;
    // --record FILE and --play FILE; empty when not given.
    std::string recordFile;
    std::string playFile;
};

// Reads the arguments in order; --help, --version and --runs act where they stand, so a mistake
// after them is not reported.
BBOptions bb_options_Parse(int argc, const char* const argv[]);

// Prints what a finished action asks for (the usage, the version, or the mistake and the usage)
// and returns the program's exit status: 0, or 2 for a mistake. (The list of kept runs is the
// program's entry's to print: it reads the recordings.)
int bb_options_Report(const BBOptions& options, std::FILE* out, std::FILE* err);

// The options of this run: those main read (a plain run until it has).
extern BBOptions bb_options_current;
