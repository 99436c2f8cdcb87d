#include <gtest/gtest.h>

#include <cstdlib>

#include "imagewriter.h"
#include "kit_movie.h"
#include "platform/moviedecoder.h"
#include "splash/intromovie.h"
#include "splash/splash.h"
#include "testutil.h"

TEST(Splash, PictureLoadsAndDamagedOnesAreRefused) {
    GameTreeSandbox sandbox;
    // The good picture's colours, its rows' order and its size are what the splash e2e test sees in the window;
    // here its damaged copies are refused.
    const std::vector<uint8_t> bytes = EncodeBmp(RgbImage(3, 2, 'z', 101, 10));
    const std::string bmp(bytes.begin(), bytes.end());
    WriteText(sandbox.Path("Textures/ok.bmp"), bmp);
    SplashPicture picture;
    ASSERT_TRUE(LoadSplashPicture("../Textures/ok.bmp", picture));
    std::string huge = bmp;
    huge[19] = 0x7F;  // 32515 pixels wide
    for (const std::string& bad :
         {bmp.substr(0, 0), bmp.substr(0, 10), bmp.substr(0, 54), bmp.substr(0, bmp.size() - 1), huge}) {
        WriteText(sandbox.Path("Textures/bad.bmp"), bad);
        EXPECT_FALSE(LoadSplashPicture("../Textures/bad.bmp", picture)) << bad.size();
    }
    EXPECT_FALSE(LoadSplashPicture("../Textures/missing.bmp", picture));
    EXPECT_TRUE(Logged("Splash bitmap ../Textures/missing.bmp cannot be opened"));
}

// A windowed movie fills the window, a full-screen one keeps its proportions. Pictures 7 pixels wide are rows
// swscale's vector code writes past the end of. A movie without a sound track still decodes and only the sound is
// refused. (The sound track decoded and heard: test_intromovie.)
TEST(IntroMovie, PlacedInTheWindowNarrowPicturesDecodeWithoutASoundTrack) {
    auto place = [](bool fullscreen, int w, int h) {
        const MovieRect r = IntroMovieRect(fullscreen, w, h, 320, 240);
        return std::to_string(r.x) + "," + std::to_string(r.y) + " " + std::to_string(r.width) + "x" +
               std::to_string(r.height);
    };
    EXPECT_EQ(place(false, 1024, 600), "0,0 1024x600");
    EXPECT_EQ(place(true, 1024, 600), "112,0 800x600");
    EXPECT_EQ(place(true, 640, 960), "0,240 640x480");
    EXPECT_EQ(place(true, 1024, 768), "0,0 1024x768");
    GameTreeSandbox sandbox;
    MovieWriter writer(sandbox.Path("narrow.avi"), 7, 6, 25, 0);
    Canvas grey(7, 6);
    grey.FillRect(0, 0, 7, 6, {220, 220, 220});
    for (int i = 0; i < 3; ++i)
        writer.Add(grey, i);
    ASSERT_TRUE(writer.Finish());
    MovieDecoder movie;
    ASSERT_TRUE(movie.Open("../narrow.avi"));
    std::vector<uint8_t> rgb;
    int frames = 0;
    for (; movie.NextFrame(rgb); ++frames)
        EXPECT_TRUE(rgb.size() == 7u * 6 * 3 && std::abs(rgb[(2 * 7 + 3) * 3] - 220) <= 8);
    EXPECT_EQ(frames, 3);
    EXPECT_FALSE(MovieSoundDecoder().Open("../narrow.avi"));
}
