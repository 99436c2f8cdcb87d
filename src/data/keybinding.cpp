#include "data/keybinding.h"

#include "app/gamedefs.h"

bool SameKey(const KeyBinding& binding, int code, bool special) {
    if (binding.special != special)
        return false;
    if (special)
        return binding.code == code;
    return LowerCaseKey(binding.code) == LowerCaseKey(code);
}

int LowerCaseKey(int code) {
    return code >= 'A' && code <= 'Z' ? code - 'A' + 'a' : code;
}

int MatchKeyBinding(const KeyBinding* bindings, int count, int code, bool special) {
    for (int i = 0; i < count; ++i)
        if (SameKey(bindings[i], code, special))
            return i;
    return -1;
}

std::string KeyBindingName(const KeyBinding& binding) {
    const int code = binding.code;
    if (!binding.special) {
        switch (code) {
        case kKeyBackspace: return "Bksp";
        case kKeyTab: return "Tab";
        case kKeyEnter: return "Enter";
        case kKeyEscape: return "Esc";
        case kKeyDelete: return "Del";
        default: break;
        }
        if (code >= 32 && code < 127)
            return std::string(1, char(code));
    } else {
        if (code >= kKeyF1 && code <= kKeyF12)
            return "F" + std::to_string(code - kKeyF1 + 1);
        static const char* const kArrowsAndPaging[] = {"Left", "Up", "Right", "Down", "PgUp",
                                                       "PgDn", "Home", "End",   "Insert"};
        if (code >= kKeyLeft && code <= kKeyInsert)
            return kArrowsAndPaging[code - kKeyLeft];
    }
    // A key without a name of its own shows its number, as long as that fits.
    const std::string number = "#" + std::to_string(code);
    return number.size() <= 7 ? number : "?";
}
