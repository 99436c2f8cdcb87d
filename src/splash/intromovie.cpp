#include "splash/intromovie.h"

void PlayIntroMovie(bool) {}
