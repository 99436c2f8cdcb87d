#pragma once

#include "app/states.h"

// Stands in for a screen that is not built yet: shows a plain colour, Escape goes back to the main menu.
class CPlaceholderPhysics : public CPhysics {
public:
    explicit CPlaceholderPhysics(const char* name) : name(name) {}
    void update(float) override {}
    void onKey(unsigned char key, bool down) override;
    void enter() override;

    const char* name;
};

class CPlaceholderRenderer : public CRenderer {
public:
    CPlaceholderRenderer(TextureManager* textures, float r, float g, float b)
        : CRenderer(textures), r(r), g(g), b(b) {}
    void draw() override;
    void init() override {}
    void enter() override {}
    void leave() override {}

    float r, g, b;
};
