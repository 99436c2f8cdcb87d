#include "trackpieces.h"

#include <algorithm>
#include <cmath>

#include "app/gamedefs.h"

namespace {

// A square tube bent into a circle around the centre line, to fly through.
void Ring(MeshBuilder& mb, const PathFrame& f, float radius, float thickness) {
    constexpr int kSegments = 16;
    for (int k = 0; k < kSegments; k++) {
        const float a = 2.0f * kPi * float(k) / kSegments, b = 2.0f * kPi * float(k + 1) / kSegments;
        const Vec3 da = f.side * std::cos(a) + f.up * std::sin(a), db = f.side * std::cos(b) + f.up * std::sin(b);
        PathFrame segment = f;
        segment.side = Normalized(db - da);
        segment.up = Normalized(da + db);
        segment.forward = Cross(segment.side, segment.up);
        const Vec3 centre = f.pos + (da + db) * (0.5f * (radius + thickness));
        FrameBox(mb, segment, centre, Len(db - da) * 0.5f * (radius + thickness) + 0.05f, thickness, thickness);
    }
}

// A frame leaned sideways by `lean` (a tangent of the angle) and turned by `twist` round its up axis.
PathFrame Leaned(const PathFrame& f, float lean, float twist) {
    PathFrame g = f;
    g.up = Normalized(f.up + f.side * lean);
    g.side = Normalized(Cross(f.forward, g.up));
    g.forward = Normalized(Cross(g.up, g.side) + g.side * twist);
    g.side = Normalized(Cross(g.forward, g.up));
    return g;
}

}  // namespace

Vec3 Place(const PathFrame& f, float side, float up) {
    return f.pos + f.side * side + f.up * up;
}

void FrameBox(MeshBuilder& mb, const PathFrame& f, Vec3 centre, float halfSide, float halfUp, float halfForward) {
    const Vec3 axes[3] = {f.side * halfSide, f.up * halfUp, f.forward * halfForward};
    for (int a = 0; a < 3; a++)
        for (int sign = -1; sign <= 1; sign += 2) {
            const Vec3 n = axes[a] * float(sign);
            Vec3 t1 = axes[(a + 1) % 3], t2 = axes[(a + 2) % 3];
            if (Dot(Cross(t1, t2), n) < 0.0f)
                std::swap(t1, t2);
            const Vec3 c = centre + n;
            mb.AddQuad(c - t1 - t2, c + t1 - t2, c + t1 + t2, c - t1 + t2);
        }
}

Room RoomOf(TrackShape shape, float size) {
    if (shape == SHAPE_CANYON)
        return {size * 0.7f, -6.0f, 31.0f, size + 9.0f};
    if (shape == SHAPE_TUNNEL)
        return {size * 0.8f, -size * 0.85f, size * 0.85f, size * 1.25f + 4.0f};
    return {50.0f, -14.0f, 48.0f, 80.0f};
}

void SetPieces(MeshBuilder& mb, const TrackDesign& design, const std::vector<PathFrame>& path, float size,
               const Room& room, Random& rng, const SceneryMaterials& m) {
    const TrackShape shape = ThemeOf(design).shape;
    const float length = path.back().distance;
    auto frameAt = [&](float distance) -> const PathFrame& {
        return path[std::min(path.size() - 1, size_t(distance / 3.0f))];
    };
    switch (design.piece) {
    case PIECE_ARCHES: {  // rock bridges across the canyon, short of its walls
        SectionedGroup arches(mb, "arches", m.rock);
        for (float s = 150.0f; s < length - 60.0f; s += 220.0f) {
            arches.At(s);
            FrameBox(mb, frameAt(s), Place(frameAt(s), 0.0f, 17.0f), size + 3.0f, 2.0f, 3.5f);
        }
        break;
    }
    case PIECE_RINGS: {  // glowing rings to fly through
        SectionedGroup rings(mb, "rings", m.lamp);
        for (float s = 70.0f; s < length - 50.0f; s += 110.0f) {
            rings.At(s);
            Ring(mb, frameAt(s), size, 1.0f);
        }
        break;
    }
    case PIECE_TOWERS: {  // towers and pillars beside the way, under the lid
        SectionedGroup towers(mb, "towers", m.rock);
        for (float s = 40.0f; s < length - 20.0f; s += rng.Range(22.0f, 45.0f)) {
            towers.At(s);
            const PathFrame& f = frameAt(s);
            const float half = rng.Range(3.0f, 8.0f), height = rng.Range(25.0f, 58.0f);
            const float side = (rng.Unit() < 0.5f ? -1.0f : 1.0f) * rng.Range(size + 12.0f, room.clear + 8.0f - half);
            FrameBox(mb, f, Place(f, side, room.floor + height * 0.5f), half, height * 0.5f, half);
        }
        break;
    }
    case PIECE_LIGHTFALL: {  // curtains of light pouring from the top down both sides
        SectionedGroup lightfall(mb, "lightfall", m.light);
        for (float s = 30.0f; s < length - 40.0f; s += 80.0f)
            for (float side : {-room.clear, room.clear}) {
                lightfall.At(s);
                const PathFrame& f = frameAt(s);
                const Vec3 a = Place(f, side, room.floor) - f.forward * 4.0f, b = Place(f, side, room.floor) + f.forward * 4.0f;
                const Vec3 up = f.up * (room.top - room.floor);
                mb.AddQuad(a, b, b + up, a + up, 1.0f, 1.0f);
            }
        break;
    }
    case PIECE_PYLONS: {  // pylons, their cables slung across the way overhead
        // On open ground they stand on the floor and stop a vehicle; in a canyon they stand in the walls.
        const bool open = shape == SHAPE_OPEN;
        const float reach = open ? 35.0f : room.outside - 6.0f, s0 = 50.0f, step = 110.0f;
        SectionedGroup pylons(mb, "pylons", open ? m.rock : m.girder);
        for (float s = s0; s < length - 40.0f; s += step)
            for (float side : {-reach, reach}) {
                pylons.At(s);
                FrameBox(mb, frameAt(s), Place(frameAt(s), side, (room.floor + room.top) * 0.5f), 1.5f,
                         (room.top - room.floor) * 0.5f, 1.5f);
            }
        SectionedGroup cables(mb, "cables", m.girder);
        for (float s = s0; s < length - 40.0f; s += step)
            for (float up : {room.top - 8.0f, room.top - 5.0f}) {
                cables.At(s);
                FrameBox(mb, frameAt(s), Place(frameAt(s), 0.0f, up), reach, 0.15f, 0.15f);
            }
        break;
    }
    case PIECE_SPIRAL: {  // a glowing coil wound round the way, three turns long
        SectionedGroup spiral(mb, "spiral", m.glowing);
        for (float s = 40.0f; s < length - 90.0f; s += 200.0f)
            for (int k = 0; k < 48; k++) {
                spiral.At(s);
                const PathFrame& f = frameAt(s + float(k) * 1.5f);
                const float a = float(k) / 16.0f * 2.0f * kPi, r = std::min(room.clear, room.top) * 0.9f;
                FrameBox(mb, f, Place(f, std::cos(a) * r, std::sin(a) * r), 0.35f, 0.35f, 0.9f);
            }
        break;
    }
    case PIECE_CRYSTALS: {  // leaning glowing shards in clusters along the floor
        SectionedGroup crystals(mb, "crystals", m.glowing);
        for (float s = 40.0f; s < length - 30.0f; s += rng.Range(25.0f, 40.0f))
            for (int k = 0; k < 3; k++) {
                crystals.At(s);
                const float side = (k % 2 ? 1.0f : -1.0f) * room.clear * rng.Range(0.7f, 1.0f);
                const PathFrame g = Leaned(frameAt(s + float(k) * 3.0f), side > 0 ? 0.5f : -0.5f, rng.Range(-0.5f, 0.5f));
                const float h = rng.Range(1.5f, 3.5f);
                FrameBox(mb, g, Place(frameAt(s + float(k) * 3.0f), side, room.floor + h * 0.8f), 0.5f, h, 0.5f);
            }
        break;
    }
    case PIECE_RIBS: {  // girder ribs holding up the bore
        SectionedGroup ribs(mb, "ribs", m.girder);
        for (float s = 30.0f; s < length - 20.0f; s += 18.0f)
            for (int k = 0; k < 12; k++) {
                ribs.At(s);
                const float a = float(k) / 12.0f * 2.0f * kPi, r = size * 0.93f;
                const PathFrame& f = frameAt(s);
                PathFrame g = f;
                g.side = Normalized(f.side * -std::sin(a) + f.up * std::cos(a));
                g.up = Normalized(f.side * std::cos(a) + f.up * std::sin(a));
                FrameBox(mb, g, Place(f, std::cos(a) * r * 1.2f, std::sin(a) * r), r * 0.3f, 0.25f, 0.4f);
            }
        break;
    }
    case PIECE_WRECK:  // a great broken hull, on open ground beside the way, in a canyon wedged across its top
        mb.BeginGroup("wreck", m.girder);
        for (float at : {60.0f, length * 0.6f}) {
            const PathFrame& f = frameAt(at);
            const bool open = shape == SHAPE_OPEN;
            const Vec3 centre = Place(f, open ? room.clear * 0.6f : 0.0f, open ? room.floor + 8.0f : room.top - 4.0f);
            const PathFrame g = Leaned(f, 0.35f, open ? 1.2f : 3.0f);
            FrameBox(mb, g, centre, 4.0f, 3.0f, open ? 26.0f : size * 1.8f);
            FrameBox(mb, g, centre + g.up * 4.0f + g.forward * 5.0f, 2.0f, 1.5f, 5.0f);
            FrameBox(mb, Leaned(f, -0.6f, -0.8f), centre + g.forward * -8.0f, 12.0f, 0.5f, 4.0f);
        }
        break;
    case PIECE_NONE:
        break;
    }
}

