// The installed layout: the XDG folders the player's files go to, and which paths are the player's. (Unset,
// relative and absolute XDG folders beside a HOME: the install test's game.)
#include <gtest/gtest.h>

#include "platform/gamepaths.h"

TEST(GamePaths, XdgFoldersFallBackToHomeAndOnlyThePlayersFilesMoveIntoThem) {
    struct Case {
        const char *home, *config, *data, *state;
        bool ok;
        PlayerFolders expected;
    };
    const Case cases[] = {
        {nullptr, "/c", "/d", "/s", true, {"/c/zephyrace", "/d/zephyrace", "/s/zephyrace"}},
        {"home", "/c", nullptr, "/s", false, {}},
        {nullptr, nullptr, nullptr, nullptr, false, {}},
    };
    for (const Case& c : cases) {
        PlayerFolders f;
        ASSERT_EQ(XdgPlayerFolders(c.home, c.config, c.data, c.state, f), c.ok) << (c.home ? c.home : "no HOME");
        if (c.ok) {
            EXPECT_EQ(f.config + f.data + f.state, c.expected.config + c.expected.data + c.expected.state);
        }
    }
    const PlayerFolders f{"/c", "/d", "/s"};
    const std::pair<const char*, const char*> paths[] = {
        {"../gamesettings.txt", "/c/gamesettings.txt"},
        {"../gamecontrollerdb.txt", "/c/gamecontrollerdb.txt"},
        {"../Profiles/", "/d/Profiles/"},
        {"../ProfilesX/a.txt", "../ProfilesX/a.txt"},
        {"../Scripts/track1.txt", "../Scripts/track1.txt"},
        {"pointlight.frag", "pointlight.frag"},
        {"../gamesettings.txt.tmp", "../gamesettings.txt.tmp"},
    };
    for (const auto& [path, expected] : paths)
        EXPECT_EQ(PlayerPath(f, path), expected);
    // A source tree keeps every path as it is.
    EXPECT_EQ(MapPlayerPath("../gamesettings.txt"), "../gamesettings.txt");
}
