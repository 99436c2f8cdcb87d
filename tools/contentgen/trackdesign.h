#pragma once

#include <string>
#include <vector>

struct TrackSettings;

#include "app/gamedefs.h"
#include "race/autopilot.h"
#include "scene/milkshape.h"
#include "trackpath.h"

enum TrackShape { SHAPE_CANYON, SHAPE_TUNNEL, SHAPE_OPEN };

// What a family of tracks is built of: its shape, surfaces and lamps.
struct TrackTheme {
    const char* name;
    TrackShape shape;
    const char* floorTexture;  // file names under Textures/
    const char* wallTexture;
    bool lamps;                // point lights along the way
    float lampColour[3];
};

// The sight a track is remembered by, seen from the course.
enum SetPiece { PIECE_NONE, PIECE_ARCHES, PIECE_RINGS, PIECE_TOWERS, PIECE_LIGHTFALL, PIECE_PYLONS, PIECE_SPIRAL,
                PIECE_CRYSTALS, PIECE_RIBS, PIECE_WRECK };
// The stretch that changes how a track is flown.
enum LayoutFeature { FEATURE_NONE, FEATURE_CLIMB, FEATURE_DROP, FEATURE_ESSES };

struct TrackDesign {
    const char* title;
    int theme;      // into the theme table; -1 for a track modelled by hand (its own generator)
    unsigned seed;
    int vehicle;    // required vehicle, 0..3
    // Its own light and colour: sky family, sun direction (none when y is 0), surface tint, fog (density 0 =
    // none) and ambient light.
    const char* sky;
    float sun[3];
    float tint[3];
    float fog[4];
    float ambient[3];
    SetPiece piece;
    LayoutFeature feature;
};

const TrackTheme& ThemeOf(const TrackDesign& design);
const TrackDesign& DesignOf(int track);  // 0..23

struct PointLamp {
    Vec3 pos;
    Vec3 colour;
    float range;
};

// A generated track: its centre line, model and what its script needs to know.
struct TrackLayout {
    std::vector<PathFrame> path;
    CMilkshapeModel model;
    Vec3 start;          // where the race camera starts
    float startYaw = 0;  // camera yaw there, degrees
    float goalMin[3], goalMax[3];
    std::vector<PointLamp> lamps;
};

// Builds the centre line and the model of track `index` (0..23); difficulty rises with the index.
// False for a hand-modelled track.
bool BuildTrack(int index, TrackLayout& out);

struct TrackPrizes {
    int gold, silver, bronze;
};
// The cash of every track, from the prices of the vehicles (gVehicles must be loaded).
std::vector<TrackPrizes> PrizeTable();

// Track 1 is modelled by hand: its goal line, and the middle of its canyon at z, straight for its first 60
// units and swinging smoothly from side to side three times between there and the goal, 30 units out in the
// middle bend, further than the canyon is wide.
constexpr float kTrack1StraightZ = -60.0f;
constexpr float kTrack1GoalZ = -605.0f;
float Track1CentreX(float z);
// The hand-modelled track's centre line from its start to its goal.
void HandPath(const TrackSettings& s, TrackLayout& layout);
// The autopilot's waypoints along a layout's centre line.
std::vector<AutopilotPoint> RouteOf(const TrackLayout& layout);

// Flies the generated track with its required vehicle at 60 frames a second, each attempt slower than the
// last, until one reaches the goal with little damage. False when none does.
bool FlyTrack(int index, const TrackLayout& layout, AutopilotFlight& best);

// Camera yaw (degrees) that travels along a direction.
float YawOf(const Vec3& forward);
