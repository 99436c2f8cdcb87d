#pragma once

#include <cstdio>

// Every game file is read in pieces of at most 254 characters, as the scripts were written for.
constexpr int kLineBufferSize = 255;

// fgets into line; a CR before the final LF is dropped, as a text-mode read would on the
// scripts' original platform. False at the end of the file.
bool ReadScriptLine(FILE* file, char (&line)[kLineBufferSize]);
