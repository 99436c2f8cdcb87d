#pragma once

#include "app/states.h"

// The main menu's drawing object; minimal until the menus land.
class CMenuRenderer : public CRenderer {
public:
    explicit CMenuRenderer(TextureManager* textures) : CRenderer(textures) {}
    void draw() override;
    void init() override;
    void enter() override {}
    void leave() override {}
};
