#include "race/splits.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "app/log.h"
#include "app/states.h"
#include "data/profile.h"
#include "data/trackscript.h"
#include "hud/hud.h"
#include "hud/hudtexts.h"
#include "platform/files.h"
#include "race/ghost.h"

Splits gSplits;
SectorResults gSectorResults;

namespace {

// Route units searched on either side of the distance matched before: more than a frame's flight at any
// speed, less than the way round a hairpin between its two legs.
constexpr float kRouteWindow = 25.0f;
// A flight further than this from the route has left it, and the gate it passes there is missed.
constexpr float kRouteReach = 30.0f;

bool Timed(float t) {
    return t >= 0.0f;
}

}  // namespace

Route RouteOf(const std::vector<RoutePoint>& points) {
    Route route;
    if (points.size() < 2)
        return route;
    float along = 0.0f;
    for (size_t i = 0; i < points.size(); ++i) {
        const RoutePoint& p = points[i];
        if (i > 0) {
            const RoutePoint& q = points[i - 1];
            along += std::sqrt((p.x - q.x) * (p.x - q.x) + (p.y - q.y) * (p.y - q.y) + (p.z - q.z) * (p.z - q.z));
        }
        RecordingSample s;
        s.x = p.x;
        s.y = p.y;
        s.z = p.z;
        s.time = along;
        route.path.push_back(s);
    }
    for (int g = 0; g < kNumGates; ++g)
        route.gates[g] = along * float(g + 1) / float(kNumSectors);
    return route;
}

bool LoadRoute(Route& route, int track) {
    route = Route();
    const std::string path = "../Scripts/track" + std::to_string(track + 1) + "_route.txt";
    std::string text;
    std::string why;
    std::vector<RoutePoint> points;
    if (!ReadGameFile(path.c_str(), text))
        why = "it cannot be read";
    else
        ReadRoute(text.data(), text.size(), points, why);
    if (!why.empty()) {
        Log("Route %s ignored: %s", path.c_str(), why.c_str());
        return false;
    }
    route = RouteOf(points);
    return true;
}

int AdvanceOnRoute(const Route& route, RouteProgress& progress, const RecordingSample& pose) {
    const float p[3] = {pose.x, pose.y, pose.z};
    float distance2 = 0.0f;
    const float along = NearestOnPath(route.path, progress.matched, kRouteWindow, p, distance2);
    const float before = progress.matched;
    const RecordingSample last = progress.moved ? progress.last : pose;
    progress.matched = along;
    progress.last = pose;
    progress.moved = true;
    if (route.path.empty() || progress.next >= kNumGates || along < route.gates[progress.next])
        return -1;
    const int gate = progress.next++;
    float& time = progress.gateTimes[gate];
    time = kNoGateTime;
    if (distance2 <= kRouteReach * kRouteReach) {
        const float u = along > before ? std::clamp((route.gates[gate] - before) / (along - before), 0.0f, 1.0f) : 1.0f;
        time = last.time + u * (pose.time - last.time);
    }
    return gate;
}

RouteProgress ProjectFlight(const Route& route, const std::vector<RecordingSample>& flight) {
    RouteProgress progress;
    for (const RecordingSample& pose : flight)
        AdvanceOnRoute(route, progress, pose);
    return progress;
}

void SectorsOf(const float gateTimes[kNumGates], float finish, float sectors[kNumSectors]) {
    float from = 0.0f;
    for (int s = 0; s < kNumSectors; ++s) {
        const float to = s < kNumGates ? gateTimes[s] : finish;
        sectors[s] = Timed(from) && Timed(to) && to >= from ? to - from : 0.0f;
        from = to;
    }
}

void KeepLowest(float lowest[kNumSectors], const float sectors[kNumSectors]) {
    for (int s = 0; s < kNumSectors; ++s)
        if (sectors[s] > 0.0f && (lowest[s] <= 0.0f || sectors[s] < lowest[s]))
            lowest[s] = sectors[s];
}

float SumOfSectors(const float sectors[kNumSectors]) {
    float sum = 0.0f;
    for (int s = 0; s < kNumSectors; ++s) {
        if (sectors[s] <= 0.0f)
            return 0.0f;
        sum += sectors[s];
    }
    return sum;
}

std::string SectorTimesPath(const char* profile, int track) {
    return GhostFolder(profile) + "track" + std::to_string(track + 1) + ".sectors";
}

bool LoadSectorTimes(SectorTimes& times, const char* profile, int track, float bestTime,
                     const TrackSettings& settings, const Route& route) {
    times = SectorTimes();
    if (!IsSafeProfileName(profile))
        return false;
    const std::string path = SectorTimesPath(profile, track);
    std::string text;
    std::string why;
    if (!ReadGameFile(path.c_str(), text))
        why = "it is missing";
    else if (ReadSectorTimes(text.data(), text.size(), times, why))
        return true;
    Ghost best;
    if (!HasBestRun(profile, track, bestTime) || !LoadGhost(best, profile, track, bestTime, settings))
        return false;
    SectorsOf(ProjectFlight(route, best.path.samples).gateTimes, best.path.samples.back().time, times.best);
    KeepLowest(times.lowest, times.best);
    Log("Sector times %s rebuilt from the ghost: %s", path.c_str(), why.c_str());
    WriteFileAtomically(path.c_str(), FormatSectorTimes(times));
    return true;
}

void StartSplits(Splits& splits, const Ghost& ghost, const char* profile, int track, float bestTime,
                 const TrackSettings& settings) {
    splits = Splits();
    LoadRoute(splits.route, track);
    const RouteProgress rival = ProjectFlight(splits.route, ghost.path.samples);
    std::copy(rival.gateTimes, rival.gateTimes + kNumGates, splits.ghostGates);
    splits.known = LoadSectorTimes(splits.saved, profile, track, bestTime, settings, splits.route);
    gHudSplitText[0] = '\0';
}

void StartRivals(const char* profile, int track, float bestTime, const TrackSettings& settings) {
    LoadChosenGhost(gGhost, profile, track, bestTime, settings);
    StartSplits(gSplits, gGhost, profile, track, bestTime, settings);
}

std::string SplitText(int gate, float time, float ghostTime) {
    if (!Timed(time) || !Timed(ghostTime))
        return "";
    char text[64];
    snprintf(text, sizeof text, "S%d %+.2f", gate + 1,
             double(std::clamp(time - ghostTime, -kLongestHudGap, kLongestHudGap)));
    return text;
}

void FollowSplits(Splits& splits, int state, const RecordingSample& player) {
    if (state != STATE_RACE)
        return;
    const int gate = AdvanceOnRoute(splits.route, splits.run, player);
    if (gate >= 0) {
        const std::string text = SplitText(gate, splits.run.gateTimes[gate], splits.ghostGates[gate]);
        snprintf(gHudSplitText, sizeof gHudSplitText, "%s", text.c_str());
        splits.shownUntil = player.time + kSplitShownSeconds;
    }
    if (player.time > splits.shownUntil)
        gHudSplitText[0] = '\0';
}

SectorResults BookSectors(Splits& splits, const char* profile, int track, float raceTime, bool newBest) {
    SectorResults results;
    SectorsOf(splits.run.gateTimes, raceTime, results.run);
    if (splits.known)
        std::copy(splits.saved.best, splits.saved.best + kNumSectors, results.best);
    SectorTimes times = splits.saved;
    if (newBest)
        std::copy(results.run, results.run + kNumSectors, times.best);
    KeepLowest(times.lowest, results.run);
    results.theoretical = SumOfSectors(times.lowest);
    if (IsSafeProfileName(profile) && !splits.route.path.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(GamePath(GhostFolder(profile).c_str()), ec);
        WriteFileAtomically(SectorTimesPath(profile, track).c_str(), FormatSectorTimes(times));
    }
    return results;
}
