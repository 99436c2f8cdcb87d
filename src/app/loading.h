#pragma once

#include <memory>

#include "app/states.h"

class CBitmapFont;

// Performs the whole load for the state stored in gStateAfterLoading in one update, then hands over to it.
class CLoadPhysics : public CPhysics {
public:
    void update(float dt) override;
    void enter() override;
};

// "LOADING" and a progress bar; loaders redraw it directly while they run.
class CLoadRenderer : public CRenderer {
public:
    CLoadRenderer();
    ~CLoadRenderer() override;
    void draw() override;
    void init() override;
    void enter() override;
    void leave() override {}
    void DrawScreen() const;  // the frame without the buffer swap

private:
    std::unique_ptr<CBitmapFont> font;
};

// The loading screen drawn at once, when the renderer manager has one (the hook gRedrawLoadingScreen).
void RedrawLoadingScreen();

// Pixel rectangle of the progress bar for a window of the given size.
struct ProgressBarRect {
    int left, top, bottom, filledRight;
};
ProgressBarRect ProgressBarFor(int width, int height, int percent);
