#pragma once

#include <string>

#include "data/trackscript.h"

// Track, intro and ending scripts are built as the record the game parses them into, then written out:
// formatting a record and parsing the text gives the same record back. The helpers fill fields exactly
// as the parser would, so a generator never has to know the script syntax.

void SetTitle(TrackSettings& s, const char* title);  // stored with the blank the script line keeps
// The sun towards (x, y, z), written with length kSunVectorLength.
constexpr float kSunVectorLength = 1000.0f;
void AddSun(TrackSettings& s, float x, float y, float z);
void AddPointLight(TrackSettings& s, const float position[3], const float color[3], float range, bool shadows);
void SetFog(TrackSettings& s, float r, float g, float b, float density);

// Timed actions: "AT t" with no value, one value or three; "FROM a TO b" likewise; captions.
void AddAt(TrackSettings& s, float t, int action);
void AddAt(TrackSettings& s, float t, int action, float value);
void AddAt(TrackSettings& s, float t, int action, float x, float y, float z);
void AddFromTo(TrackSettings& s, float start, float end, int action);
void AddFromTo(TrackSettings& s, float start, float end, int action, float value);
void AddFromTo(TrackSettings& s, float start, float end, int action, float x, float y, float z);
// SHOWTEXT and SHOWTITLE at (x, y) drifting by z; ROLLTEXT ignores the numbers. Blanks are allowed.
void AddCaption(TrackSettings& s, float t, int action, const char* text, float x = 0, float y = 0, float z = 0);

// The script text; false (with the reason in error) when the record holds something no script line
// can express: an empty or over-long caption, a path with blanks, a command ending before it starts,
// a line longer than the game reads at once.
bool FormatTrackScript(const TrackSettings& s, std::string& text, std::string& error);
// Formats and writes the file; prints the reason and returns false on failure.
bool WriteTrackScript(const std::string& path, const TrackSettings& s);
