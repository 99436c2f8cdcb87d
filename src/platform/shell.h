#pragma once

// Opens a web page in the desktop's browser (xdg-open) without waiting for it; false, with a log
// line, when no opener can be started.
bool OpenWebPage(const char* url);
