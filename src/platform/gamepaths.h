#pragma once

#include <string>

// Where the game's files are. Run from a source tree's game/bin, every path means what it says, relative to
// the working folder. Installed (the binary in <root>/games beside <root>/share/games/zephyrace), the game
// works in the read-only content folder's bin/ and the player's own files live in the XDG base folders:
// the settings files in $XDG_CONFIG_HOME/zephyrace, "../Profiles/" in $XDG_DATA_HOME/zephyrace and
// "log.txt" in $XDG_STATE_HOME/zephyrace. The binary's own place tells the layouts apart: the same build
// serves both, and a package extracted under any root still finds its content.

struct PlayerFolders {
    std::string config;
    std::string data;
    std::string state;
};

// The three zephyrace folders for an environment (null: unset); a relative value is ignored as unset.
// False when no absolute HOME is there to fall back on.
bool XdgPlayerFolders(const char* home, const char* configHome, const char* dataHome, const char* stateHome,
                      PlayerFolders& folders);

// The installed layout's content folder for the binary at exePath ("<root>/games/zephyrace" gives
// "<root>/share/games/zephyrace" when its bin/ is there); empty for a source tree.
std::string InstalledContentFolder(const std::string& exePath);

// Picks the layout from /proc/self/exe. Installed, it enters the content folder's bin/ and makes the player's
// folders; false, with one line on stderr, when one cannot be made or written.
bool SetUpGameFolders();
bool GameInstalled();

// A path as the game names it, mapped into the player's folders when installed (unchanged in a source tree).
std::string MapPlayerPath(const std::string& path);
// The same mapping into the given folders: the player's files there, everything else unchanged.
std::string PlayerPath(const PlayerFolders& folders, const std::string& path);
