#pragma once

#include "app/states.h"

// Draws the race and the scripted sequences; minimal until the race renderer lands.
class CGameRenderer : public CRenderer {
public:
    explicit CGameRenderer(TextureManager* textures) : CRenderer(textures) {}
    void draw() override;
    void init() override {}
    void enter() override {}
    void leave() override {}

    bool LoadRace(const char* script, const char* hud);
    void StartRaceTimer(bool resume);
    void StopRaceTimer();
};
