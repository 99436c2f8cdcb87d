#pragma once

// Asks the driver to swap the current window's buffers only every `interval` screen refreshes (0: at once),
// through whichever GLX swap-control extension it offers; false when it offers none.
bool SetSwapInterval(int interval);
