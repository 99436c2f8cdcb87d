#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "data/trackscript.h"
#include "testutil.h"
#include "trackscriptwriter.h"

namespace {

// Parses text as a script file of the game tree; the sandbox's log.txt collects the messages.
class TrackScriptTest : public ::testing::Test {
protected:
    TrackScriptTest() {
        WriteText(sandbox.Path("Scripts/rec1.txt"),
                  "TIME 0 POS 1 2 3 HEAD 4 AZM 5 TILT 6\nTIME 1 POS 3 2 1 HEAD 0 AZM 0 TILT 0\n");
    }
    void Parse(const std::string& text) {
        WriteText(sandbox.Path("Scripts/track1.txt"), text);
        LoadTrackSettings("../Scripts/track1.txt", s);
    }

    GameTreeSandbox sandbox;
    TrackSettings s;
};

// A script in the very form the writer gives it, so a record read from it is written back as the same text.
const char* kFullScript =
    "TITLE Canyon Run\n"
    "VEHICLE 2\n"
    "TRACK ..\\Models\\canyon.ms3d\n"
    "SKY ../Models/sky.ms3d\n"
    "AMBIENTLIGHT 0.100000 0.200000 0.300000\n"
    "SUN 10.000000 200.000000 -30.000000\n"
    "BEGINLIGHT\n"
    "POSITION 1.000000 2.000000 3.000000\n"
    "COLOR 0.900000 0.800000 0.700000\n"
    "RANGE 25.000000\n"
    "SHADOWSENABLED 0\n"
    "ENDLIGHT\n"
    "BEGINFOG\n"
    "COLOR 0.400000 0.500000 0.600000\n"
    "DENSITY 0.020000\n"
    "ENDFOG\n"
    "TIMEGOLD 60.000000\n"
    "TIMESILVER 75.500000\n"
    "TIMEBRONZE 90.000000\n"
    "CASHGOLD 3000\n"
    "CASHSILVER 2000\n"
    "CASHBRONZE 1000\n"
    "GOALZONE -5.000000 5.000000 0.000000 10.000000 400.000000 420.000000\n"
    "STARTANIMATION\n"
    "VEHICLESCRIPT ../Scripts/rec1.txt\n"
    "POSITION 4.000000 5.000000 6.000000\n"
    "HEADING 45.000000\n"
    "CAMPOSITION 7.000000 8.000000 9.000000\n"
    "CAMHEADING 90.000000\n"
    "CAMPITCH -10.000000\n"
    "AT 0.000000 DO THRUSTON\n"
    "AT 9.000000 DO STOP\n"
    "STOPANIMATION\n";

// Every action once, in the order of the action codes (not of their times).
const char* kEveryAction =
    "STARTANIMATION\n"
    "AT -2 DO THRUSTON\nAT 1 DO THRUSTOFF\nAT 1 DO BRAKESON\nAT 1 DO BRAKESOFF\n"
    "AT 1 DO SETSPEED 20\nAT 1 DO SETPOSITION 1 2 3\nAT 1 DO SETHEADING 30\n"
    "FROM 1 TO 3 DO CHANGEHEADING 90\nFROM 1 TO 3 DO CHANGECAMHEADING 91\nFROM 1 TO 3 DO CHANGEPITCH 92\n"
    "FROM 1 TO 3 DO CHANGECAMPITCH 93\nFROM 1 TO 3 DO CHANGECAMSPEED 94\nAT 1 DO SETCAMPOSITION 4 5 6\n"
    "AT 1 DO SETCAMSPEED 7\nAT -1 DO SHOWTEXT 100 200 0 Get_ready\nAT 2 DO SHOWTITLE 0.1 0.2 0.3 Canyon\n"
    "AT 4 DO ROLLTEXT The_end\nFROM 0 TO 4 DO FADEMUSIC\nFROM 0 TO 10 DO CIRCLEY 5 6 360\nAT 12 DO STOP\n"
    "STOPANIMATION\n";

}  // namespace

// A new script clears some fields and keeps the others.
TEST_F(TrackScriptTest, EveryKeywordSetsItsFieldANewScriptClearsSomeAndEveryActionHasItsForm) {
    Parse(kFullScript);
    EXPECT_EQ(LogText(), "");
    std::string text, error;
    ASSERT_TRUE(FormatTrackScript(s, text, error)) << error;
    EXPECT_EQ(text, kFullScript);  // the writer is written apart from the parser: every value is in its field
    // What the lines do not spell out. (Every light's alpha of 1 is fuzz_trackscript's.)
    EXPECT_TRUE(s.hasSun);
    EXPECT_TRUE(s.sun.castsShadows);
    ASSERT_EQ(s.vehicleRecording.samples.size(), 2u);
    EXPECT_FLOAT_EQ(s.vehicleRecording.samples[1].x, 3.0f);

    Parse("VEHICLE 1\n");
    // Lights, animation, the sun and vehicle script flags go; positions, fog values, goal, cash and the
    // recording stay.
    EXPECT_EQ(std::vector<bool>({s.hasSun, s.hasVehicleScript, s.lights.empty(), s.animationCommands.empty()}),
              std::vector<bool>({false, false, true, true}));
    EXPECT_EQ(std::vector<float>({s.ambientColor[0], s.bronzeTime, s.camStartPosition[0], s.fogDensity, s.goalMax[2]}),
              std::vector<float>({0.5f, 0.0f, 7.0f, 0.02f, 420.0f}));
    EXPECT_EQ(s.goldCash, 3000);
    EXPECT_EQ(s.vehicleRecording.samples.size(), 2u);
    // The title buffer is zero-filled, not just terminated.
    for (char c : s.title)
        EXPECT_EQ(c, '\0');
    // A missing file clears the same way and says so once.
    LoadTrackSettings("../Scripts/track99.txt", s);
    EXPECT_EQ(LogText(), "Failed to load ../Scripts/track99.txt\n");
    EXPECT_EQ(s.trackModel[0], '\0');

    // Every action in its form.
    Parse(kEveryAction);
    ASSERT_EQ(s.animationCommands.size(), size_t(NUM_ACTIONS));
    for (int i = 0; i < NUM_ACTIONS; ++i) {
        const AnimationCommand& c = s.animationCommands[i];
        EXPECT_EQ(c.action, i);  // kept in file order
        EXPECT_FLOAT_EQ(c.duration, c.end - c.start);
        EXPECT_EQ(c.text.empty(), !FormOfAction(i).caption) << ActionName(i);
    }
    // An "AT" before the start ends at 0; a caption runs its fixed length, even from before the start,
    // and underscores in its text are spaces.
    const auto& c = s.animationCommands;
    EXPECT_FLOAT_EQ(c[ACTION_THRUSTON].end, 0.0f);
    EXPECT_FLOAT_EQ(c[ACTION_SETPOSITION].y, 2.0f);
    EXPECT_FLOAT_EQ(c[ACTION_CHANGECAMPITCH].value, 93.0f);
    EXPECT_FLOAT_EQ(c[ACTION_SHOWTEXT].end, 5.0f);
    EXPECT_EQ(c[ACTION_SHOWTEXT].text, "Get ready");
    EXPECT_FLOAT_EQ(c[ACTION_CIRCLEY].z, 360.0f);
    // A caption without text cannot be written. (That what is written parses back to the same text is
    // fuzz_trackscript's.)
    AddCaption(s, 1, ACTION_SHOWTEXT, "");
    EXPECT_FALSE(FormatTrackScript(s, text, error));
}

// Light blocks, and odd and bad lines: each is logged as told and skipped, or cut to fit, and the parse goes on
// after it.
TEST_F(TrackScriptTest, LightsAndOddAndBadLinesAreLoggedAndSkippedOrCutToFit) {
    using Holds = bool (*)(const TrackSettings&);
    const std::string title(294, 'x'), caption(64, 'c'), rolled(63, 'r');
    const struct {
        std::string text;
        std::vector<std::string> logged;  // none: nothing is logged
        Holds holds;
    } cases[] = {
        // The sun and the light blocks are numbered together; a light block starts at the origin, white, range 0.
        {"BEGINLIGHT\nENDLIGHT\nSUN 1 2 3\nBEGINLIGHT\nPOSITION 4 5 6\nENDLIGHT\n", {},
         [](const TrackSettings& s) {
             return s.lights.size() == 3 && s.lights[0].index == 0 && s.lights[1].index == 1 &&
                    s.lights[2].index == 2 && s.lights[0].type == LIGHT_POINT && s.lights[1].type == LIGHT_SUN &&
                    s.sun.index == 1 &&
                    s.lights[0].position[0] == 0 && s.lights[0].color[1] == 1 && s.lights[0].range == 0 &&
                    s.lights[0].castsShadows;
         }},
        {"TITLE Canyon Run", {}, [](const TrackSettings& s) { return !strcmp(s.title, " Canyon Ru"); }},  // last letter goes
        {"TITLE\n", {}, [](const TrackSettings& s) { return !strcmp(s.title, ""); }},
        // CR LF line ends, as every game file's reader reads them.
        {"TITLE Dusk\r\n", {}, [](const TrackSettings& s) { return !strcmp(s.title, " Dusk"); }},
        {"GOALZONE 0 10 20 30\n", {},  // four numbers: x and z, y unbounded
         [](const TrackSettings& s) {
             return s.goalMin[0] == 0 && s.goalMax[0] == 10 && s.goalMin[1] == -100000 && s.goalMax[1] == 100000 &&
                    s.goalMin[2] == 20 && s.goalMax[2] == 30;
         }},
        {"\nSUN 1 2\nFOO\nBEGINFOG\nCOLOR 1\nENDFOG\nBEGINLIGHT\nRANGE\nENDLIGHT\n"
         "STARTANIMATION\nPOSITION 1 2\nAT DO STOP\nSTOPANIMATION\nVEHICLE 3\n",
         {"Illegal command \n",  // a blank line is a bad line
          "Illegal command SUN 1 2\n", "Illegal command FOO\n", "Illegal fog parameter COLOR 1\n",
          "Illegal light parameter RANGE\n", "Illegal track settings animation command: POSITION 1 2\n",
          "Illegal track settings animation command: AT DO STOP\n"},
         [](const TrackSettings& s) { return !s.hasSun && s.lights.size() == 1 && s.requiredVehicle == 3; }},
        // Block keywords must end their line; without a newline after ENDFOG the block is still open.
        {"BEGINFOG \n", {"Illegal command BEGINFOG \n"}, [](const TrackSettings& s) { return !s.fogEnabled; }},
        {"BEGINFOG\nDENSITY 0.5\nENDFOG", {"Illegal fog parameter ENDFOG", "Unterminated fog block"},
         [](const TrackSettings& s) { return s.fogEnabled; }},
        {"STARTANIMATION\n"
         "FROM 5 TO 2 DO CHANGEPITCH 10\n"     // ends before it starts
         "FROM 5 TO 2 DO SETSPEED 10\n"        // both messages
         "FROM 0 TO 4 DO FADEMUSIC 5\n"        // one number where none belongs
         "FROM 0 TO 4 DO CHANGEPITCH 1 2 3\n"  // the three-number form wins and does not fit
         "AT 1 DO SETSPEED\n"                  // value missing
         "AT 1 DO SHOWTEXT 1 2 3\n"            // text missing
         "AT 1 DO JUMP\n"
         "AT 1 DO THRUSTON 5\n"
         "STOPANIMATION\n",
         {"Command 'FROM 5 TO 2 DO CHANGEPITCH 10\n' has endtime earlier than starttime",
          "Command 'FROM 5 TO 2 DO SETSPEED 10\n' has endtime earlier than starttime\n"
          "Illegal animation action or illegal parameters. Action: SETSPEED\n",
          "Action: FADEMUSIC\n", "Action: CHANGEPITCH\n", "Action: SHOWTEXT\n", "Action: JUMP\n", "Action: THRUSTON\n"},
         [](const TrackSettings& s) { return s.animationCommands.empty(); }},
        // A 300-character line is read as its first 254 characters and then the rest.
        {"TITLE " + title + "\nVEHICLE 3\n", {"Illegal command " + std::string(46, 'x') + "\n"},
         [](const TrackSettings& s) { return strlen(s.title) == 254 - 6 && s.requiredVehicle == 3; }},
        {"STARTANIMATION\nAT 1 DO SHOWTEXT 0 0 0 " + caption + "\nAT 1 DO ROLLTEXT " + rolled + "\nSTOPANIMATION\n",
         {"Caption text longer than 63 characters"},
         [](const TrackSettings& s) { return s.animationCommands.size() == 1 && s.animationCommands[0].text.size() == 63; }},
        {"TRACK " + std::string(240, 'p') + "\n", {}, [](const TrackSettings& s) { return strlen(s.trackModel) == 240; }},
        {"CASHGOLD 99999999999999999999\nCASHBRONZE -99999999999\nVEHICLE 12\nSTARTANIMATION\nAT 1 DO STOP\n",
         {"Unterminated animation block in ../Scripts/track1.txt"},  // what was read before the missing end stays
         [](const TrackSettings& s) {
             return s.goldCash == INT32_MAX && s.bronzeCash == INT32_MIN && s.animationCommands.size() == 1;
         }},
        {"BEGINLIGHT\nPOSITION 1 1 1\n", {"Unterminated light block"},  // never closed, never added
         [](const TrackSettings& s) { return s.lights.empty(); }},
        {"STARTANIMATION\nVEHICLESCRIPT /dev/zero\nSTOPANIMATION\n", {"Vehicle script /dev/zero is not a file"},
         [](const TrackSettings& s) { return s.vehicleRecording.samples.empty(); }},  // never read
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 40));
        ClearLog();
        Parse(c.text);
        const std::string log = LogText();
        EXPECT_EQ(log.empty(), c.logged.empty()) << log;
        for (const std::string& line : c.logged)
            EXPECT_NE(log.find(line), std::string::npos) << line;
        EXPECT_TRUE(c.holds(s));
    }
}
