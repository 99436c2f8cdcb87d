#include <gtest/gtest.h>

#include <sstream>

#include "data/padsettings.h"
#include "data/settings.h"
#include "platform/gamepaths.h"
#include "testutil.h"

namespace {

const char* kExample =
    "fullscreen 1\nscreenwidth 1024\nscreenheight 768\nshadows 1\nlensflare 1\naudio_volume 8\n"
    "key_forward 97\nkey_brake 122\nkey_left 100\nkey_right 102\nkey_up 101\nkey_down 103\n"
    "mouse_sensitivity 3\n";

bool LoadText(const GameTreeSandbox& sandbox, const std::string& text, GameSettings& out) {
    WriteText(sandbox.Path("gamesettings.txt"), text);
    return LoadSettingsFrom("../gamesettings.txt", out);
}

// A piece of text (the example's by default) with one part replaced.
std::string Edited(const std::string& from, const std::string& to, std::string text = kExample) {
    return text.replace(text.find(from), from.size(), to);
}

}  // namespace

// Every value lands in its field whatever the order of the lines; incomplete files are refused.
TEST(Settings, LoadInAnyOrderSaveRoundTripAFailedSaveKeepsTheOldFileRumbleStaysOnAndXdgFoldersHoldThePlayers) {
    GameTreeSandbox sandbox;
    GameSettings s;
    std::string reversed;
    std::istringstream lines(kExample);
    for (std::string line; std::getline(lines, line);)
        reversed = line + "\n" + reversed;
    ASSERT_TRUE(LoadText(sandbox, reversed, s));
    EXPECT_EQ(FormatSettings(s), kExample);
    // Missing, unknown and unreadable lines; sizes no window can have. (A word longer than any key overrunning
    // nothing: fuzz_settings', under the sanitizers.)
    for (const std::string& text : {Edited("shadows 1\n", ""), std::string(kExample) + "colour 3\n", std::string(),
                                    std::string("fullscreen x\n"), Edited("screenwidth 1024", "screenwidth 0"),
                                    Edited("screenheight 768", "screenheight -768"),
                                    Edited("screenwidth 1024", "screenwidth 2000000000")})
        EXPECT_FALSE(LoadText(sandbox, text, s)) << text.substr(0, 40);
    EXPECT_FALSE(LoadSettingsFrom("../no-such-file.txt", s));
    // The recognised pairs are counted, as the file format defines: a repeated key makes up for a missing one,
    // and the later value wins.
    ASSERT_TRUE(LoadText(sandbox, Edited("shadows 1\n", "") + "lensflare 0\n", s));
    EXPECT_EQ(s.lensFlare, 0);
    // Codes above 1000 are special keys; an unusable sensitivity still counts and falls back to the default.
    const std::string keys = Edited("key_up 101", "key_up 1101", Edited("key_down 103", "key_down 1000"));
    ASSERT_TRUE(LoadText(sandbox, Edited("mouse_sensitivity 3", "mouse_sensitivity 9", keys), s));
    EXPECT_EQ(s.keys[BINDING_UP].code, 101);
    EXPECT_TRUE(s.keys[BINDING_UP].special);
    EXPECT_EQ(s.keys[BINDING_DOWN].code, 1000);
    EXPECT_FALSE(s.keys[BINDING_DOWN].special);
    EXPECT_NE(FormatSettings(s).find("key_up 1101\n"), std::string::npos);
    EXPECT_FLOAT_EQ(s.mouseSensitivity, 1.0f);
    EXPECT_TRUE(Logged("Illegal mouse sensitivity detected. Using default."));
    s = DefaultSettings();
    s.audioVolume = 0.7f;
    s.mouseSensitivity = 1.35f;
    ASSERT_TRUE(SaveSettings(s));
    const std::string written = ReadText(sandbox.Path("gamesettings.txt"));
    EXPECT_EQ(written,
              "fullscreen 0\nscreenwidth 1024\nscreenheight 768\nshadows 1\nlensflare 1\naudio_volume 7\n"
              "key_forward 97\nkey_brake 122\nkey_left 1100\nkey_right 1102\nkey_up 1101\nkey_down 1103\n"
              "mouse_sensitivity 5\n");
    GameSettings back;
    ASSERT_TRUE(LoadSettingsFrom(kSettingsFile, back));
    EXPECT_FLOAT_EQ(back.audioVolume, 0.7f);
    EXPECT_EQ(FormatSettings(back), written);
    // No temporary file is left behind.
    EXPECT_FALSE(std::filesystem::exists(sandbox.Path("gamesettings.txt.tmp")));
    // A folder in the temporary file's place makes the next write fail, and the old file stays.
    std::filesystem::create_directory(sandbox.Path("gamesettings.txt.tmp"));
    s.shadows = 0;
    EXPECT_FALSE(SaveSettings(s));
    EXPECT_EQ(ReadText(sandbox.Path("gamesettings.txt")), written);

    // The pad's settings keep rumble on unless the file says off.
    const std::pair<const char*, int> cases[] = {
        {"rumble 0\n", 0}, {"rumble 1\n", 1}, {"rumble 0", 0}, {"rumble 2\n", 1}, {"rumble\n", 1},
        {"colour 0\nrumble 0\n", 0}, {"", 1},
    };
    for (const auto& [text, rumble] : cases) {
        WriteText(sandbox.Path("padsettings.txt"), text);
        LoadPadSettings();
        EXPECT_EQ(gPadSettings.rumble, rumble) << text;
    }
    EXPECT_EQ(CountOf(ReadText("log.txt"), "padsettings.txt line"), 3);  // rumble 2, rumble, colour

    // The installed layout: the XDG folders the player's files go to, and which paths are the player's. (Unset,
    // relative and absolute XDG folders beside a HOME: the install test's game.)
    const struct {
        const char *home, *config, *data, *state;
        bool ok;
        PlayerFolders expected;
    } layouts[] = {
        {nullptr, "/c", "/d", "/s", true, {"/c/zephyrace", "/d/zephyrace", "/s/zephyrace"}},
        {"home", "/c", nullptr, "/s", false, {}},
        {nullptr, nullptr, nullptr, nullptr, false, {}},
    };
    for (const auto& c : layouts) {
        PlayerFolders f;
        ASSERT_EQ(XdgPlayerFolders(c.home, c.config, c.data, c.state, f), c.ok) << (c.home ? c.home : "no HOME");
        EXPECT_TRUE(!c.ok || f.config + f.data + f.state == c.expected.config + c.expected.data + c.expected.state);
    }
    const PlayerFolders f{"/c", "/d", "/s"};
    const std::pair<const char*, const char*> paths[] = {
        {"../gamesettings.txt", "/c/gamesettings.txt"},
        {"../gamecontrollerdb.txt", "/c/gamecontrollerdb.txt"},
        {"../Profiles/", "/d/Profiles/"},
        {"log.txt", "/s/log.txt"},
        {"../ProfilesX/a.txt", "../ProfilesX/a.txt"},
        {"../gamesettings.txt.tmp", "../gamesettings.txt.tmp"},
    };
    for (const auto& [path, expected] : paths)  // the last two, like every game file, stay
        EXPECT_EQ(PlayerPath(f, path), expected);
    // A source tree keeps every path as it is.
    EXPECT_EQ(MapPlayerPath("../gamesettings.txt"), "../gamesettings.txt");
}
