// A small software renderer for the track cards: z-buffered, perspective-correct, mip-mapped textured
// triangles lit at their corners, fogged per pixel, over the track's sky; drawn at twice the size and
// averaged down. Plain float maths in a fixed order, so the same files always give the same picture.
#include "trackpicture.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "data/trackscript.h"
#include "platform/files.h"
#include "platform/imagedecode.h"
#include "scene/milkshape.h"
#include "scene/transformation.h"
#include "trackpath.h"

namespace {

constexpr int kSupersample = 2;
constexpr float kNear = 0.2f;
constexpr float kFar = 400.0f;  // twice the race's, so a card shows more of the way
constexpr float kFieldOfView = 60.0f;
constexpr size_t kLampsLit = 4;
// The sun lights faces turned to it fully and the others a little, as the sky around it would.
constexpr float kSunStrength = 0.8f, kSunFill = 0.25f;

Vec3 Times(const Vec3& a, const Vec3& b) {
    return {a.x * b.x, a.y * b.y, a.z * b.z};
}

// A picture with its mip levels, each half the size of the one before, sampled bilinearly with wrapping.
class Texture {
public:
    bool Load(const char* path) {
        FILE* f = OpenGameFile(path, "rb");
        if (!f)
            return false;
        std::vector<uint8_t> bytes;
        uint8_t chunk[65536];
        for (size_t n; (n = fread(chunk, 1, sizeof chunk, f)) > 0;)
            bytes.insert(bytes.end(), chunk, chunk + n);
        fclose(f);
        DecodedImage image;
        const char* error = nullptr;
        if (!DecodeImage(bytes.data(), bytes.size(), image, error))
            return false;
        Level base{image.width, image.height, {}};
        for (uint8_t v : image.rgb)
            base.rgb.push_back(float(v) / 255.0f);
        levels.push_back(base);
        while (levels.back().w > 1 && levels.back().h > 1) {
            const Level& up = levels.back();
            Level down{up.w / 2, up.h / 2, std::vector<float>(size_t(up.w / 2) * (up.h / 2) * 3)};
            for (int y = 0; y < down.h; y++)
                for (int x = 0; x < down.w; x++)
                    for (int k = 0; k < 3; k++)
                        down.rgb[(size_t(y) * down.w + x) * 3 + k] =
                            0.25f * (up.At(2 * x, 2 * y)[k] + up.At(2 * x + 1, 2 * y)[k] + up.At(2 * x, 2 * y + 1)[k] +
                                     up.At(2 * x + 1, 2 * y + 1)[k]);
            levels.push_back(std::move(down));
        }
        return true;
    }

    // s to the right, t down from the top edge; footprint is the pixel's size in level-0 texels.
    Vec3 Sample(float s, float t, float footprint) const {
        if (levels.empty())
            return {1.0f, 1.0f, 1.0f};
        const int level = std::min(int(levels.size()) - 1, std::max(0, int(std::log2(std::max(footprint, 1.0f)))));
        const Level& l = levels[size_t(level)];
        const float x = s * float(l.w) - 0.5f, y = t * float(l.h) - 0.5f;
        const float fx = std::floor(x), fy = std::floor(y);
        const float ax = x - fx, ay = y - fy;
        const int x0 = int(fx), y0 = int(fy);
        const float* p00 = l.At(x0, y0);
        const float* p10 = l.At(x0 + 1, y0);
        const float* p01 = l.At(x0, y0 + 1);
        const float* p11 = l.At(x0 + 1, y0 + 1);
        float c[3];
        for (int k = 0; k < 3; k++)
            c[k] = (p00[k] * (1 - ax) + p10[k] * ax) * (1 - ay) + (p01[k] * (1 - ax) + p11[k] * ax) * ay;
        return {c[0], c[1], c[2]};
    }

    int Width() const { return levels.empty() ? 1 : levels[0].w; }
    int Height() const { return levels.empty() ? 1 : levels[0].h; }

private:
    struct Level {
        int w, h;
        std::vector<float> rgb;
        const float* At(int x, int y) const {
            x = ((x % w) + w) % w;
            y = ((y % h) + h) % h;
            return &rgb[(size_t(y) * w + x) * 3];
        }
    };
    std::vector<Level> levels;
};

struct Lamp {
    Vec3 pos, colour;
    float range;
};

// Where the picture is taken from and what lights it.
struct View {
    Vec3 eye, forward, right, up;
    float focal;  // pixels per unit at depth 1
    int width, height;
    bool hasSun;
    Vec3 sun, ambient;
    std::vector<Lamp> lamps;
    bool fog;
    Vec3 fogColour;
    float fogDensity;
};

// A corner in the eye's frame: right, up, depth, and what is interpolated across the triangle.
struct Corner {
    Vec3 eye;
    float s, t;
    Vec3 light;
};

struct Frame {
    std::vector<Vec3> colour;
    std::vector<float> depth;
};

Vec3 LightAt(const View& v, const MsMaterial& m, const Vec3& p, const Vec3& n) {
    const Vec3 diffuse{m.diffuse[0], m.diffuse[1], m.diffuse[2]};
    Vec3 c = Vec3{m.emissive[0], m.emissive[1], m.emissive[2]} + Times(Vec3{m.ambient[0], m.ambient[1], m.ambient[2]},
                                                                        v.ambient);
    if (v.hasSun)
        c = c + diffuse * (kSunStrength * (kSunFill + (1.0f - kSunFill) * std::max(0.0f, Dot(n, v.sun))));
    for (const Lamp& lamp : v.lamps) {
        const Vec3 to = lamp.pos - p;
        const float d = std::max(Len(to), 1e-4f);
        const float reach = 1.0f / (1.0f + d / lamp.range);
        c = c + Times(diffuse, lamp.colour) * (reach * std::max(0.0f, Dot(n, to) / d));
    }
    return c;
}

// Fills the pixels of a triangle already in front of the near plane. The sky is drawn first, behind
// everything: unlit, unfogged and without the depth test.
void Raster(const View& v, const Corner c[3], const Texture& tex, bool sky, float opacity, Frame& frame) {
    float sx[3], sy[3], iz[3];
    for (int i = 0; i < 3; i++) {
        iz[i] = 1.0f / c[i].eye.z;
        sx[i] = float(v.width) * 0.5f + v.focal * c[i].eye.x * iz[i];
        sy[i] = float(v.height) * 0.5f - v.focal * c[i].eye.y * iz[i];
    }
    const float area = (sx[1] - sx[0]) * (sy[2] - sy[0]) - (sy[1] - sy[0]) * (sx[2] - sx[0]);
    if (std::fabs(area) < 1e-8f)
        return;
    // Barycentric weights are affine in the screen: w_i = a_i + bx_i * x + by_i * y.
    float a[3], bx[3], by[3];
    for (int i = 0; i < 3; i++) {
        const int j = (i + 1) % 3, k = (i + 2) % 3;
        bx[i] = (sy[j] - sy[k]) / area;
        by[i] = (sx[k] - sx[j]) / area;
        a[i] = (sx[j] * sy[k] - sx[k] * sy[j]) / area;
    }
    // The same holds for every attribute divided by depth; their gradients give the texel footprint.
    auto gradient = [](const float q[3], const float* w) { return q[0] * w[0] + q[1] * w[1] + q[2] * w[2]; };
    const float sz[3] = {c[0].s * iz[0], c[1].s * iz[1], c[2].s * iz[2]};
    const float tz[3] = {c[0].t * iz[0], c[1].t * iz[1], c[2].t * iz[2]};
    const float izx = gradient(iz, bx), izy = gradient(iz, by);
    const float szx = gradient(sz, bx), szy = gradient(sz, by), tzx = gradient(tz, bx), tzy = gradient(tz, by);
    const int x0 = std::max(0, int(std::floor(std::min({sx[0], sx[1], sx[2]}))));
    const int x1 = std::min(v.width - 1, int(std::ceil(std::max({sx[0], sx[1], sx[2]}))));
    const int y0 = std::max(0, int(std::floor(std::min({sy[0], sy[1], sy[2]}))));
    const int y1 = std::min(v.height - 1, int(std::ceil(std::max({sy[0], sy[1], sy[2]}))));
    const float texW = float(tex.Width()), texH = float(tex.Height());
    for (int y = y0; y <= y1; y++)
        for (int x = x0; x <= x1; x++) {
            const float px = float(x) + 0.5f, py = float(y) + 0.5f;
            float w[3];
            for (int i = 0; i < 3; i++)
                w[i] = a[i] + bx[i] * px + by[i] * py;
            if (w[0] < 0.0f || w[1] < 0.0f || w[2] < 0.0f)
                continue;
            const float inv = w[0] * iz[0] + w[1] * iz[1] + w[2] * iz[2];
            const float z = 1.0f / inv;
            const size_t at = size_t(y) * v.width + x;
            if (!sky && z >= frame.depth[at])
                continue;
            const float s = (w[0] * sz[0] + w[1] * sz[1] + w[2] * sz[2]) * z;
            const float t = (w[0] * tz[0] + w[1] * tz[1] + w[2] * tz[2]) * z;
            const float dsx = (szx - s * izx) * z * texW, dtx = (tzx - t * izx) * z * texH;
            const float dsy = (szy - s * izy) * z * texW, dty = (tzy - t * izy) * z * texH;
            const float footprint = std::sqrt(std::max(dsx * dsx + dtx * dtx, dsy * dsy + dty * dty));
            Vec3 light{0, 0, 0};
            for (int i = 0; i < 3; i++)
                light = light + c[i].light * (w[i] * iz[i] * z);
            Vec3 colour = Times(tex.Sample(s, t, footprint), light);
            colour = {std::min(colour.x, 1.0f), std::min(colour.y, 1.0f), std::min(colour.z, 1.0f)};
            if (v.fog && !sky) {
                const float d = v.fogDensity * z;
                colour = Lerp(v.fogColour, colour, std::exp(-d * d));
            }
            frame.colour[at] = Lerp(frame.colour[at], colour, opacity);
            if (!sky && opacity >= 1.0f)
                frame.depth[at] = z;
        }
}

// Cuts the triangle at the near plane and rasters what is left (a triangle or a quad).
void DrawTriangle(const View& v, const Corner in[3], const Texture& tex, bool sky, float opacity, Frame& frame) {
    Corner out[4];
    int n = 0;
    for (int i = 0; i < 3; i++) {
        const Corner& p = in[i];
        const Corner& q = in[(i + 1) % 3];
        if (p.eye.z >= kNear)
            out[n++] = p;
        if ((p.eye.z >= kNear) != (q.eye.z >= kNear)) {
            const float f = (kNear - p.eye.z) / (q.eye.z - p.eye.z);
            out[n++] = {Lerp(p.eye, q.eye, f), p.s + (q.s - p.s) * f, p.t + (q.t - p.t) * f, Lerp(p.light, q.light, f)};
        }
    }
    if (n >= 3)
        Raster(v, out, tex, sky, opacity, frame);
    if (n == 4) {
        const Corner rest[3] = {out[0], out[2], out[3]};
        Raster(v, rest, tex, sky, opacity, frame);
    }
}

const Texture& TextureOf(std::map<std::string, Texture>& cache, const char* path) {
    auto found = cache.find(path);
    if (found != cache.end())
        return found->second;
    Texture& tex = cache[path];
    if (path[0] != '\0' && !tex.Load(path))
        fprintf(stderr, "contentgen: the track picture draws %s untextured\n", path);
    return tex;
}

View ViewOf(const TrackSettings& s, const CardView& card, int width, int height) {
    View v;
    const float* p = s.vehicleStartPosition;
    const Pose eye = CameraPoseOfVehicle({p[0], p[1], p[2], s.vehicleStartHeading});
    const float yaw = eye.yaw * kPi / 180.0f, down = card.lookDown * kPi / 180.0f;
    const Vec3 heading{std::sin(yaw), 0.0f, -std::cos(yaw)};
    v.forward = {std::sin(yaw) * std::cos(down), -std::sin(down), -std::cos(yaw) * std::cos(down)};
    v.right = {std::cos(yaw), 0.0f, std::sin(yaw)};
    v.up = Cross(v.right, v.forward);
    const Vec3 start{eye.x, eye.y, eye.z};
    v.eye = start - heading * card.back + Vec3{0.0f, card.up, 0.0f};
    v.width = width;
    v.height = height;
    v.focal = float(height) * 0.5f / std::tan(kFieldOfView * 0.5f * kPi / 180.0f);
    v.hasSun = s.hasSun;
    v.sun = Normalized(Vec3{s.sun.position[0], s.sun.position[1], s.sun.position[2]});
    v.ambient = {s.ambientColor[0], s.ambientColor[1], s.ambientColor[2]};
    // Like the race, only the four lamps nearest the eye light the scene.
    for (const SceneLight& l : s.lights)
        if (l.type == LIGHT_POINT && !l.castsShadows)
            v.lamps.push_back({{l.position[0], l.position[1], l.position[2]},
                               {l.color[0], l.color[1], l.color[2]},
                               l.range > 0.0f ? l.range : 1e6f});
    std::stable_sort(v.lamps.begin(), v.lamps.end(), [&v](const Lamp& a, const Lamp& b) {
        return Len(a.pos - v.eye) < Len(b.pos - v.eye);
    });
    if (v.lamps.size() > kLampsLit)
        v.lamps.resize(kLampsLit);
    v.fog = s.fogEnabled;
    v.fogColour = {s.fogColor[0], s.fogColor[1], s.fogColor[2]};
    v.fogDensity = s.fogDensity;
    return v;
}

Vec3 PositionOf(const CMilkshapeModel& m, uint16_t vertex) {
    const float* p = m.vertices[vertex].position;
    return {p[0], p[1], p[2]};
}

// The sky model turns with the view but stays centred on the eye, like the race's. Like the race, the
// see-through groups come after the opaque ones, blended, both faces, leaving the depth as it was.
void DrawModel(const View& v, const CMilkshapeModel& model, bool sky, bool translucent,
               std::map<std::string, Texture>& textures, Frame& frame) {
    const Vec3 eye = sky ? Vec3{0, 0, 0} : v.eye;
    for (const MsGroup& group : model.groups) {
        const MsMaterial* material = model.MaterialOf(group);
        if (!material || (material->transparency < 1.0f) != translucent)
            continue;
        const Texture& tex = TextureOf(textures, material->texture);
        for (uint32_t index : group.triangleIndices) {
            const MsTriangle& tri = model.triangles[index];
            const Vec3 p[3] = {PositionOf(model, tri.vertexIndices[0]), PositionOf(model, tri.vertexIndices[1]),
                               PositionOf(model, tri.vertexIndices[2])};
            const Vec3 face = Cross(p[1] - p[0], p[2] - p[0]);
            if (!translucent && Dot(face, eye - p[0]) <= 0.0f)  // the race culls back faces too
                continue;
            Corner c[3];
            int behind = 0, beyond = 0;
            for (int k = 0; k < 3; k++) {
                const Vec3 d = p[k] - eye;
                const float* vn = tri.vertexNormals[k];
                const Vec3 n = vn[0] * vn[0] + vn[1] * vn[1] + vn[2] * vn[2] > 0.0f ? Normalized({vn[0], vn[1], vn[2]})
                                                                                    : Normalized(face);
                c[k] = {{Dot(d, v.right), Dot(d, v.up), Dot(d, v.forward)}, tri.s[k], tri.t[k],
                        sky ? Vec3{1, 1, 1} : LightAt(v, *material, p[k], n)};
                behind += c[k].eye.z < kNear;
                beyond += !sky && c[k].eye.z >= kFar;
            }
            if (behind < 3 && beyond < 3)
                DrawTriangle(v, c, tex, sky, translucent ? material->transparency : 1.0f, frame);
        }
    }
}

uint8_t Byte(float value) {
    return uint8_t(std::min(255.0f, std::max(0.0f, value * 255.0f + 0.5f)));
}

}  // namespace

bool RenderTrackPicture(int track, const CardView& card, int width, int height, RgbImage& out) {
    const std::string script = TrackScriptPath(track - 1);
    TrackSettings s;
    LoadTrackSettings(script.c_str(), s);
    CMilkshapeModel model, skyModel;
    if (!model.Load(s.trackModel) || !skyModel.Load(s.skyModel)) {
        fprintf(stderr, "contentgen: cannot read the models of %s for its picture\n", script.c_str());
        return false;
    }
    std::map<std::string, Texture> textures;
    const View v = ViewOf(s, card, width * kSupersample, height * kSupersample);
    Frame frame;
    // Below the sky's skirt the race shows its clear colour: the fog's, or black.
    frame.colour.assign(size_t(v.width) * v.height, v.fog ? v.fogColour : Vec3{0, 0, 0});
    frame.depth.assign(frame.colour.size(), kFar);
    DrawModel(v, skyModel, true, false, textures, frame);
    DrawModel(v, model, false, false, textures, frame);
    DrawModel(v, model, false, true, textures, frame);
    out = RgbImage(width, height);
    constexpr float kShare = 1.0f / float(kSupersample * kSupersample);
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            Vec3 sum{0, 0, 0};
            for (int dy = 0; dy < kSupersample; dy++)
                for (int dx = 0; dx < kSupersample; dx++)
                    sum = sum + frame.colour[size_t(y * kSupersample + dy) * v.width + x * kSupersample + dx];
            sum = sum * kShare;
            out.Set(x, y, Byte(sum.x), Byte(sum.y), Byte(sum.z));
        }
    return true;
}
