#pragma once

// Plays "../nimbrellogo.avi" once over the game window, paced by its own frame rate, and returns
// when it has finished. The windowed form stretches it over the whole window; the full-screen
// form keeps its proportions. A missing or damaged movie is logged and skipped.
void PlayIntroMovie(bool fullscreen);

// Where the movie goes in a window of the given size: x, y, width, height in pixels.
struct MovieRect {
    int x, y, width, height;
};
MovieRect IntroMovieRect(bool fullscreen, int windowWidth, int windowHeight, int movieWidth, int movieHeight);
