#include "app/log.h"

#include <cstdarg>
#include <cstdio>
#include <string>

bool gLogSilent = false;
std::string gLogFile = "log.txt";

void Log(const char* format, ...) {
    if (gLogSilent)
        return;
    // Opened and closed per line so the log survives a crash.
    if (FILE* f = fopen(gLogFile.c_str(), "a+")) {
        va_list args;
        va_start(args, format);
        vfprintf(f, format, args);
        va_end(args);
        fputc('\n', f);
        fclose(f);
    }
    va_list args;
    va_start(args, format);
    vfprintf(stderr, format, args);
    va_end(args);
    fputc('\n', stderr);
}
