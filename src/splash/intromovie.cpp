#include "splash/intromovie.h"

#include <GL/glew.h>
#include <GL/freeglut.h>

#include <vector>

#include "app/log.h"
#include "platform/clock.h"
#include "platform/moviedecoder.h"
#include "splash/moviesound.h"

namespace {

constexpr char kIntroMovie[] = "../nimbrellogo.avi";

// Draws into the current window with its own matrices and attributes, and puts them back.
class MovieScreen {
public:
    MovieScreen(const MovieDecoder& movie, bool fullscreen) {
        const int w = glutGet(GLUT_WINDOW_WIDTH), h = glutGet(GLUT_WINDOW_HEIGHT);
        mRect = IntroMovieRect(fullscreen, w, h, movie.Width(), movie.Height());
        glPushAttrib(GL_ALL_ATTRIB_BITS);
        glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        glOrtho(0, w, 0, h, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadIdentity();
        glViewport(0, 0, w, h);
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_LIGHTING);
        glDisable(GL_BLEND);
        glDisable(GL_CULL_FACE);
        glEnable(GL_TEXTURE_2D);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glGenTextures(1, &mTexture);
        glBindTexture(GL_TEXTURE_2D, mTexture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, movie.Width(), movie.Height(), 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
        mMovieWidth = movie.Width();
        mMovieHeight = movie.Height();
    }
    ~MovieScreen() {
        glDeleteTextures(1, &mTexture);
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        glPopMatrix();
        glPopClientAttrib();
        glPopAttrib();
    }
    MovieScreen(const MovieScreen&) = delete;
    MovieScreen& operator=(const MovieScreen&) = delete;

    void Show(const std::vector<uint8_t>& rgb) {
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, mMovieWidth, mMovieHeight, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        // The picture's top row is the texture's first row.
        const float x0 = static_cast<float>(mRect.x), y0 = static_cast<float>(mRect.y);
        const float x1 = x0 + static_cast<float>(mRect.width), y1 = y0 + static_cast<float>(mRect.height);
        glBegin(GL_QUADS);
        glTexCoord2f(0, 1);
        glVertex2f(x0, y0);
        glTexCoord2f(1, 1);
        glVertex2f(x1, y0);
        glTexCoord2f(1, 0);
        glVertex2f(x1, y1);
        glTexCoord2f(0, 0);
        glVertex2f(x0, y1);
        glEnd();
        glutSwapBuffers();
    }

private:
    GLuint mTexture = 0;
    MovieRect mRect = {};
    int mMovieWidth = 0, mMovieHeight = 0;
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
