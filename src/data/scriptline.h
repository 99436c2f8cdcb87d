#pragma once

#include <cstdio>
#include <string>

// Every game file is read in pieces of at most 254 characters, as the scripts were written for.
constexpr int kLineBufferSize = 255;

// fgets into line; a CR before the final LF is dropped, as a text-mode read would on the
// scripts' original platform. False at the end of the file.
bool ReadScriptLine(FILE* file, char (&line)[kLineBufferSize]);

// printf onto the end of text, one script line (at most 511 characters) at a time.
void AppendFormat(std::string& text, const char* format, ...) __attribute__((format(printf, 2, 3)));
