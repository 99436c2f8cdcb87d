#include "splash/splash.h"

void RunSplashScreen() {}
