#include "platform/gamepad.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>

#include "app/log.h"
#include "platform/files.h"

namespace {

bool gStarted = false;
SDL_GameController* gPad = nullptr;

void OpenFirstPad() {
    for (int i = 0; i < SDL_NumJoysticks() && !gPad; ++i)
        if (SDL_IsGameController(i))
            gPad = SDL_GameControllerOpen(i);
}

float Axis(SDL_GameControllerAxis axis) {
    return SDL_GameControllerGetAxis(gPad, axis) / 32767.0f;
}

const char* const kMappingsFile = "../gamecontrollerdb.txt";

}  // namespace

void AddPadMappings(FILE* file, const char* name) {
    char line[1024];
    for (int number = 1; fgets(line, sizeof(line), file); ++number) {
        line[strcspn(line, "\r\n")] = '\0';
        // The community file lists every system's pads; the others' would only take up GUIDs.
        const char* platform = strstr(line, "platform:");
        const bool elsewhere = platform && (strncmp(platform + 9, "Linux", 5) != 0 ||
                                            (platform[14] != ',' && platform[14] != '\0'));
        if (line[0] == '\0' || line[0] == '#' || elsewhere)
            continue;
        if (SDL_GameControllerAddMapping(line) < 0)
            Log("Pad mappings %s line %d: %s", name, number, SDL_GetError());
    }
}

void InitGamepads() {
    // SDL would otherwise turn SIGINT and SIGTERM into quit events that nobody reads.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    gStarted = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
    if (!gStarted)
        return;
    if (FILE* f = OpenGameFile(kMappingsFile, "r")) {
        AddPadMappings(f, kMappingsFile);
        fclose(f);
    }
    OpenFirstPad();
}

void RumblePad(float strength, uint32_t milliseconds) {
    if (!gPad || !SDL_GameControllerHasRumble(gPad))
        return;
    const Uint16 level = Uint16(std::clamp(strength, 0.0f, 1.0f) * 65535.0f);
    SDL_GameControllerRumble(gPad, level, level, milliseconds);
}

bool ReadGamepad(PadState& state) {
    state = PadState();
    if (!gStarted)
        return false;
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_CONTROLLERDEVICEREMOVED && gPad &&
            event.cdevice.which == SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(gPad))) {
            SDL_GameControllerClose(gPad);
            gPad = nullptr;
        }
        if (event.type == SDL_CONTROLLERDEVICEADDED || event.type == SDL_CONTROLLERDEVICEREMOVED)
            OpenFirstPad();
    }
    if (!gPad)
        return false;
    state.stickX = Axis(SDL_CONTROLLER_AXIS_LEFTX);
    state.stickY = Axis(SDL_CONTROLLER_AXIS_LEFTY);
    state.rightStickX = Axis(SDL_CONTROLLER_AXIS_RIGHTX);
    state.rightStickY = Axis(SDL_CONTROLLER_AXIS_RIGHTY);
    state.leftTrigger = Axis(SDL_CONTROLLER_AXIS_TRIGGERLEFT);
    state.rightTrigger = Axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT);
    static const SDL_GameControllerButton kButtons[PAD_BUTTON_COUNT] = {
        SDL_CONTROLLER_BUTTON_A,       SDL_CONTROLLER_BUTTON_B,         SDL_CONTROLLER_BUTTON_START,
        SDL_CONTROLLER_BUTTON_DPAD_UP, SDL_CONTROLLER_BUTTON_DPAD_DOWN, SDL_CONTROLLER_BUTTON_DPAD_LEFT,
        SDL_CONTROLLER_BUTTON_DPAD_RIGHT, SDL_CONTROLLER_BUTTON_BACK, SDL_CONTROLLER_BUTTON_Y};
    for (int i = 0; i < PAD_BUTTON_COUNT; ++i)
        state.buttons[i] = SDL_GameControllerGetButton(gPad, kButtons[i]) != 0;
    return true;
}

void ShutdownGamepads() {
    if (gPad)
        SDL_GameControllerClose(gPad);
    gPad = nullptr;
    // SDL_Quit, not just the subsystem's quit, also lets go of SDL's D-Bus connection.
    if (gStarted)
        SDL_Quit();
    gStarted = false;
}
