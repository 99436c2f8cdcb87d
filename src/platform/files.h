#pragma once

#include <cstdio>
#include <string>
#include <vector>

// Game content paths keep their Windows spelling ("..\\Models\\x.ms3d"); these map '\\' to '/', and the
// player's files into the player's folders (platform/gamepaths.h).
std::string GamePath(const char* path);
FILE* OpenGameFile(const char* path, const char* mode);

// Names (not paths) of the regular files in a folder whose names end with suffix, sorted.
std::vector<std::string> ListFiles(const char* folder, const char* suffix);

bool DeleteGameFile(const char* path);

// Writes data to path through a temporary file in the same folder renamed over the old one,
// so a crash or a full disk leaves either the old or the new file, never a truncated one. The folder is
// synced after the rename, so a saved file stays saved through a power cut; a failed folder sync is only
// logged, as the file is saved.
bool WriteFileAtomically(const char* path, const std::string& data);
