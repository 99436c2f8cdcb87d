#include "menus/menu.h"

#include <cmath>
#include <cstdio>
#include <cstring>

MenuOption::MenuOption(const char* text) {
    snprintf(label, sizeof(label), "%s", text);
}

void MenuOption::AddChoice(const char* text, int32_t value) {
    choices.emplace_back(text, strnlen(text, 63));
    values.push_back(value);
}

const char* MenuOption::ChoiceText() const {
    if (index < 0 || size_t(index) >= choices.size())
        return nullptr;
    return choices[size_t(index)].c_str();
}

int32_t MenuOption::ChoiceValue() const {
    if (index < 0 || size_t(index) >= values.size())
        return 0;
    return values[size_t(index)];
}

bool MenuOption::StepChoice(int delta) {
    const int n = int(choices.size());
    if (n == 0)
        return false;
    index = ((index + delta) % n + n) % n;
    return true;
}

MenuOption StepsRow(const char* label, const char* lowest, int highest, const char* top) {
    MenuOption row(label);
    row.AddChoice(lowest, 0);
    for (int v = 1; v < highest; v++) {
        char text[12];
        snprintf(text, sizeof(text), "%d", v);
        row.AddChoice(text, v);
    }
    row.AddChoice(top, highest);
    return row;
}

int MoveHighlight(std::vector<MenuOption>& rows, int current, int delta) {
    const int n = int(rows.size());
    if (n == 0)
        return 0;
    if (current >= 0 && current < n)
        rows[size_t(current)].highlighted = false;
    current = ((current + delta) % n + n) % n;
    rows[size_t(current)].highlighted = true;
    return current;
}

PanelOrigin PanelFor(int width, int height) {
    return PanelOrigin{(float(width) - 640.0f) / 2.0f, (float(height) + 480.0f) / 2.0f};
}

void CardSlide::Start(int newTarget, int direction) {
    target = newTarget;
    speed = direction < 0 ? 2.0f : -2.0f;
    slidingLeft = direction < 0;
    slidingRight = direction > 0;
    sliding = true;
}

bool CardSlide::Advance(float dt) {
    if (!sliding)
        return false;
    offset += speed * dt;
    if (phase == 0) {
        if (std::fabs(offset) > 1.0f) {
            offset = speed > 0.0f ? -1.0f : 1.0f;
            phase = 1;
            return true;
        }
    } else if ((speed > 0.0f && offset > 0.0f) || (speed < 0.0f && offset < 0.0f)) {
        offset = 0.0f;
        sliding = slidingLeft = slidingRight = false;
        phase = 0;
    }
    return false;
}

void CardSlide::Reset() {
    sliding = slidingLeft = slidingRight = false;
    offset = 0.0f;
    phase = 0;
}
