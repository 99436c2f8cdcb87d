#include <gtest/gtest.h>

#include "splash/intromovie.h"
#include "splash/splash.h"
#include "testutil.h"

TEST(Splash, DonationAreaIncludesItsEdgesOnly) {
    EXPECT_TRUE(InDonationArea(60, 72));
    EXPECT_TRUE(InDonationArea(188, 113));
    EXPECT_TRUE(InDonationArea(120, 90));
    EXPECT_FALSE(InDonationArea(59, 72));
    EXPECT_FALSE(InDonationArea(189, 113));
    EXPECT_FALSE(InDonationArea(60, 71));
    EXPECT_FALSE(InDonationArea(188, 114));
}

TEST(Splash, PictureLoadsAndDamagedOnesAreRefused) {
    GameTreeSandbox sandbox;
    std::filesystem::create_directories(sandbox.Path("Textures"));
    // A 3x2 24-bit bitmap, rows bottom first and padded to 12 bytes.
    std::string bmp = std::string("BM") + std::string(52, '\0');
    auto put = [&bmp](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) bmp[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    put(2, 54 + 24);
    put(10, 54);
    put(14, 40);
    put(18, 3);
    put(22, 2);
    bmp[26] = 1;
    bmp[28] = 24;
    put(34, 24);
    std::string rows;
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) rows += std::string{static_cast<char>(10 * x), static_cast<char>(100 + y), 'z'};
        rows += std::string(3, '\0');
    }
    WriteText(sandbox.Path("Textures/ok.bmp"), bmp + rows);
    SplashPicture picture;
    ASSERT_TRUE(LoadSplashPicture("../Textures/ok.bmp", picture));
    EXPECT_EQ(picture.width, 3);
    EXPECT_EQ(picture.height, 2);
    // Top row first, as red, green, blue: the file's last row is (B, G, R) = (x * 10, 101, 'z').
    EXPECT_EQ(picture.rgb[0], 'z');
    EXPECT_EQ(picture.rgb[1], 101);
    EXPECT_EQ(picture.rgb[5], 10);

    for (size_t cut : {0, 10, 54, 60, 77}) {
        WriteText(sandbox.Path("Textures/cut.bmp"), (bmp + rows).substr(0, cut));
        EXPECT_FALSE(LoadSplashPicture("../Textures/cut.bmp", picture)) << cut;
    }
    std::string huge = bmp + rows;
    huge[19] = 0x7F;  // 32515 pixels wide
    WriteText(sandbox.Path("Textures/huge.bmp"), huge);
    EXPECT_FALSE(LoadSplashPicture("../Textures/huge.bmp", picture));
    EXPECT_FALSE(LoadSplashPicture("../Textures/missing.bmp", picture));
    EXPECT_NE(ReadText(sandbox.Path("bin/log.txt")).find("Splash bitmap ../Textures/missing.bmp cannot be opened"),
              std::string::npos);
}

TEST(IntroMovie, WindowedFillsTheWindowAndFullScreenKeepsProportions) {
    auto place = [](bool fullscreen, int w, int h) {
        const MovieRect r = IntroMovieRect(fullscreen, w, h, 320, 240);
        return std::to_string(r.x) + "," + std::to_string(r.y) + " " + std::to_string(r.width) + "x" +
               std::to_string(r.height);
    };
    EXPECT_EQ(place(false, 1024, 600), "0,0 1024x600");
    EXPECT_EQ(place(true, 1024, 600), "112,0 800x600");
    EXPECT_EQ(place(true, 640, 960), "0,240 640x480");
    EXPECT_EQ(place(true, 1024, 768), "0,0 1024x768");
}
