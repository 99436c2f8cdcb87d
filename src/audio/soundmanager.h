#pragma once

// Minimal sound manager until the audio subsystem lands.
class CSoundManager {
public:
    bool Init() { return true; }
    void Shutdown() {}
};
