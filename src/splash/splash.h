#pragma once

// Shows the splash window and returns once it has closed.
void RunSplashScreen();
