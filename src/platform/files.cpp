#include "platform/files.h"

#include <algorithm>
#include <filesystem>
#include <fcntl.h>
#include <system_error>
#include <unistd.h>

#include "app/log.h"
#include "platform/gamepaths.h"

namespace fs = std::filesystem;

std::string GamePath(const char* path) {
    std::string p = path ? path : "";
    std::replace(p.begin(), p.end(), '\\', '/');
    return MapPlayerPath(p);
}

FILE* OpenGameFile(const char* path, const char* mode) {
    return fopen(GamePath(path).c_str(), mode);
}

std::vector<std::string> ListFiles(const char* folder, const char* suffix) {
    std::vector<std::string> names;
    std::error_code ec;
    const std::string ending = suffix;
    for (fs::directory_iterator it(GamePath(folder), ec), end; !ec && it != end; it.increment(ec)) {
        if (!it->is_regular_file(ec))
            continue;
        std::string name = it->path().filename().string();
        if (name.size() >= ending.size() && name.compare(name.size() - ending.size(), ending.size(), ending) == 0)
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool DeleteGameFile(const char* path) {
    std::error_code ec;
    return fs::remove(GamePath(path), ec);
}

namespace {

// A rename lives in the folder's own data: until that reaches the disk, a power cut can bring the old
// file back.
bool SyncFolder(const fs::path& folder) {
    const int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    const bool ok = fsync(fd) == 0;
    close(fd);
    return ok;
}

}  // namespace

bool WriteFileAtomically(const char* path, const std::string& data) {
    const std::string target = GamePath(path);
    const std::string temp = target + ".tmp";
    FILE* f = fopen(temp.c_str(), "wb");
    if (!f)
        return false;
    bool ok = fwrite(data.data(), 1, data.size(), f) == data.size();
    ok = fflush(f) == 0 && ok;
    ok = fsync(fileno(f)) == 0 && ok;
    ok = fclose(f) == 0 && ok;
    if (ok)
        ok = rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        remove(temp.c_str());
        return false;
    }
    // The new file is in place whatever the folder sync says: failing the save now would have callers
    // act on a file that is there (a profile "not saved" whose name is then taken).
    if (!SyncFolder(fs::path(target).parent_path()))
        Log("Saved %s, but its folder could not be synced to disk", target.c_str());
    return true;
}
