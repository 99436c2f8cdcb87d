#include "platform/shell.h"

#include <cstring>
#include <string>
#include <fcntl.h>
#include <spawn.h>
#include <unistd.h>

#include "app/log.h"

extern char** environ;

bool OpenWebPage(const char* url) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // The opener must not write into our terminal or read our input.
    for (int fd = 0; fd <= 2; ++fd)
        posix_spawn_file_actions_addopen(&actions, fd, "/dev/null", fd == 0 ? O_RDONLY : O_WRONLY, 0);
    char opener[] = "xdg-open";
    std::string target = url;
    char* argv[] = {opener, target.data(), nullptr};
    pid_t child = 0;
    const int result = posix_spawnp(&child, opener, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (result != 0) {
        Log("Cannot open %s: xdg-open failed to start (%s)", url, strerror(result));
        return false;
    }
    return true;
}
