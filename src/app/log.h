#pragma once

// Appends one printf-formatted line to "log.txt" in the working directory (and echoes it to stderr).
void Log(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Fuzzers feed millions of bad lines; they switch the log off.
extern bool gLogSilent;
