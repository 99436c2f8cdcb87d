#include "hud/bitmapfont.h"

#include <GL/glew.h>

#include "platform/files.h"
#include "platform/fontface.h"

namespace {

const int kFirstCode = 32;
const int kNumCodes = 96;
// Mesa skips a glBitmap without data, advance and all, so blank glyphs get an empty one.
const GLubyte kNoBits = 0;

bool Printable(unsigned char c) {
    return c >= kFirstCode && c < kFirstCode + kNumCodes;
}

}  // namespace

CBitmapFont::CBitmapFont(const wchar_t* face, int16_t height, int weight) {
    listBase = glGenLists(kNumCodes);
    if (listBase == 0)
        return;
    const GlyphSet set = RenderFaceGlyphs(face ? face : L"", height, weight, kFirstCode, kNumCodes);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);  // glyph rows are packed
    for (int k = 0; k < kNumCodes; ++k) {
        const GlyphBitmap& g = set.glyphs[size_t(k)];
        glNewList(listBase + GLuint(k), GL_COMPILE);
        glBitmap(g.width, g.rows, g.xorig, g.yorig, g.advance, 0.0f, g.bits.empty() ? &kNoBits : g.bits.data());
        glEndList();
    }
    glPopClientAttrib();
}

CBitmapFont::~CBitmapFont() {
    if (listBase != 0)
        glDeleteLists(listBase, kNumCodes);
}

void CBitmapFont::Print(const char* text, int x, int y) const {
    glColor4f(red, green, blue, alpha);
    if (listBase != 0 && text) {
        glPushAttrib(GL_LIST_BIT);
        glListBase(listBase - kFirstCode);
        glRasterPos2f(float(x), float(y));
        // A byte outside the font would call some other font's lists: draw runs of printable bytes only.
        const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
        while (*p) {
            const unsigned char* run = p;
            while (*p && Printable(*p))
                ++p;
            if (p > run)
                glCallLists(GLsizei(p - run), GL_UNSIGNED_BYTE, run);
            while (*p && !Printable(*p))
                ++p;
        }
        glPopAttrib();
    }
    // Under colour material (the race's lighting) a colour is the material's too, and the flat pass puts back
    // the colour but not the material: the scene after the HUD is drawn over this one.
    glColor4f(1.0f, 1.0f, 1.0f, 0.5f);
}

void CBitmapFont::SetColor(float r, float g, float b, float a) {
    red = r;
    green = g;
    blue = b;
    alpha = a;
}

void CBitmapFont::SetColor(const float rgba[4]) {
    SetColor(rgba[0], rgba[1], rgba[2], rgba[3]);
}

std::unique_ptr<CBitmapFont> MakeFont(const wchar_t* face, int height, int weight, float r, float g, float b) {
    auto font = std::make_unique<CBitmapFont>(face, int16_t(height), weight);
    font->SetColor(r, g, b);
    return font;
}

void RegisterPrivateFont() {
    RegisterPrivateFontFile(GamePath("../hudFont.ttf"), L"Beware");
}

void UnregisterPrivateFont() {
    UnregisterPrivateFontFiles();
}
