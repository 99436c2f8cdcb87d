#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

#include "glcontext.h"
#include "imagewriter.h"
#include "scene/sgiimage.h"
#include "scene/textureimage.h"
#include "scene/texturemanager.h"
#include "testutil.h"

namespace {

// Top half red, bottom half blue, with one colour-key pixel at the top-left corner when keyed.
RgbImage TwoBands(int w, int h, bool keyed) {
    RgbImage image(w, h, 0, 0, 255);
    image.Fill(0, 0, w, h / 2, 255, 0, 0);
    if (keyed)
        image.Set(0, 0, kColourKey[0], kColourKey[1], kColourKey[2]);
    return image;
}

TextureImage Prepare(const std::vector<uint8_t>& file, int maxSize = 4096) {
    TextureImage out;
    const char* error = "";
    EXPECT_TRUE(PrepareTextureImage(file.data(), file.size(), maxSize, out, error)) << error;
    return out;
}

const uint8_t* Texel(const TextureImage& t, int x, int y) {
    return &t.rgba[(size_t(y) * t.width + x) * 4];
}

// A setting of the texture (its minifying filter) or of its first level (its width).
GLint TextureParameter(uint32_t id, GLenum name) {
    GLint value = 0;
    glBindTexture(GL_TEXTURE_2D, id);
    if (name == GL_TEXTURE_MIN_FILTER)
        glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
    else
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, name, &value);
    return value;
}

}  // namespace

// The picture as libjpeg writes it progressive with the finest script (as cjpeg -scans takes it): the DC of all
// components, then one scan per AC coefficient per component, 1 + 3 x 63 = 190 scans.
std::vector<uint8_t> EncodeOneCoefficientAScan(const RgbImage& picture) {
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(picture.width);
    info.image_height = JDIMENSION(picture.height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    std::vector<jpeg_scan_info> scans(1, jpeg_scan_info{3, {0, 1, 2, 0}, 0, 0, 0, 0});
    for (int component = 0; component < 3; ++component)
        for (int k = 1; k < 64; ++k)
            scans.push_back({1, {component, 0, 0, 0}, k, k, 0, 0});
    info.scan_info = scans.data();
    info.num_scans = int(scans.size());
    jpeg_start_compress(&info, TRUE);
    for (int y = 0; y < picture.height; ++y) {
        JSAMPROW row = const_cast<JSAMPROW>(picture.At(0, y));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<uint8_t> file(buffer, buffer + size);
    free(buffer);
    return file;
}

// A BMP holds its rows bottom-up and a JPEG top-down; both arrive bottom row first. Files as cameras, editors
// and libjpeg's own tools write them load, and damage the decoder patches over (stray bytes, a file cut short in
// its pixels) is reported beside the picture; what it cannot decode is refused with its reason.
TEST(Images, PicturesLoadInColourOrAreRefusedAndTheColourKeyClearsItsPixelOnly) {
    GameTreeSandbox tree;
    const RgbImage picture = TwoBands(64, 48, false);
    ASSERT_TRUE(WriteBmp(tree.Path("Scripts/source.bmp"), picture));
    auto convert = [&](const std::string& options) {
        const std::string out = tree.Path("Scripts/out.jpg");
        EXPECT_EQ(std::system(("convert " + tree.Path("Scripts/source.bmp") + " " + options + " " + out).c_str()), 0);
        const std::string text = ReadText(out);
        return std::vector<uint8_t>(text.begin(), text.end());
    };
    const std::vector<uint8_t> plain = convert("-quality 95"), jpeg = EncodeJpeg(picture, 100);
    std::vector<uint8_t> stray = plain, cut = plain;
    stray.insert(stray.end() - 2, 32, 0x5a);  // more than the entropy decoder reads ahead
    cut.resize(cut.size() - 8);
    const uint8_t red[3] = {255, 0, 0}, blue[3] = {0, 0, 255}, greyRed[3] = {76, 76, 76}, greyBlue[3] = {29, 29, 29};
    struct Case {
        const char* name;
        std::vector<uint8_t> file;
        const char* warning;
        const uint8_t *top, *bottom;  // top none: refused
    };
    const Case cases[] = {
        {"BMP", EncodeBmp(picture), nullptr, red, blue},
        {"JPEG", jpeg, nullptr, red, blue},
        {"stray bytes", stray, "extraneous bytes before marker 0xd9", red, blue},
        {"cut short", cut, "Premature end of JPEG file", red, nullptr},
        {"CMYK (YCCK, Adobe)", convert("-colorspace CMYK -quality 95"), nullptr, red, blue},
        {"greyscale", convert("-colorspace Gray -quality 95"), nullptr, greyRed, greyBlue},
        {"190 scans", EncodeOneCoefficientAScan(picture), nullptr, red, blue},
        {"text", {'h', 'e', 'l', 'l', 'o'}, nullptr, nullptr, nullptr},
        {"cut in the header", {jpeg.begin(), jpeg.begin() + 100}, nullptr, nullptr, nullptr},
    };
    for (const Case& c : cases) {
        TextureImage out;
        const char* error = "";
        const bool decoded = PrepareTextureImage(c.file.data(), c.file.size(), 256, out, error);
        const std::string warning = error ? error : "";
        EXPECT_EQ(decoded, c.top != nullptr) << c.name << ": " << warning;
        EXPECT_EQ(warning.empty(), decoded && !c.warning) << c.name << ": " << warning;
        if (!decoded || !c.top)
            continue;
        EXPECT_TRUE(!c.warning || warning.find(c.warning) != std::string::npos) << warning;
        EXPECT_FALSE(out.transparent) << c.name;
        for (int channel = 0; channel < 3; ++channel) {
            EXPECT_NEAR(Texel(out, 32, 60)[channel], c.top[channel], 24) << c.name;
            EXPECT_TRUE(!c.bottom || std::abs(Texel(out, 32, 4)[channel] - c.bottom[channel]) <= 24) << c.name;
        }
    }

    // The colour key's pixel was the picture's top-left: the last row's first texel, and only it is clear. Sides
    // round on the log scale.
    const TextureImage t = Prepare(EncodeBmp(TwoBands(300, 200, true)));
    ASSERT_EQ(t.width, 256);
    ASSERT_EQ(t.height, 256);
    EXPECT_TRUE(t.transparent);
    EXPECT_EQ(std::vector<int>({Texel(t, 0, 255)[3], Texel(t, 1, 255)[3], Texel(t, 0, 254)[3]}),
              std::vector<int>({0, 255, 255}));
    EXPECT_EQ(TextureSide(400, 4096), 512);
    EXPECT_EQ(TextureSide(1, 4096), 1);
    EXPECT_EQ(Prepare(EncodeBmp(TwoBands(400, 200, false)), 128).width, 128);  // wider than the limit: the limit
}

// Verbatim and run-length files read back bottom row first; damaged ones are cut to fit or refused.
TEST(Images, SgiFilesWholeAndDamaged) {
    GrayImage gray(5, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            gray.At(x, y) = uint8_t(y == 1 ? 200 : 10 * x + y);  // row 1 is one long run
    const GrayImage flat(4, 2, 7);
    const std::vector<uint8_t> file = EncodeBw(flat, true), verbatim = EncodeBw(flat, false);
    const size_t row0 = 512 + 16;
    const struct {
        const char* name;
        std::vector<uint8_t> file;
        size_t at;
        int value;  // -1: the byte at is kept
        size_t cut;  // bytes cut off the end
        std::vector<uint8_t> pixels;  // none: refused
        int width = 4;
    } cases[] = {
        {"verbatim", EncodeBw(gray, false), 0, -1, 0, gray.pixels, 5},
        {"run-length", EncodeBw(gray, true), 0, -1, 0, gray.pixels, 5},
        {"a run-length row starting with 0 yields no pixels", file, row0, 0, 0, {0, 0, 0, 0, 7, 7, 7, 7}},
        {"a run longer than the row is cut at its end", file, row0, 0x7F, 0, std::vector<uint8_t>(8, 7)},
        {"more than one channel", file, 11, 3, 0, {}},
        {"zero size", file, 7, 0, 0, {}},
        {"verbatim, cut short", verbatim, 0, -1, 1, {}},
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> bad(c.file.begin(), c.file.end() - long(c.cut));
        if (c.value >= 0)
            bad[c.at] = uint8_t(c.value);
        BwImage image;
        const char* error = "";
        EXPECT_EQ(ReadBwImage(bad.data(), bad.size(), image, error), !c.pixels.empty()) << c.name;
        EXPECT_EQ(image.pixels, c.pixels) << c.name;
        EXPECT_EQ(image.width, c.pixels.empty() ? 0 : c.width) << c.name;
    }
}

TEST(Images, TextureManagerKeepsDropsAndLogsTextures) {
    ASSERT_TRUE(MakeTestGLContext());
    GameTreeSandbox tree;
    ASSERT_TRUE(WriteBmp(tree.Path("Textures/a.bmp"), TwoBands(16, 16, false)));
    ASSERT_TRUE(WriteJpeg(tree.Path("Textures/b.jpg"), TwoBands(300, 200, false)));
    ASSERT_TRUE(WriteBmp(tree.Path("Textures/c.bmp"), TwoBands(16, 16, true)));
    ASSERT_TRUE(WriteBw(tree.Path("Textures/Shine0.bw"), GrayImage(16, 16, 99)));
    WriteText(tree.Path("Textures/bad.jpg"), "not a picture");
    WriteText(tree.Path("Textures/bad.bw"), "short");

    TextureManager textures;

    const uint32_t a = textures.Load("../Textures/a.bmp", false);
    const uint32_t b = textures.Load("..\\Textures\\b.jpg", false);
    const uint32_t c = textures.Load("../Textures/c.bmp", true);
    const uint32_t shine = textures.LoadRaw("..\\Textures\\Shine0.bw");
    ASSERT_TRUE(a && b && c && shine);
    EXPECT_EQ(TextureParameter(b, GL_TEXTURE_WIDTH), 256);  // 300 x 200 rounded on the log scale
    EXPECT_EQ(textures.Load("../Textures/a.bmp", false), a);  // decoded once
    EXPECT_EQ(textures.LoadRaw("..\\Textures\\Shine0.bw"), shine);
    EXPECT_EQ(textures.Entries().size(), 5u);
    // A later request with keep turns the temporary texture into a kept one.
    EXPECT_EQ(textures.Load("..\\Textures\\b.jpg", true), b);
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(textures.Load("../Textures/missing.jpg", false), 0u);
    EXPECT_EQ(textures.Entries().size(), 6u);  // one entry for the missing file, however often asked
    // Files that do not decode are entries too, and say why.
    EXPECT_EQ(textures.Load("../Textures/bad.jpg", false), 0u);
    EXPECT_EQ(textures.LoadRaw("../Textures/bad.bw"), 0u);
    EXPECT_TRUE(Logged("Failed to decode texture ../Textures/bad.jpg"));
    EXPECT_TRUE(Logged("Failed to read SGI image ../Textures/bad.bw: truncated header"));

    // The keyed picture is nearest-filtered without mipmaps, the plain one mipmapped.
    EXPECT_EQ(TextureParameter(c, GL_TEXTURE_MIN_FILTER), GL_NEAREST);
    EXPECT_EQ(TextureParameter(a, GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);

    textures.UnloadTemporary();
    ASSERT_EQ(textures.Entries().size(), 5u);  // a.bmp, missing.jpg and bad.jpg went, the kept bad.bw stays
    EXPECT_EQ(textures.Entries()[1].id, b);
    EXPECT_FALSE(glIsTexture(a));
    EXPECT_TRUE(glIsTexture(b));

    EXPECT_FALSE(textures.Unload(0));  // never the reserved entry
    EXPECT_FALSE(textures.Unload(a));
    EXPECT_TRUE(textures.Unload(c));
    EXPECT_EQ(textures.Entries().size(), 4u);
    EXPECT_FALSE(glIsTexture(c));
    // A new name after a deletion never collides with a live one.
    const uint32_t again = textures.Load("../Textures/a.bmp", true);
    EXPECT_NE(again, b);
    EXPECT_NE(again, shine);

    // Damage the decoder patches over is logged beside the texture, which is made; clean files log nothing.
    std::string damaged = ReadText(tree.Path("Textures/b.jpg"));
    damaged.insert(damaged.size() - 2, 32, 'Z');
    WriteText(tree.Path("Textures/d.jpg"), damaged);
    EXPECT_NE(textures.Load("../Textures/d.jpg", false), 0u);
    EXPECT_EQ(CountOf(LogText(), "damaged but shown"), 1);
    EXPECT_TRUE(Logged("Texture ../Textures/d.jpg is damaged but shown: Corrupt JPEG data: "));
}

TEST(ImagesDeathTest, MissingSgiFileEndsTheProcess) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");  // the GL driver may have started threads
    GameTreeSandbox tree;
    EXPECT_EXIT(LoadBwTexture("../Textures/Flare9.bw"), testing::ExitedWithCode(1), "Flare9.bw");
}
