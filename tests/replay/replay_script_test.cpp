// The replay script reader: commands and arguments, comments, and the order rules, with the
// line of the first mistake in the message; and a recording's commands written back as lines.
#include "replay/replay_script.h"

#include "replay/shown_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

TEST(ReplayScript, ReadsEveryCommandWithItsArgumentAndLine) {
    const char* text = "# walk to the hut\n"
                       "state difficulty=0,music=0  \n"
                       "press 40   # down\n"
                       "\n"
                       "boot\n"
                       "newgame 4294967295\n"
                       "step 12\n"
                       "release 40\n"
                       "until 5\r\n"
                       "shot the end.png\n";
    ReplayParseResult result = ParseReplayScript(text);
    ASSERT_TRUE(result.script) << result.error;
    const std::vector<ReplayCommand> c = result.script->Commands();
    ASSERT_EQ(c.size(), 8u);
    EXPECT_EQ(c[0].op, ReplayOp::State);
    EXPECT_EQ(c[0].text, "difficulty=0,music=0");
    EXPECT_EQ(c[0].line, 2);
    EXPECT_EQ(c[1].op, ReplayOp::Press);
    EXPECT_EQ(c[1].number, 40u);
    EXPECT_EQ(c[2].op, ReplayOp::Boot);
    EXPECT_EQ(c[2].line, 5);
    EXPECT_EQ(c[3].op, ReplayOp::NewGame);
    EXPECT_EQ(c[3].number, 4294967295u);
    EXPECT_EQ(c[4].op, ReplayOp::Step);
    EXPECT_EQ(c[4].number, 12u);
    EXPECT_EQ(c[5].op, ReplayOp::Release);
    EXPECT_EQ(c[6].op, ReplayOp::Until);
    EXPECT_EQ(c[6].number, 5u);
    EXPECT_EQ(c[7].op, ReplayOp::Shot);
    EXPECT_EQ(c[7].text, "the end.png");
    EXPECT_EQ(c[7].line, 10);
    EXPECT_EQ(result.script->ShotLine(), 10);
}

TEST(ReplayScript, AnEmptyStateAndAnEmptyScriptAreAccepted) {
    ReplayParseResult empty = ParseReplayScript("");
    ASSERT_TRUE(empty.script);
    EXPECT_TRUE(empty.script->Commands().empty());
    ReplayParseResult state = ParseReplayScript("state\nboot\n");
    ASSERT_TRUE(state.script) << state.error;
    EXPECT_EQ(state.script->Commands()[0].text, "");
}

TEST(ReplayScript, ARecordingsCommandsReadBackAsTheyAreWritten) {
    const std::vector<std::string> lines = {"version 2.1",
                                            "data 0123456789abcdef",
                                            "state Difficulty=2",
                                            "start",
                                            "mouse 639 0",
                                            "clock 4496",
                                            "joy 1 0.1 -1 0 0 1e-07 1",
                                            "press 288",
                                            "joy 1 off",
                                            "step 60",
                                            "check 60 00d351e82fefc50e",
                                            "suspend",
                                            "carry 1234 2 1 - 0 97 4 -8 12 1 3",
                                            "step 1",
                                            "check 1 00d351e82fefc50e"};
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    ReplayParseResult result = ParseReplayScript(text);
    ASSERT_TRUE(result.script) << result.error;
    const std::vector<ReplayCommand> commands = result.script->Commands();
    ASSERT_EQ(commands.size(), lines.size());
    for (size_t i = 0; i < lines.size(); ++i)
        EXPECT_EQ(ReplayCommandText(commands[i]), lines[i]);
    EXPECT_EQ(commands[1].hash, 0x0123456789abcdefull);
    EXPECT_EQ(commands[6].axes->at(1), -1.0f);
    EXPECT_FALSE(commands[8].axes.has_value());
    EXPECT_EQ(commands[10].hash, 0x00d351e82fefc50eull);
    EXPECT_EQ(commands[12].carry.hiScore, 1234u);
    EXPECT_EQ(commands[12].carry.skiDamage, 2u);
    EXPECT_EQ(commands[12].carry.line, 1);
    EXPECT_EQ(commands[12].carry.pressedLine, -1);
    EXPECT_FALSE(commands[12].carry.stickReady);
}

// Whatever a stick gives, the recording keeps what the reader reads back, bit for bit.
TEST(ReplayScript, EveryStickValueARecordingKeepsReadsBackTheSame) {
    using limits = std::numeric_limits<float>;
    const float edges[] = {0.0f,
                           -0.0f,
                           1.0f,
                           -1.0f,
                           0.1f,
                           -0.33333334f,
                           1.0000001f,
                           -1.5f,
                           1e-7f,
                           limits::min(),
                           -limits::min(),
                           limits::denorm_min(),
                           -1e-40f,
                           limits::max(),
                           -limits::infinity(),
                           limits::infinity(),
                           limits::quiet_NaN(),
                           0.99999994f};
    for (const float edge : edges) {
        const float kept = ReplayStickValue(edge);
        EXPECT_FALSE(std::isnan(kept)) << edge;
        EXPECT_LE(std::fabs(kept), 1.0f) << edge;
        EXPECT_NE(std::fpclassify(kept), FP_SUBNORMAL) << edge;
        ReplayCommand joy{ReplayOp::Joy};
        joy.axes = std::array<float, 6>{kept, kept, kept, kept, kept, kept};
        const std::string line = ReplayCommandText(joy);
        ReplayParseResult read = ParseReplayScript("start\n" + line + "\n");
        ASSERT_TRUE(read.script) << line << ": " << read.error;
        const float back = read.script->Commands()[1].axes->at(5);
        EXPECT_EQ(std::memcmp(&back, &kept, sizeof back), 0) << line;
    }
    EXPECT_EQ(ReplayStickValue(limits::quiet_NaN()), 0.0f);
    EXPECT_EQ(ReplayStickValue(limits::denorm_min()), 0.0f);
    EXPECT_EQ(ReplayStickValue(-limits::infinity()), -1.0f);
    EXPECT_EQ(ReplayStickValue(1.5f), 1.0f);
    // Written by hand, a value below a float's full precision still reads.
    EXPECT_TRUE(ParseReplayScript("start\njoy 0 1e-40 0 0 0 0 0\n").script);
}

// A stranger's text is shown escaped and cut short.
TEST(ReplayScript, TextFromAScriptIsShownEscapedAndCut) {
    EXPECT_EQ(ShownText("plain 2.1"), "plain 2.1");
    EXPECT_EQ(ShownText("\x1b[31mred\\\x7f\xc3\xa9"), "\\x1b[31mred\\\\\\x7f\\xc3\\xa9");
    const std::string shown = ShownText(std::string(20000000, 'x'));
    EXPECT_EQ(shown, std::string(kShownTextLimit, 'x') + "...");
    EXPECT_EQ(ShownText(std::string(100, '\n')).size(), 15 * 4 + 3);
}

TEST(ReplayScript, ALimitPassedIsReportedWithItsLine) {
    ReplayParseResult longLine = ParseReplayScript("boot\n# " + std::string(5000, 'x') + "\n");
    EXPECT_FALSE(longLine.script);
    EXPECT_TRUE(longLine.overLimit);
    EXPECT_EQ(longLine.error, "line 2: longer than 4096 bytes, the most a line may be");
    // Two billion updates, once or in pieces, would run for days.
    ReplayParseResult steps = ParseReplayScript("boot\nstep 5000000\nstep 184000\nstep 1\n");
    EXPECT_FALSE(steps.script);
    EXPECT_TRUE(steps.overLimit);
    EXPECT_EQ(steps.error,
              "line 4: the steps come to more than 5184000 updates, the most a script may run");
    EXPECT_TRUE(ParseReplayScript("boot\nstep 5000000\nstep 184000\n").script);
}

struct BadScript {
    const char* text;
    const char* error;
};

class ReplayScriptErrors : public testing::TestWithParam<BadScript> {};

TEST_P(ReplayScriptErrors, NamesTheLineAndTheProblem) {
    ReplayParseResult result = ParseReplayScript(GetParam().text);
    EXPECT_FALSE(result.script);
    EXPECT_EQ(result.error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReplayScriptErrors,
    testing::Values(
        BadScript{"boot\njump 3\n", "line 2: unknown command 'jump'"},
        BadScript{"Boot\n", "line 1: unknown command 'Boot'"},
        BadScript{"boot\nstep\n",
                  "line 2: 'step' needs a whole number from 0 to 2147483647, not ''"},
        BadScript{"boot\nstep -1\n",
                  "line 2: 'step' needs a whole number from 0 to 2147483647, not '-1'"},
        BadScript{"boot\nstep 2x\n",
                  "line 2: 'step' needs a whole number from 0 to 2147483647, not '2x'"},
        BadScript{"boot\nstep 1 2\n",
                  "line 2: 'step' needs a whole number from 0 to 2147483647, not '1 2'"},
        BadScript{"boot\nstep 2147483648\n",
                  "line 2: 'step' needs a whole number from 0 to 2147483647, not '2147483648'"},
        BadScript{"press 0\n", "line 1: 'press' needs a whole number from 1 to 511, not '0'"},
        BadScript{"release 512\n",
                  "line 1: 'release' needs a whole number from 1 to 511, not '512'"},
        BadScript{"boot\nuntil 8\n", "line 2: 'until' needs a whole number from 0 to 7, not '8'"},
        BadScript{"boot\nnewgame 4294967296\n",
                  "line 2: 'newgame' needs a whole number from 0 to 4294967295, not "
                  "'4294967296'"},
        BadScript{"boot now\n", "line 1: 'boot' takes no argument"},
        BadScript{"boot\nshot\n", "line 2: 'shot' needs a file name"},
        BadScript{"boot\nshot   # no name\n", "line 2: 'shot' needs a file name"},
        BadScript{"boot\nshot /home/me/.profile\n",
                  "line 2: 'shot' needs a plain file name (no '/', no '..'), not "
                  "'/home/me/.profile'"},
        BadScript{"boot\nshot ..\n",
                  "line 2: 'shot' needs a plain file name (no '/', no '..'), not '..'"},
        BadScript{"boot\nshot a\tb\n",
                  "line 2: 'shot' needs a plain file name (no '/', no '..'), not 'a\\x09b'"},
        BadScript{"boot\n\x1b]0;owned\x07\n", "line 2: unknown command '\\x1b]0;owned\\x07'"},
        BadScript{"version 2.1\nstart\ndata 0123456789abcdef\n",
                  "line 3: 'data' must come first, or right after 'version'"},
        BadScript{"data 12\n", "line 1: 'data' needs a digest of 16 hexadecimal digits, not '12'"},
        BadScript{"step 1\n", "line 1: the game has not been started: 'boot' first"},
        BadScript{"newgame 5\nboot\n", "line 1: the game has not been started: 'boot' first"},
        BadScript{"until 2\n", "line 1: the game has not been started: 'boot' first"},
        BadScript{"shot a.png\n", "line 1: the game has not been started: 'boot' first"},
        BadScript{"boot\nboot\n", "line 2: 'boot' given twice"},
        BadScript{"boot\nstate x=1\n", "line 2: 'state' must come before 'boot'"},
        BadScript{"state a=1\nstate b=2\nboot\n", "line 2: 'state' given twice"},
        BadScript{"start\nversion 2.1\n", "line 2: 'version' must come first"},
        BadScript{"start\nboot\n", "line 2: 'boot' given twice"},
        BadScript{"start\ncheck 60 d351e82fefc50e5\n",
                  "line 2: 'check' needs an update number and a hash of 16 hexadecimal digits, "
                  "not '60 d351e82fefc50e5'"},
        BadScript{"start\nmouse 640 0\n",
                  "line 2: 'mouse' needs x from 0 to 639 and y from 0 to 479, not '640 0'"},
        BadScript{"start\njoy 0 1 2 3 4 5\n",
                  "line 2: 'joy' needs a port from 0 to 3 and six stick values, or the port "
                  "and 'off', not '0 1 2 3 4 5'"},
        BadScript{"suspend\n", "line 1: the game has not been started: 'boot' first"},
        BadScript{"carry 0 0 0 - 1 0 0 0 0 0 0\n",
                  "line 1: the game has not been started: 'boot' first"},
        BadScript{"boot\ncarry 0 0 0 0 1 0 0 0 0 0 0\ncarry 0 0 0 0 1 0 0 0 0 0 0\n",
                  "line 3: 'carry' given twice"},
        BadScript{"boot\ncarry 0 0 1 - 1 0 8 0 0 0 0\n",
                  "line 2: 'carry' needs a best score and a skis' state from 0 to 2147483647, a "
                  "menu line from 0 to 1, the pressed line or '-', the stick's 0 or 1, and the "
                  "road's dead timer, next state (0 to 7) and ambulance's x, the slope's timer, "
                  "bump (0 or 1) and sub-row, not '0 0 1 - 1 0 8 0 0 0 0'"}));

} // namespace
