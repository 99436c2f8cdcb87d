#pragma once

// Opens a page of the game tree (a path such as "../support.html") in the desktop's browser (xdg-open)
// without waiting for it; false, with a log line, when the page is missing or no opener can be started.
bool OpenGamePage(const char* path);
