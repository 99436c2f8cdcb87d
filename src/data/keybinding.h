#pragma once

#include <string>

#include "data/settings.h"

// A letter is one key whatever Shift or Caps Lock say: "a" pressed before Shift is released as "A".
bool SameKey(const KeyBinding& binding, int code, bool special);
int LowerCaseKey(int code);  // 'A'..'Z' to 'a'..'z', every other code as it is

// Index of the first of `count` bindings (in order) that are this key, or -1.
int MatchKeyBinding(const KeyBinding* bindings, int count, int code, bool special);

// The name of a binding on the control settings page, at most 7 characters.
std::string KeyBindingName(const KeyBinding& binding);
