#include "data/trackscript.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "app/log.h"
#include "data/scriptline.h"
#include "platform/files.h"

TrackSettings gTrackSettings;

namespace {

const char* const kActionNames[NUM_ACTIONS] = {
    "THRUSTON",      "THRUSTOFF",      "BRAKESON",      "BRAKESOFF",       "SETSPEED",
    "SETPOSITION",   "SETHEADING",     "CHANGEHEADING", "CHANGECAMHEADING", "CHANGEPITCH",
    "CHANGECAMPITCH", "CHANGECAMSPEED", "SETCAMPOSITION", "SETCAMSPEED",   "SHOWTEXT",
    "SHOWTITLE",     "ROLLTEXT",       "FADEMUSIC",     "CIRCLEY",         "STOP",
};

const ActionForm kActionForms[NUM_ACTIONS] = {
    {false, 0, false}, {false, 0, false}, {false, 0, false}, {false, 0, false}, {false, 1, false},
    {false, 3, false}, {false, 1, false}, {true, 1, false},  {true, 1, false},  {true, 1, false},
    {true, 1, false},  {true, 1, false},  {false, 3, false}, {false, 1, false}, {false, 3, true},
    {false, 3, true},  {false, 0, true},  {true, 0, false},  {true, 3, false},  {false, 0, false},
};

int ActionOfWord(const char* word) {
    for (int i = 0; i < NUM_ACTIONS; ++i)
        if (strcmp(word, kActionNames[i]) == 0)
            return i;
    return -1;
}

// Copies a scanned word into a fixed field; the line buffer already keeps every word shorter.
template <size_t N>
void CopyField(char (&field)[N], const char* text) {
    snprintf(field, N, "%s", text);
}

// "%d" fields are scanned as long and clamped, so an absurd number cannot overflow the int.
bool ScanInt(const char* line, const char* format, int32_t& out) {
    long v = 0;
    if (sscanf(line, format, &v) != 1)
        return false;
    out = v < INT32_MIN ? INT32_MIN : v > INT32_MAX ? INT32_MAX : static_cast<int32_t>(v);
    return true;
}

enum Block { BLOCK_NONE, BLOCK_FOG, BLOCK_LIGHT, BLOCK_ANIMATION };

class Parser {
public:
    Parser(TrackSettings& settings, const char* name) : s(settings), name(name) {}

    void Line(const char* line) {
        switch (block) {
        case BLOCK_NONE: TopLevel(line); break;
        case BLOCK_FOG: Fog(line); break;
        case BLOCK_LIGHT: Light(line); break;
        case BLOCK_ANIMATION: Animation(line); break;
        }
    }

    void Finish() {
        static const char* const kBlockNames[] = {"", "fog", "light", "animation"};
        if (block != BLOCK_NONE)
            Log("Unterminated %s block in %s", kBlockNames[block], name);
    }

private:
    SceneLight NewLight(uint32_t type) {
        SceneLight l;
        l.type = type;
        l.index = static_cast<uint16_t>(nextLightIndex++);
        return l;
    }

    void TopLevel(const char* line) {
        float v[6];
        char word[kLineBufferSize];
        if (strncmp(line, "TITLE", 5) == 0) {
            memset(s.title, 0, sizeof s.title);
            const size_t n = strlen(line);
            if (n > 6)  // from the blank after the keyword up to the last character
                memcpy(s.title, line + 5, n - 6 < sizeof s.title ? n - 6 : sizeof s.title - 1);
        } else if (ScanInt(line, "VEHICLE %ld", s.requiredVehicle)) {
        } else if (sscanf(line, "SUN %f %f %f", &v[0], &v[1], &v[2]) == 3) {
            s.sun = NewLight(LIGHT_SUN);
            memcpy(s.sun.position, v, sizeof s.sun.position);
            s.hasSun = true;
            s.lights.push_back(s.sun);
        } else if (sscanf(line, "AMBIENTLIGHT %f %f %f", &v[0], &v[1], &v[2]) == 3) {
            memcpy(s.ambientColor, v, sizeof s.ambientColor);
        } else if (sscanf(line, "TRACK %254s", word) == 1) {
            CopyField(s.trackModel, word);
        } else if (sscanf(line, "SKY %254s", word) == 1) {
            CopyField(s.skyModel, word);
        } else if (strcmp(line, "BEGINFOG\n") == 0) {
            s.fogEnabled = true;
            block = BLOCK_FOG;
        } else if (strcmp(line, "STARTANIMATION\n") == 0) {
            block = BLOCK_ANIMATION;
        } else if (strcmp(line, "BEGINLIGHT\n") == 0) {
            light = NewLight(LIGHT_POINT);
            block = BLOCK_LIGHT;
        } else if (sscanf(line, "TIMEGOLD %f", &s.goldTime) == 1) {
        } else if (sscanf(line, "TIMESILVER %f", &s.silverTime) == 1) {
        } else if (sscanf(line, "TIMEBRONZE %f", &s.bronzeTime) == 1) {
        } else if (ScanInt(line, "CASHGOLD %ld", s.goldCash)) {
        } else if (ScanInt(line, "CASHSILVER %ld", s.silverCash)) {
        } else if (ScanInt(line, "CASHBRONZE %ld", s.bronzeCash)) {
        } else if (sscanf(line, "GOALZONE %f %f %f %f %f %f", &v[0], &v[1], &v[2], &v[3], &v[4], &v[5]) == 6) {
            SetGoalZone(v[0], v[1], v[2], v[3], v[4], v[5]);
        } else if (sscanf(line, "GOALZONE %f %f %f %f", &v[0], &v[1], &v[2], &v[3]) == 4) {
            SetGoalZone(v[0], v[1], -100000.0f, 100000.0f, v[2], v[3]);
        } else {
            Log("Illegal command %s", line);
        }
    }

    // A device or folder named by mistake would be read forever or not at all.
    void LoadRecording(const char* path) {
        std::error_code ec;
        if (std::filesystem::is_regular_file(GamePath(path), ec)) {
            s.vehicleRecording.Load(path);
            return;
        }
        s.vehicleRecording.samples.clear();
        s.vehicleRecording.Rewind();
        if (std::filesystem::exists(GamePath(path), ec))
            Log("Vehicle script %s is not a file", path);
        else
            s.vehicleRecording.Load(path);  // logs the missing file as usual
    }

    void SetGoalZone(float x0, float x1, float y0, float y1, float z0, float z1) {
        const float lo[3] = {x0, y0, z0}, hi[3] = {x1, y1, z1};
        memcpy(s.goalMin, lo, sizeof lo);
        memcpy(s.goalMax, hi, sizeof hi);
    }

    void Fog(const char* line) {
        float v[3];
        if (sscanf(line, "COLOR %f %f %f", &v[0], &v[1], &v[2]) == 3)
            memcpy(s.fogColor, v, sizeof s.fogColor);
        else if (sscanf(line, "DENSITY %f", &v[0]) == 1)
            s.fogDensity = v[0];
        else if (strcmp(line, "ENDFOG\n") == 0)
            block = BLOCK_NONE;
        else
            Log("Illegal fog parameter %s", line);
    }

    void Light(const char* line) {
        float v[3];
        int32_t shadows = 0;
        if (sscanf(line, "POSITION %f %f %f", &v[0], &v[1], &v[2]) == 3) {
            memcpy(light.position, v, sizeof light.position);
        } else if (sscanf(line, "COLOR %f %f %f", &v[0], &v[1], &v[2]) == 3) {
            memcpy(light.color, v, sizeof v);  // alpha stays 1
        } else if (sscanf(line, "RANGE %f", &v[0]) == 1) {
            light.range = v[0];
        } else if (ScanInt(line, "SHADOWSENABLED %ld", shadows)) {
            light.castsShadows = shadows != 0;
        } else if (strcmp(line, "ENDLIGHT\n") == 0) {
            s.lights.push_back(light);
            block = BLOCK_NONE;
        } else {
            Log("Illegal light parameter %s", line);
        }
    }

    void Animation(const char* line) {
        float v[3];
        char word[kLineBufferSize];
        if (sscanf(line, "VEHICLESCRIPT %254s", word) == 1) {
            CopyField(s.vehicleScript, word);
            LoadRecording(word);
            s.hasVehicleScript = true;
        } else if (sscanf(line, "POSITION %f %f %f", &v[0], &v[1], &v[2]) == 3) {
            memcpy(s.vehicleStartPosition, v, sizeof v);
        } else if (sscanf(line, "HEADING %f", &v[0]) == 1) {
            s.vehicleStartHeading = v[0];
        } else if (sscanf(line, "CAMPOSITION %f %f %f", &v[0], &v[1], &v[2]) == 3) {
            memcpy(s.camStartPosition, v, sizeof v);
        } else if (sscanf(line, "CAMHEADING %f", &v[0]) == 1) {
            s.camStartHeading = v[0];
        } else if (sscanf(line, "CAMPITCH %f", &v[0]) == 1) {
            s.camStartPitch = v[0];
        } else if (!RangedCommand(line) && !CaptionCommand(line) && !TimedCommand(line)) {
            if (strcmp(line, "STOPANIMATION\n") == 0)
                block = BLOCK_NONE;
            else
                Log("Illegal track settings animation command: %s", line);
        }
    }

    // Forms with numbers are tried before those without, so the count tells the form.
    static int ScanCommand(const char* line, const char* const (&forms)[3], int lead, float* times, char* word,
                           float* v) {
        static const int kNumbers[3] = {3, 1, 0};
        for (int i = 0; i < 3; ++i) {
            const int n = lead == 2 ? sscanf(line, forms[i], &times[0], &times[1], word, &v[0], &v[1], &v[2])
                                    : sscanf(line, forms[i], &times[0], word, &v[0], &v[1], &v[2]);
            if (n == lead + 1 + kNumbers[i])
                return kNumbers[i];
        }
        return -1;
    }

    // The action word fits the form that matched; logs and gives -1 otherwise.
    static int CheckAction(const char* word, bool ranged, int numbers) {
        const int action = ActionOfWord(word);
        if (action >= 0) {
            const ActionForm& f = kActionForms[action];
            if (f.ranged == ranged && f.numbers == numbers && !f.caption)
                return action;
        }
        Log("Illegal animation action or illegal parameters. Action: %s", word);
        return -1;
    }

    void Add(int action, float start, float end, int numbers, const float* v) {
        AnimationCommand c;
        c.action = action;
        c.start = start;
        c.end = end;
        c.duration = end - start;
        if (numbers == 1)
            c.value = v[0];
        if (numbers == 3) {
            c.x = v[0];
            c.y = v[1];
            c.z = v[2];
        }
        s.animationCommands.push_back(c);
    }

    bool RangedCommand(const char* line) {
        static const char* const kForms[3] = {"FROM %f TO %f DO %254s %f %f %f", "FROM %f TO %f DO %254s %f",
                                              "FROM %f TO %f DO %254s"};
        float t[2], v[3];
        char word[kLineBufferSize];
        const int numbers = ScanCommand(line, kForms, 2, t, word, v);
        if (numbers < 0)
            return false;
        const bool ordered = t[1] >= t[0];  // also refuses times that are not numbers
        if (!ordered)
            Log("Command '%s' has endtime earlier than starttime", line);
        const int action = CheckAction(word, true, numbers);
        if (ordered && action >= 0)
            Add(action, t[0], t[1], numbers, v);
        return true;
    }

    bool CaptionCommand(const char* line) {
        float t, v[3] = {0.0f, 0.0f, 0.0f};
        char word[kLineBufferSize];
        int action;
        if (sscanf(line, "AT %f DO SHOWTEXT %f %f %f %254s", &t, &v[0], &v[1], &v[2], word) == 5)
            action = ACTION_SHOWTEXT;
        else if (sscanf(line, "AT %f DO ROLLTEXT %254s", &t, word) == 2)
            action = ACTION_ROLLTEXT;
        else if (sscanf(line, "AT %f DO SHOWTITLE %f %f %f %254s", &t, &v[0], &v[1], &v[2], word) == 5)
            action = ACTION_SHOWTITLE;
        else
            return false;
        if (strlen(word) > kMaxWordLength) {
            Log("Caption text longer than %d characters: %s", kMaxWordLength, line);
            return true;
        }
        for (char* p = word; *p; ++p)
            if (*p == '_')
                *p = ' ';
        Add(action, t, t + CaptionDuration(action), 3, v);
        s.animationCommands.back().text = word;
        return true;
    }

    bool TimedCommand(const char* line) {
        static const char* const kForms[3] = {"AT %f DO %254s %f %f %f", "AT %f DO %254s %f", "AT %f DO %254s"};
        float t, v[3];
        char word[kLineBufferSize];
        const int numbers = ScanCommand(line, kForms, 1, &t, word, v);
        if (numbers < 0)
            return false;
        const int action = CheckAction(word, false, numbers);
        if (action >= 0)
            Add(action, t, t < 0.0f ? 0.0f : t, numbers, v);
        return true;
    }

    TrackSettings& s;
    const char* name;
    Block block = BLOCK_NONE;
    SceneLight light;  // the light block being read
    int nextLightIndex = 0;
};

}  // namespace

const char* ActionName(int32_t action) {
    return action >= 0 && action < NUM_ACTIONS ? kActionNames[action] : nullptr;
}

ActionForm FormOfAction(int32_t action) {
    return action >= 0 && action < NUM_ACTIONS ? kActionForms[action] : ActionForm{false, 0, false};
}

float CaptionDuration(int32_t action) {
    switch (action) {
    case ACTION_SHOWTEXT: return 6.0f;
    case ACTION_SHOWTITLE: return 100.0f;
    case ACTION_ROLLTEXT: return 8.5f;
    default: return 0.0f;
    }
}

void ClearTrackSettings(TrackSettings& settings) {
    settings.lights.clear();
    settings.animationCommands.clear();
    settings.camStartHeading = 0.0f;
    settings.camStartPitch = 0.0f;
    settings.hasSun = false;
    settings.ambientColor[0] = settings.ambientColor[1] = settings.ambientColor[2] = 0.5f;
    settings.fogEnabled = false;
    settings.vehicleStartHeading = 0.0f;
    memset(settings.title, 0, sizeof settings.title);
    memset(settings.skyModel, 0, sizeof settings.skyModel);
    memset(settings.trackModel, 0, sizeof settings.trackModel);
    settings.goldTime = settings.silverTime = settings.bronzeTime = 0.0f;
    settings.hasVehicleScript = false;
}

std::string TrackScriptPath(int index) {
    return "../Scripts/track" + std::to_string(index + 1) + ".txt";
}

void LoadTrackSettings(const char* path, TrackSettings& settings) {
    ClearTrackSettings(settings);
    FILE* f = OpenGameFile(path, "r");
    if (!f) {
        Log("Failed to load %s", path);
        return;
    }
    ReadTrackSettings(f, path, settings);
    fclose(f);
}

void ReadTrackSettings(FILE* file, const char* name, TrackSettings& settings) {
    ClearTrackSettings(settings);
    Parser parser(settings, name);
    char line[kLineBufferSize];
    while (ReadScriptLine(file, line))
        parser.Line(line);
    parser.Finish();
}
