#include "app/input.h"

#include "app/managers.h"

void KeyboardDown(unsigned char key, int, int) {
    if (gPhysicsManager)
        gPhysicsManager->current->onKey(key, true);
}

void KeyboardUp(unsigned char key, int, int) {
    if (gPhysicsManager)
        gPhysicsManager->current->onKey(key, false);
}

void SpecialDown(int key, int, int) {
    if (gPhysicsManager)
        gPhysicsManager->current->onSpecialKey(key, true);
}

void SpecialUp(int key, int, int) {
    if (gPhysicsManager)
        gPhysicsManager->current->onSpecialKey(key, false);
}

void PassiveMotion(int, int) {}
