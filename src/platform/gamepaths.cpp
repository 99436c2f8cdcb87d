#include "platform/gamepaths.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "app/log.h"

namespace fs = std::filesystem;

namespace {

bool gInstalled = false;
PlayerFolders gFolders;

// The player's files beside the settings file, as the game names them.
const char* const kConfigFiles[] = {"../gamesettings.txt", "../padsettings.txt", "../gamecontrollerdb.txt"};
const std::string kProfiles = "../Profiles";

bool Absolute(const char* path) {
    return path && path[0] == '/';
}

// The XDG base folders may not exist yet; a folder the game makes is the player's alone.
bool MakeWritableFolder(const std::string& folder) {
    for (size_t at = folder.find('/', 1);; at = folder.find('/', at + 1)) {
        const std::string part = folder.substr(0, at);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            fprintf(stderr, "Zephyrace cannot start: the folder %s cannot be made (%s)\n", part.c_str(),
                    strerror(errno));
            return false;
        }
        if (at == std::string::npos)
            break;
    }
    std::error_code ec;
    if (!fs::is_directory(folder, ec) || access(folder.c_str(), W_OK | X_OK) != 0) {
        fprintf(stderr, "Zephyrace cannot start: the folder %s cannot be written (%s)\n", folder.c_str(),
                ec ? ec.message().c_str() : strerror(errno));
        return false;
    }
    return true;
}

}  // namespace

bool XdgPlayerFolders(const char* home, const char* configHome, const char* dataHome, const char* stateHome,
                      PlayerFolders& folders) {
    const char* const values[] = {configHome, dataHome, stateHome};
    const char* const defaults[] = {"/.config", "/.local/share", "/.local/state"};
    std::string* const out[] = {&folders.config, &folders.data, &folders.state};
    for (int i = 0; i < 3; ++i) {
        if (Absolute(values[i]))
            *out[i] = values[i];
        else if (Absolute(home))
            *out[i] = std::string(home) + defaults[i];
        else
            return false;
        *out[i] += "/zephyrace";
    }
    return true;
}

std::string InstalledContentFolder(const std::string& exePath) {
    const fs::path folder = fs::path(exePath).parent_path();
    if (folder.filename() != "games")
        return "";
    const fs::path content = folder.parent_path() / "share" / "games" / "zephyrace";
    std::error_code ec;
    return fs::is_directory(content / "bin", ec) ? content.string() : "";
}

bool SetUpGameFolders() {
    std::error_code ec;
    const std::string content = InstalledContentFolder(fs::read_symlink("/proc/self/exe", ec).string());
    if (content.empty())
        return true;
    PlayerFolders folders;
    if (!XdgPlayerFolders(getenv("HOME"), getenv("XDG_CONFIG_HOME"), getenv("XDG_DATA_HOME"),
                          getenv("XDG_STATE_HOME"), folders)) {
        fprintf(stderr, "Zephyrace cannot start: HOME is not an absolute path, so there is no folder for the "
                        "player's files\n");
        return false;
    }
    for (const std::string& folder : {folders.config, folders.data + "/Profiles", folders.state})
        if (!MakeWritableFolder(folder))
            return false;
    if (chdir((content + "/bin").c_str()) != 0) {
        fprintf(stderr, "Zephyrace cannot start: its content folder %s/bin cannot be entered (%s)\n",
                content.c_str(), strerror(errno));
        return false;
    }
    gFolders = folders;
    gInstalled = true;
    gLogFile = MapPlayerPath("log.txt");
    return true;
}

bool GameInstalled() {
    return gInstalled;
}

std::string MapPlayerPath(const std::string& path) {
    return gInstalled ? PlayerPath(gFolders, path) : path;
}

std::string PlayerPath(const PlayerFolders& folders, const std::string& path) {
    for (const char* file : kConfigFiles)
        if (path == file)
            return folders.config + path.substr(2);
    const size_t n = kProfiles.size();
    if (path.compare(0, n, kProfiles) == 0 && (path.size() == n || path[n] == '/'))
        return folders.data + path.substr(2);
    if (path == "log.txt")
        return folders.state + "/log.txt";
    return path;
}
