#include "platform/fontface.h"

#include "app/log.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <set>
#include <strings.h>

namespace {

struct FreeTypeLibrary {
    FT_Library library = nullptr;
    FreeTypeLibrary() {
        if (FT_Init_FreeType(&library) != 0) {
            library = nullptr;
            Log("FreeType could not be initialised; text is not drawn");
        }
    }
    ~FreeTypeLibrary() {
        if (library)
            FT_Done_FreeType(library);
    }
};

FT_Library Library() {
    static FreeTypeLibrary instance;
    return instance.library;
}

struct FaceHandle {
    FT_Face face = nullptr;
    ~FaceHandle() { Reset(); }
    void Reset() {
        if (face)
            FT_Done_Face(face);
        face = nullptr;
    }
};

struct PatternHandle {
    FcPattern* pattern = nullptr;
    explicit PatternHandle(FcPattern* p) : pattern(p) {}
    ~PatternHandle() {
        if (pattern)
            FcPatternDestroy(pattern);
    }
};

// A face found by fontconfig.
struct FaceFile {
    std::string file;
    int index = 0;
    std::string family;
};

// Private faces by the lower-case name they were registered under. An empty family marks a name
// whose file could not be registered (already logged).
std::map<std::string, std::string> gPrivateFamilies;
std::set<std::string> gReportedFaces;

const char* const kSansFallback = "sans-serif";
const int kDefaultCellHeight = 16;
const int kMaxCellHeight = 2048;  // beyond any screen; bounds the glyph memory

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(tolower(c)); });
    return text;
}

std::string Narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text)
        out += (c > 0 && c < 128) ? static_cast<char>(c) : '?';
    return out;
}

// The metric-compatible faces that stand in for the Windows core fonts.
std::string SystemFamily(const std::string& name) {
    if (Lower(name) == "arial")
        return "Liberation Sans";
    if (Lower(name) == "courier new")
        return "Liberation Mono";
    return name;
}

bool MatchFamily(const std::string& family, int weight, bool privateOnly, FaceFile& out) {
    PatternHandle pattern(FcPatternCreate());
    if (!pattern.pattern)
        return false;
    FcPatternAddString(pattern.pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddDouble(pattern.pattern, FC_WEIGHT, FcWeightFromOpenTypeDouble(weight));
    FcPatternAddBool(pattern.pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern.pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern.pattern);

    FcResult result = FcResultNoMatch;
    FcPattern* found = nullptr;
    if (privateOnly) {
        FcFontSet* sets[] = {FcConfigGetFonts(nullptr, FcSetApplication)};
        if (!sets[0])
            return false;
        found = FcFontSetMatch(nullptr, sets, 1, pattern.pattern, &result);
    } else {
        found = FcFontMatch(nullptr, pattern.pattern, &result);
    }
    PatternHandle match(found);
    if (!match.pattern)
        return false;

    FcChar8* file = nullptr;
    FcChar8* matchedFamily = nullptr;
    if (FcPatternGetString(match.pattern, FC_FILE, 0, &file) != FcResultMatch)
        return false;
    out.file = reinterpret_cast<const char*>(file);
    if (FcPatternGetInteger(match.pattern, FC_INDEX, 0, &out.index) != FcResultMatch)
        out.index = 0;
    if (FcPatternGetString(match.pattern, FC_FAMILY, 0, &matchedFamily) == FcResultMatch)
        out.family = reinterpret_cast<const char*>(matchedFamily);

    if (privateOnly)
        return true;
    // fontconfig always answers with something; only a face of the asked family counts.
    for (int i = 0; FcPatternGetString(match.pattern, FC_FAMILY, i, &matchedFamily) == FcResultMatch; ++i)
        if (strcasecmp(reinterpret_cast<const char*>(matchedFamily), family.c_str()) == 0)
            return true;
    return family == kSansFallback;
}

void ReportOnce(const std::string& name, const std::string& message) {
    if (gReportedFaces.insert(Lower(name)).second)
        Log("%s", message.c_str());
}

FaceFile ResolveFace(const std::string& name, int weight) {
    FaceFile face;
    auto priv = gPrivateFamilies.find(Lower(name));
    if (priv != gPrivateFamilies.end()) {
        if (!priv->second.empty() && MatchFamily(priv->second, weight, true, face))
            return face;
    } else if (MatchFamily(SystemFamily(name), weight, false, face)) {
        return face;
    }
    face = FaceFile();
    MatchFamily(kSansFallback, weight, false, face);
    if (priv == gPrivateFamilies.end())
        ReportOnce(name, "Font face " + name + " not found; using " +
                             (face.family.empty() ? std::string("nothing") : face.family));
    return face;
}

// Font units of the whole character cell: the Windows ascent and descent when the face has them.
long CellUnits(FT_Face face) {
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0)
        return os2->usWinAscent + os2->usWinDescent;
    if (face->ascender - face->descender > 0)
        return face->ascender - face->descender;
    return face->units_per_EM;
}

long AscentUnits(FT_Face face) {
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0)
        return os2->usWinAscent;
    return face->ascender > 0 ? face->ascender : face->units_per_EM;
}

// fontconfig reports the asked weight for its match, so ask the face itself.
bool IsBoldFace(FT_Face face) {
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->version != 0xFFFF)
        return os2->usWeightClass >= 600;
    return (face->style_flags & FT_STYLE_FLAG_BOLD) != 0;
}

bool OpenSizedFace(const FaceFile& file, int cellHeight, FaceHandle& handle, GlyphSet& set) {
    FT_Library library = Library();
    if (!library || file.file.empty())
        return false;
    if (FT_New_Face(library, file.file.c_str(), file.index, &handle.face) != 0) {
        handle.face = nullptr;
        return false;
    }
    FT_Face face = handle.face;
    if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0)
        return false;
    const long cell = CellUnits(face);
    double pixelsPerEm;
    if (cellHeight >= 0) {
        const int height = cellHeight > 0 ? std::min(cellHeight, kMaxCellHeight) : kDefaultCellHeight;
        pixelsPerEm = double(height) * face->units_per_EM / double(cell);
        set.ascent = int(std::lround(double(AscentUnits(face)) * height / double(cell)));
        set.descent = height - set.ascent;
    } else {
        pixelsPerEm = std::min(-cellHeight, kMaxCellHeight);
        set.ascent = int(std::lround(double(AscentUnits(face)) * pixelsPerEm / face->units_per_EM));
        set.descent = int(std::lround(double(cell) * pixelsPerEm / face->units_per_EM)) - set.ascent;
    }
    if (FT_Set_Char_Size(face, 0, FT_F26Dot6(std::lround(pixelsPerEm * 64.0)), 72, 72) != 0)
        return false;
    set.file = file.file;
    set.family = file.family;
    return true;
}

GlyphBitmap RenderGlyph(FT_Face face, int code, bool embolden) {
    GlyphBitmap glyph;
    if (FT_Load_Char(face, FT_ULong(code), FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_MONO) != 0)
        return glyph;
    FT_GlyphSlot slot = face->glyph;
    if (embolden)
        FT_GlyphSlot_Embolden(slot);
    glyph.advance = std::round(float(slot->advance.x) / 64.0f);
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0)
        return glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    if (bitmap.pixel_mode != FT_PIXEL_MODE_MONO || bitmap.width == 0 || bitmap.rows == 0)
        return glyph;
    glyph.width = int(bitmap.width);
    glyph.rows = int(bitmap.rows);
    glyph.xorig = float(-slot->bitmap_left);
    glyph.yorig = float(glyph.rows - slot->bitmap_top);
    const size_t rowBytes = size_t(glyph.width + 7) / 8;
    const size_t pitch = size_t(std::abs(bitmap.pitch));
    glyph.bits.resize(rowBytes * size_t(glyph.rows));
    for (int down = 0; down < glyph.rows; ++down) {
        // FreeType stores rows top-down for a positive pitch; glBitmap wants them bottom-up.
        const int stored = bitmap.pitch >= 0 ? down : glyph.rows - 1 - down;
        const uint8_t* src = bitmap.buffer + size_t(stored) * pitch;
        std::copy(src, src + rowBytes, glyph.bits.begin() + long(size_t(glyph.rows - 1 - down) * rowBytes));
    }
    if (std::all_of(glyph.bits.begin(), glyph.bits.end(), [](uint8_t b) { return b == 0; })) {
        glyph.width = glyph.rows = 0;
        glyph.xorig = glyph.yorig = 0.0f;
        glyph.bits.clear();
    }
    return glyph;
}

struct FontconfigSession {
    bool ready = FcInit() == FcTrue;
    ~FontconfigSession() {
        if (ready)
            FcFini();
    }
};

bool EnsureFontconfig() {
    static FontconfigSession session;
    return session.ready;
}

}  // namespace

bool RegisterPrivateFontFile(const std::string& path, const std::wstring& faceName) {
    const std::string name = Lower(Narrow(faceName));
    gPrivateFamilies[name] = std::string();
    std::error_code error;
    const std::string full = std::filesystem::absolute(path, error).string();
    int count = 0;
    FcPattern* query = EnsureFontconfig() && std::filesystem::is_regular_file(full, error)
                           ? FcFreeTypeQuery(reinterpret_cast<const FcChar8*>(full.c_str()), 0, nullptr, &count)
                           : nullptr;
    PatternHandle described(query);
    FcChar8* family = nullptr;
    if (!described.pattern ||
        FcPatternGetString(described.pattern, FC_FAMILY, 0, &family) != FcResultMatch ||
        !FcConfigAppFontAddFile(nullptr, reinterpret_cast<const FcChar8*>(full.c_str()))) {
        gReportedFaces.insert(name);
        Log("Font file %s is missing or unreadable; %s text falls back to a sans face", path.c_str(),
            Narrow(faceName).c_str());
        return false;
    }
    gPrivateFamilies[name] = reinterpret_cast<const char*>(family);
    return true;
}

void UnregisterPrivateFontFiles() {
    if (!gPrivateFamilies.empty() && EnsureFontconfig())
        FcConfigAppFontClear(nullptr);
    gPrivateFamilies.clear();
}

GlyphSet RenderFaceGlyphs(const std::wstring& faceName, int cellHeight, int weight, int first, int count) {
    GlyphSet set;
    set.glyphs.resize(size_t(std::max(count, 0)));
    if (!EnsureFontconfig())
        return set;
    const std::string name = Narrow(faceName);
    const int wanted = weight > 0 ? std::min(weight, 1000) : 400;
    FaceHandle handle;
    FaceFile file = ResolveFace(name, wanted);
    if (!OpenSizedFace(file, cellHeight, handle, set)) {
        ReportOnce(file.file, "Font file " + file.file + " of face " + name + " cannot be read; using a sans face");
        handle.Reset();
        file = FaceFile();
        if (!MatchFamily(kSansFallback, wanted, false, file) ||
            !OpenSizedFace(file, cellHeight, handle, set))
            return set;
    }
    set.syntheticBold = wanted >= 600 && !IsBoldFace(handle.face);
    for (int i = 0; i < count; ++i)
        set.glyphs[size_t(i)] = RenderGlyph(handle.face, first + i, set.syntheticBold);
    return set;
}
