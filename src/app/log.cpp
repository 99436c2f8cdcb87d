#include "app/log.h"

#include <cstdarg>
#include <cstdio>

bool gLogSilent = false;

void Log(const char* format, ...) {
    if (gLogSilent)
        return;
    // Opened and closed per line so the log survives a crash.
    if (FILE* f = fopen("log.txt", "a+")) {
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
