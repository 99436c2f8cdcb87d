#include "platform/shell.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <unistd.h>

#include "app/log.h"
#include "platform/files.h"

extern char** environ;

bool OpenGamePage(const char* path) {
    // A browser already running keeps its own folder, so the page goes to it as an absolute path.
    char page[PATH_MAX];
    if (!realpath(GamePath(path).c_str(), page)) {
        Log("Cannot open %s: %s", path, strerror(errno));
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // The opener must not write into our terminal or read our input.
    for (int fd = 0; fd <= 2; ++fd)
        posix_spawn_file_actions_addopen(&actions, fd, "/dev/null", fd == 0 ? O_RDONLY : O_WRONLY, 0);
    char opener[] = "xdg-open";
    char* argv[] = {opener, page, nullptr};
    pid_t child = 0;
    const int result = posix_spawnp(&child, opener, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (result != 0) {
        Log("Cannot open %s: xdg-open failed to start (%s)", page, strerror(result));
        return false;
    }
    return true;
}
