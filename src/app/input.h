#pragma once

// GLUT input callbacks: each forwards to the current state's update object.
void KeyboardDown(unsigned char key, int x, int y);
void KeyboardUp(unsigned char key, int x, int y);
void SpecialDown(int key, int x, int y);
void SpecialUp(int key, int x, int y);
void PassiveMotion(int x, int y);
