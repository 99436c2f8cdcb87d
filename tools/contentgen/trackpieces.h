#pragma once

#include "meshbuilder.h"
#include "random.h"
#include "trackdesign.h"

// What the generated tracks are furnished with, placed in the frames of their centre line.

// A point `side` units to the right of a frame's centre and `up` above it.
Vec3 Place(const PathFrame& f, float side, float up);
// A box along the axes of a frame (side, up, forward), faces outward.
void FrameBox(MeshBuilder& mb, const PathFrame& f, Vec3 centre, float halfSide, float halfUp, float halfForward);

// The room inside a shape's section: how far out from the centre line scenery may stand on the floor, where
// the floor and the top are, and where the outside of the walls begins.
struct Room {
    float clear, floor, top, outside;
};

Room RoomOf(TrackShape shape, float size);

// A group begun anew every 150 units of track, so the renderer culls its far sections, and their shadows.
class SectionedGroup {
public:
    SectionedGroup(MeshBuilder& mb, const char* name, int material) : mb_(mb), name_(name), material_(material) {}
    void At(float distance) {
        const int section = int(distance / 150.0f);
        if (section != section_)
            mb_.BeginGroup(name_, material_);
        section_ = section;
    }

private:
    MeshBuilder& mb_;
    const char* name_;
    int material_;
    int section_ = -1;
};

// The materials scenery is drawn with. Set pieces of material "G" are seen but never collided with, so they
// may stand anywhere, even through a wall, without letting a vehicle out.
struct SceneryMaterials {
    int rock, lamp, glowing, girder, light;
};

// The design's set piece along the path, in groups of its own.
void SetPieces(MeshBuilder& mb, const TrackDesign& design, const std::vector<PathFrame>& path, float size,
               const Room& room, Random& rng, const SceneryMaterials& m);
