// The command line: what each option asks for, and every mistake reported in one line with
// status 2.
#include "host/options.h"

#include "runtime/version.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

BBOptions Parse(std::vector<const char*> args) {
    args.insert(args.begin(), "skiddlewick");
    return bb_options_Parse(static_cast<int>(args.size()), args.data());
}

struct Printed {
    int status = 0;
    std::string out;
    std::string err;
};

std::string Contents(std::FILE* file) {
    std::string text(static_cast<size_t>(std::ftell(file)), '\0');
    std::rewind(file);
    text.resize(std::fread(text.data(), 1, text.size(), file));
    std::fclose(file);
    return text;
}

Printed Report(const BBOptions& options) {
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    Printed printed;
    printed.status = bb_options_Report(options, out, err);
    printed.out = Contents(out);
    printed.err = Contents(err);
    return printed;
}

TEST(Options, HelpAndVersionPrintOnStandardOutputAndEndWithZero) {
    const Printed help = Report(Parse({"--windowed", "--help", "--bogus"}));
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("usage: skiddlewick [OPTION]...\n", 0), 0u) << help.out;
    EXPECT_NE(help.out.find("--record FILE"), std::string::npos);
    EXPECT_EQ(help.err, "");

    EXPECT_NE(help.out.find("--runs"), std::string::npos);
    // The list of kept runs, too, acts where it stands.
    EXPECT_EQ(Parse({"--runs", "--bogus"}).action, BBOptions::Action::Runs);

    const Printed version = Report(Parse({"--version"}));
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, std::string("skiddlewick ") + bb_version_Number + "\n");
}

TEST(Options, DisplayAndFilesAreKeptForTheRun) {
    EXPECT_EQ(Parse({}).action, BBOptions::Action::Run);
    EXPECT_FALSE(Parse({}).fullScreen.has_value());
    EXPECT_EQ(Parse({"--fullscreen"}).fullScreen, true);
    EXPECT_EQ(Parse({"--windowed", "--windowed"}).fullScreen, false);
    const BBOptions record = Parse({"--record", "a game.replay", "--fullscreen"});
    EXPECT_EQ(record.action, BBOptions::Action::Run);
    EXPECT_EQ(record.recordFile, "a game.replay");
    EXPECT_EQ(Parse({"--play=-x.replay"}).playFile, "-x.replay");
}

TEST(Options, AMistakeIsOneLineAndTheUsageOnStandardErrorWithStatusTwo) {
    const Printed unknown = Report(Parse({"--fullscreen", "--bogus"}));
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(unknown.out, "");
    EXPECT_EQ(unknown.err.rfind("skiddlewick: unknown option '--bogus'\nusage: ", 0), 0u)
        << unknown.err;

    const std::pair<std::vector<const char*>, const char*> mistakes[] = {
        {{"--record"}, "'--record' needs a file name"},
        {{"--play="}, "'--play' needs a file name"},
        {{"-f"}, "unknown option '-f'"},
        {{"game.replay"}, "unexpected argument 'game.replay'"},
        {{"--record", "a", "--play", "b"}, "'--record' and '--play' cannot be used together"},
        {{"--play", "a", "--play", "b"}, "'--play' given twice"},
        {{"--fullscreen", "--windowed"}, "'--fullscreen' and '--windowed' cannot be used together"},
    };
    for (const auto& [args, reason] : mistakes) {
        const BBOptions options = Parse(args);
        EXPECT_EQ(options.action, BBOptions::Action::Mistake) << reason;
        EXPECT_EQ(options.mistake, reason);
    }
}

} // namespace
