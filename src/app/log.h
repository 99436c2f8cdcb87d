#pragma once

#include <string>

// Appends one printf-formatted line to gLogFile (and echoes it to stderr).
void Log(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Fuzzers feed millions of bad lines; they switch the log off.
extern bool gLogSilent;

// "log.txt" in the working directory; an installed game keeps it in the player's folders.
extern std::string gLogFile;
