#pragma once

constexpr int kNumTracks = 24;
extern int gSelectedTrack;  // 0..23, the track the loading state loads for a race
