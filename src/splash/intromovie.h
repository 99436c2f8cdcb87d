#pragma once

// Plays "../nimbrellogo.avi" once over the game window.
void PlayIntroMovie(bool fullscreen);
