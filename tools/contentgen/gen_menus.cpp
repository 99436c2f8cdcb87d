// The main menu's 3D backdrop (one mesh of real lettering per entry, named after it, over a small desert
// scene) and every picture the menu screens show.
#include <cmath>
#include <cstdio>

#include "contentgen.h"
#include "imagewriter.h"
#include "menupictures.h"
#include "meshbuilder.h"
#include "ms3dwriter.h"
#include "strokefont.h"

namespace {

// The labels of the eight entries in their two pages; both pages share the four rows.
const char* const kEntries[8] = {"New Profile", "Load Profile", "Options", "Exit",
                                 "Video",       "Audio",        "Controls", "Back"};

constexpr float kCapHeight = 1.2f;    // world units
constexpr float kBarWidth = 0.9f;     // grid units of the stroke font
constexpr float kLetterDepth = 0.4f;  // world units
constexpr float kFirstRowY = 6.4f;
constexpr float kRowSpacing = 2.1f;

// One quad of flat triangles whose picture coordinates follow the lettering's height, so the chrome
// gradient runs over each whole letter and not over each bar.
void LetterQuad(MeshBuilder& mesh, const Vec3& a, const Vec3& b, const Vec3& c, const Vec3& d, float baseY,
                float left, float width) {
    auto uv = [&](const Vec3& p) { return UV{(p.x - left) / width, 1.0f - (p.y - baseY) / kCapHeight}; };
    mesh.AddFlatTriangle(a, b, c, uv(a), uv(b), uv(c));
    mesh.AddFlatTriangle(a, c, d, uv(a), uv(c), uv(d));
}

// A bar of lettering from a to b (world x, y at z = 0) with square ends, kLetterDepth deep.
void LetterBar(MeshBuilder& mesh, StrokePoint a, StrokePoint b, float halfWidth, float baseY, float left,
               float width) {
    float ux = b.x - a.x, uy = b.y - a.y;
    const float len = std::sqrt(ux * ux + uy * uy);
    if (len < 1e-5f) {
        ux = 0.0f;
        uy = 1.0f;
    } else {
        ux /= len;
        uy /= len;
    }
    const float nx = -uy, ny = ux;  // left of the bar's direction
    const StrokePoint outline[4] = {{a.x - (ux + nx) * halfWidth, a.y - (uy + ny) * halfWidth},
                                    {b.x + (ux - nx) * halfWidth, b.y + (uy - ny) * halfWidth},
                                    {b.x + (ux + nx) * halfWidth, b.y + (uy + ny) * halfWidth},
                                    {a.x - (ux - nx) * halfWidth, a.y - (uy - ny) * halfWidth}};
    const float zf = kLetterDepth * 0.5f, zb = -kLetterDepth * 0.5f;
    Vec3 front[4], back[4];
    for (int i = 0; i < 4; i++) {
        front[i] = {outline[i].x, outline[i].y, zf};
        back[i] = {outline[i].x, outline[i].y, zb};
    }
    LetterQuad(mesh, front[0], front[1], front[2], front[3], baseY, left, width);
    LetterQuad(mesh, back[3], back[2], back[1], back[0], baseY, left, width);
    for (int i = 0; i < 4; i++) {
        const int j = (i + 1) % 4;
        LetterQuad(mesh, back[i], back[j], front[j], front[i], baseY, left, width);
    }
}

// The entry's lettering in capitals, centred on the vertical axis it turns about, baseline at baseY.
void AddLettering(MeshBuilder& mesh, const char* text, float baseY) {
    const float k = kCapHeight / kGlyphHeight;
    const float width = StrokeTextWidth(text) * k;
    const float left = -width * 0.5f;
    ForEachStrokeBar(text, [&](const StrokePoint& a, const StrokePoint& b) {
        LetterBar(mesh, {left + a.x * k, baseY + a.y * k}, {left + b.x * k, baseY + b.y * k}, kBarWidth * k * 0.5f,
                  baseY, left, width);
    });
}

MaterialSpec Material(const char* name, const char* texture, float diffuse, float specular, float shininess,
                      float emissive) {
    MaterialSpec m;
    m.name = name;
    m.texture = texture;
    for (int c = 0; c < 3; c++) {
        m.ambient[c] = 0.5f;
        m.diffuse[c] = diffuse;
        m.specular[c] = specular;
        m.emissive[c] = emissive;
    }
    m.shininess = shininess;
    return m;
}

bool WriteMenuModel(const std::string& root) {
    CMilkshapeModel model;
    MeshBuilder mesh(model);
    const int chrome = mesh.AddMaterial(Material("chrome", "../Textures/men_chrome.jpg", 0.9f, 0.9f, 60.0f, 0.1f));
    const int sand = mesh.AddMaterial(Material("sand", "../Textures/men_sand.jpg", 0.8f, 0.0f, 0.0f, 0.35f));
    const int metal = mesh.AddMaterial(Material("metal", "../Textures/men_metal.jpg", 0.8f, 0.5f, 30.0f, 0.15f));
    for (int i = 0; i < 8; i++) {
        mesh.BeginGroup(kEntries[i], chrome);
        AddLettering(mesh, kEntries[i], kFirstRowY - kRowSpacing * float(i % 4));
    }
    // Scenery: meshes named after no entry stay where they are.
    mesh.BeginGroup("desert", sand);
    mesh.AddQuad({-150.0f, -1.0f, 30.0f}, {150.0f, -1.0f, 30.0f}, {150.0f, -1.0f, -160.0f}, {-150.0f, -1.0f, -160.0f},
                 30.0f, 19.0f);
    mesh.BeginGroup("pedestal", metal);
    mesh.AddCylinder({0.0f, -1.0f, 0.0f}, 8.5f, 0.6f, 48, true);
    mesh.AddCylinder({0.0f, -0.4f, 0.0f}, 7.6f, 0.25f, 48, true);
    mesh.BeginGroup("pylons", metal);
    // Two each side of the lettering, as the camera sees it.
    const float pylons[][3] = {{-8.0f, -12.0f, 10.0f}, {-14.0f, -40.0f, 16.0f}, {25.0f, -6.0f, 11.0f},
                               {45.0f, -20.0f, 16.0f}};
    for (const auto& p : pylons) {
        mesh.AddBox({p[0] - 0.8f, -1.0f, p[1] - 0.8f}, {p[0] + 0.8f, p[2], p[1] + 0.8f}, 1.0f);
        mesh.AddBox({p[0] - 1.4f, p[2], p[1] - 1.4f}, {p[0] + 1.4f, p[2] + 0.5f, p[1] + 1.4f}, 1.0f);
    }
    if (!mesh.ok()) {
        fprintf(stderr, "contentgen: the menu model does not fit a Milkshape file\n");
        return false;
    }
    return WriteMs3d(root + "/Models/mainmenu.ms3d", model);
}

// "icons/<size>.png": the desktop's icon at the sizes the install puts into the hicolor theme.
bool WriteIcons(const std::string& root) {
    for (int size : {48, 64, 128, 256})
        if (!WritePng(root + "/icons/" + std::to_string(size) + ".png", PaintIcon(size)))
            return false;
    return true;
}

}  // namespace

bool GenerateMenus(const std::string& root) {
    const std::string textures = root + "/Textures/";
    return WriteMenuModel(root) && WriteJpeg(textures + "men_chrome.jpg", PaintChrome()) &&
           WriteJpeg(textures + "men_sand.jpg", PaintSand()) && WriteJpeg(textures + "men_metal.jpg", PaintMetal()) &&
           WriteJpeg(textures + "sky_desert_south.jpg", PaintDesertSky()) &&
           WriteJpeg(textures + "men_logo.jpg", PaintLogo()) && WriteJpeg(textures + "doompanel.jpg", PaintPanel()) &&
           WriteBmp(textures + "lockandchain.bmp", PaintLockAndChain()) && WriteTrackPictures(root) &&
           WriteIcons(root);
}
