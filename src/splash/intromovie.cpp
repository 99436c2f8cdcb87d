#include "splash/intromovie.h"

#include <GL/glew.h>
#include <GL/freeglut.h>

#include <vector>

#include "app/log.h"
#include "data/settings.h"
#include "hud/draw2d.h"
#include "platform/clock.h"
#include "platform/moviedecoder.h"
#include "scene/glstate.h"
#include "scene/texturemanager.h"
#include "splash/moviesound.h"

namespace {

constexpr char kIntroMovie[] = "../nimbrellogo.avi";

// Shows the frames in the window, letterboxed in full screen.
class MovieScreen {
public:
    MovieScreen(const MovieDecoder& movie, bool fullscreen)
        : mTexture(CreateMovieTexture(movie.Width(), movie.Height())),
          mRect(IntroMovieRect(fullscreen, gSettings.screenWidth, gSettings.screenHeight, movie.Width(),
                               movie.Height())),
          mMovieWidth(movie.Width()),
          mMovieHeight(movie.Height()) {}
    ~MovieScreen() { DeleteTexture(mTexture); }
    MovieScreen(const MovieScreen&) = delete;
    MovieScreen& operator=(const MovieScreen&) = delete;

    void Show(const std::vector<uint8_t>& rgb) {
        UpdateMovieTexture(mTexture, mMovieWidth, mMovieHeight, rgb.data());
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        ClearFrame();
        // The picture's top row is the texture's first row.
        const float x0 = float(mRect.x), y0 = float(mRect.y);
        BeginFlat(FLAT_PICTURE);
        DrawPicture(mTexture, x0, y0, x0 + float(mRect.width), y0 + float(mRect.height), 1.0f, 0.0f);
        EndFlat();
        glutSwapBuffers();
    }

private:
    uint32_t mTexture;
    MovieRect mRect;
    int mMovieWidth, mMovieHeight;
};

}  // namespace

MovieRect IntroMovieRect(bool fullscreen, int windowWidth, int windowHeight, int movieWidth, int movieHeight) {
    if (!fullscreen || movieWidth <= 0 || movieHeight <= 0) return {0, 0, windowWidth, windowHeight};
    // Letterbox: the largest size with the movie's proportions that fits the screen.
    const long long byWidth = static_cast<long long>(windowWidth) * movieHeight;
    const long long byHeight = static_cast<long long>(windowHeight) * movieWidth;
    int w = windowWidth, h = windowHeight;
    if (byWidth > byHeight)
        w = static_cast<int>(byHeight / movieHeight);
    else
        h = static_cast<int>(byWidth / movieWidth);
    return {(windowWidth - w) / 2, (windowHeight - h) / 2, w, h};
}

void PlayIntroMovie(bool fullscreen) {
    MovieDecoder movie;
    std::vector<uint8_t> rgb;
    if (!movie.Open(kIntroMovie) || !movie.NextFrame(rgb)) {
        Log("Failed playback of movie");
        return;
    }
    // The sound track is read from its own handle on the file, so it can run ahead of the pictures.
    MovieSoundDecoder track;
    MovieSpeaker speaker(track.Open(kIntroMovie) ? &track : nullptr);
    speaker.Fill();
    MovieScreen screen(movie, fullscreen);
    speaker.Start();
    const uint32_t start = timeGetTime();
    const double frameMs = 1000.0 / movie.FrameRate();
    int index = 0;
    do {
        // Each frame is due at its own time from the start, as is the sound. A frame already a whole frame
        // late is dropped, so a slow display shortens nothing but the frame count.
        const int32_t late = static_cast<int32_t>(timeGetTime() - (start + static_cast<uint32_t>(index * frameMs)));
        if (late < frameMs || index == 0) screen.Show(rgb);
        ++index;
        speaker.Fill();
        const int32_t wait = static_cast<int32_t>(start + static_cast<uint32_t>(index * frameMs) - timeGetTime());
        if (wait > 0) Sleep(static_cast<uint32_t>(wait));
    } while (movie.NextFrame(rgb));
}
