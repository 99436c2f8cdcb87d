#include "trackscriptwriter.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "data/scriptline.h"

namespace {

bool IsWord(const char* word, size_t maxLength) {
    const size_t n = strlen(word);
    if (n == 0 || n > maxLength)
        return false;
    for (size_t i = 0; i < n; ++i)
        if (word[i] <= ' ')
            return false;
    return true;
}

AnimationCommand Command(int action, float start, float end) {
    AnimationCommand c;
    c.action = action;
    c.start = start;
    c.end = end;
    c.duration = end - start;
    return c;
}

void AddCommand(TrackSettings& s, int action, float start, float end, float value, const float* xyz) {
    AnimationCommand c = Command(action, start, end);
    c.value = value;
    if (xyz) {
        c.x = xyz[0];
        c.y = xyz[1];
        c.z = xyz[2];
    }
    s.animationCommands.push_back(c);
}

// An "AT" command at a negative time ends at 0.
float EndOfAt(float t) {
    return t < 0.0f ? 0.0f : t;
}

bool FormatCommand(const AnimationCommand& c, std::string& text, std::string& error) {
    const char* word = ActionName(c.action);
    if (!word) {
        error = "unknown action id " + std::to_string(c.action);
        return false;
    }
    const ActionForm form = FormOfAction(c.action);
    if (form.caption) {
        std::string caption = c.text;
        for (char& ch : caption)
            if (ch == ' ')
                ch = '_';
        if (!IsWord(caption.c_str(), kMaxWordLength)) {
            error = "caption \"" + c.text + "\" is empty, too long or holds line breaks";
            return false;
        }
        if (c.action == ACTION_ROLLTEXT)
            AppendFormat(text, "AT %f DO ROLLTEXT %s\n", c.start, caption.c_str());
        else
            AppendFormat(text, "AT %f DO %s %f %f %f %s\n", c.start, word, c.x, c.y, c.z, caption.c_str());
        return true;
    }
    if (form.ranged) {
        if (!(c.end >= c.start)) {
            error = std::string(word) + " ends before it starts";
            return false;
        }
        AppendFormat(text, "FROM %f TO %f DO %s", c.start, c.end, word);
    } else {
        AppendFormat(text, "AT %f DO %s", c.start, word);
    }
    if (form.numbers == 1)
        AppendFormat(text, " %f", c.value);
    else if (form.numbers == 3)
        AppendFormat(text, " %f %f %f", c.x, c.y, c.z);
    text += '\n';
    return true;
}

bool CheckPath(const char* key, const char* path, std::string& error) {
    if (!path[0] || IsWord(path, kPathSize - 1))
        return true;
    error = std::string(key) + " path \"" + path + "\" holds blanks or is too long";
    return false;
}

}  // namespace

void SetTitle(TrackSettings& s, const char* title) {
    snprintf(s.title, sizeof s.title, " %s", title);
}

void AddSun(TrackSettings& s, float x, float y, float z) {
    SceneLight l;
    l.type = LIGHT_SUN;
    // Only the direction counts for the lighting and the shadows; the length puts the lens flare's
    // occlusion probe, twice the vector out from the eye, beyond every piece of scenery.
    const float length = std::sqrt(x * x + y * y + z * z);
    const float scale = length > 0.0f ? kSunVectorLength / length : 0.0f;
    l.position[0] = x * scale;
    l.position[1] = y * scale;
    l.position[2] = z * scale;
    l.index = static_cast<uint16_t>(s.lights.size());
    s.sun = l;
    s.hasSun = true;
    s.lights.push_back(l);
}

void AddPointLight(TrackSettings& s, const float position[3], const float color[3], float range, bool shadows) {
    SceneLight l;
    l.type = LIGHT_POINT;
    memcpy(l.position, position, sizeof l.position);
    memcpy(l.color, color, 3 * sizeof(float));
    l.range = range;
    l.castsShadows = shadows;
    l.index = static_cast<uint16_t>(s.lights.size());
    s.lights.push_back(l);
}

void SetFog(TrackSettings& s, float r, float g, float b, float density) {
    s.fogEnabled = true;
    s.fogColor[0] = r;
    s.fogColor[1] = g;
    s.fogColor[2] = b;
    s.fogDensity = density;
}

void AddAt(TrackSettings& s, float t, int action) {
    AddCommand(s, action, t, EndOfAt(t), 0.0f, nullptr);
}

void AddAt(TrackSettings& s, float t, int action, float value) {
    AddCommand(s, action, t, EndOfAt(t), value, nullptr);
}

void AddAt(TrackSettings& s, float t, int action, float x, float y, float z) {
    const float xyz[3] = {x, y, z};
    AddCommand(s, action, t, EndOfAt(t), 0.0f, xyz);
}

void AddFromTo(TrackSettings& s, float start, float end, int action) {
    AddCommand(s, action, start, end, 0.0f, nullptr);
}

void AddFromTo(TrackSettings& s, float start, float end, int action, float value) {
    AddCommand(s, action, start, end, value, nullptr);
}

void AddFromTo(TrackSettings& s, float start, float end, int action, float x, float y, float z) {
    const float xyz[3] = {x, y, z};
    AddCommand(s, action, start, end, 0.0f, xyz);
}

void AddCaption(TrackSettings& s, float t, int action, const char* text, float x, float y, float z) {
    AnimationCommand c = Command(action, t, t + CaptionDuration(action));
    if (action != ACTION_ROLLTEXT) {
        c.x = x;
        c.y = y;
        c.z = z;
    }
    c.text = text;
    s.animationCommands.push_back(c);
}

bool FormatTrackScript(const TrackSettings& s, std::string& text, std::string& error) {
    text.clear();
    if (!CheckPath("TRACK", s.trackModel, error) || !CheckPath("SKY", s.skyModel, error) ||
        (s.hasVehicleScript && !CheckPath("VEHICLESCRIPT", s.vehicleScript, error)))
        return false;
    for (const char* c = s.title; *c; ++c)
        if (static_cast<unsigned char>(*c) < ' ') {
            error = "the title holds a control character";
            return false;
        }
    if (s.title[0])
        AppendFormat(text, "TITLE%s\n", s.title);
    AppendFormat(text, "VEHICLE %d\n", s.requiredVehicle);
    if (s.trackModel[0])
        AppendFormat(text, "TRACK %s\n", s.trackModel);
    if (s.skyModel[0])
        AppendFormat(text, "SKY %s\n", s.skyModel);
    AppendFormat(text, "AMBIENTLIGHT %f %f %f\n", s.ambientColor[0], s.ambientColor[1], s.ambientColor[2]);
    for (const SceneLight& l : s.lights) {
        if (l.type == LIGHT_SUN) {
            AppendFormat(text, "SUN %f %f %f\n", l.position[0], l.position[1], l.position[2]);
            continue;
        }
        AppendFormat(text, "BEGINLIGHT\nPOSITION %f %f %f\nCOLOR %f %f %f\nRANGE %f\nSHADOWSENABLED %d\nENDLIGHT\n",
               l.position[0], l.position[1], l.position[2], l.color[0], l.color[1], l.color[2], l.range,
               l.castsShadows ? 1 : 0);
    }
    if (s.fogEnabled)
        AppendFormat(text, "BEGINFOG\nCOLOR %f %f %f\nDENSITY %f\nENDFOG\n", s.fogColor[0], s.fogColor[1], s.fogColor[2],
               s.fogDensity);
    AppendFormat(text, "TIMEGOLD %f\nTIMESILVER %f\nTIMEBRONZE %f\n", s.goldTime, s.silverTime, s.bronzeTime);
    AppendFormat(text, "CASHGOLD %d\nCASHSILVER %d\nCASHBRONZE %d\n", s.goldCash, s.silverCash, s.bronzeCash);
    AppendFormat(text, "GOALZONE %f %f %f %f %f %f\n", s.goalMin[0], s.goalMax[0], s.goalMin[1], s.goalMax[1],
           s.goalMin[2], s.goalMax[2]);
    text += "STARTANIMATION\n";
    if (s.hasVehicleScript)
        AppendFormat(text, "VEHICLESCRIPT %s\n", s.vehicleScript);
    AppendFormat(text, "POSITION %f %f %f\nHEADING %f\n", s.vehicleStartPosition[0], s.vehicleStartPosition[1],
           s.vehicleStartPosition[2], s.vehicleStartHeading);
    AppendFormat(text, "CAMPOSITION %f %f %f\nCAMHEADING %f\nCAMPITCH %f\n", s.camStartPosition[0], s.camStartPosition[1],
           s.camStartPosition[2], s.camStartHeading, s.camStartPitch);
    for (const AnimationCommand& c : s.animationCommands)
        if (!FormatCommand(c, text, error))
            return false;
    text += "STOPANIMATION\n";
    // The game reads 254 characters of a line at a time; a longer one (huge numbers) would split.
    for (size_t start = 0, end; start < text.size(); start = end + 1) {
        end = text.find('\n', start);
        if (end - start + 1 > size_t(kLineBufferSize - 1)) {
            error = "line too long for the game to read: " + text.substr(start, 40) + "...";
            return false;
        }
    }
    return true;
}

bool WriteTrackScript(const std::string& path, const TrackSettings& s) {
    std::string text, error;
    if (!FormatTrackScript(s, text, error)) {
        fprintf(stderr, "contentgen: %s: %s\n", path.c_str(), error.c_str());
        return false;
    }
    FILE* f = fopen(path.c_str(), "wb");
    bool ok = f && fwrite(text.data(), 1, text.size(), f) == text.size();
    if (f)
        ok = fclose(f) == 0 && ok;
    if (!ok)
        fprintf(stderr, "contentgen: cannot write %s\n", path.c_str());
    return ok;
}
