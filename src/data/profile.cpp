#include "data/profile.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "app/log.h"
#include "data/scriptline.h"
#include "platform/files.h"

Profile gProfile;
const char* const kProfileFolder = "../Profiles/";

namespace {

enum Key {
    KEY_ACTIVE_VEHICLE,
    KEY_PERCENT_COMPLETE,
    KEY_CASH,
    KEY_RACES_COMPLETED,
    KEY_BRONZE_CUPS,
    KEY_SILVER_CUPS,
    KEY_GOLD_CUPS,
    KEY_RECORD,
    KEY_OWNED_VEHICLE,
    NUM_KEYS
};

struct KeyInfo {
    const char* word;
    int count;  // lines of this key in a file the game wrote
};

const KeyInfo kKeys[NUM_KEYS] = {
    {"ACTIVE_VEHICLE", 1},  {"PERCENT_COMPLETE", 1}, {"CASH", 1},          {"RACES_COMPLETED", 1},
    {"BRONZE_CUPS_WON", 1}, {"SILVER_CUPS_WON", 1},  {"GOLD_CUPS_WON", 1}, {"RECORD", kNumTracks},
    {"OWNED_VEHICLE", kNumVehicles},
};

// Game times stay far below this; a larger one is a damaged file.
constexpr float kMaxRaceSeconds = 1e7f;

bool OnlyBlanks(const char* p) {
    while (*p == ' ' || *p == '\t' || *p == '\n')
        ++p;
    return *p == '\0';
}

// The whole value must be one number in range: a cut or garbled line is damage, not a zero.
bool ParseInt(const char* text, long lo, long hi, int32_t& out) {
    errno = 0;
    char* end = nullptr;
    const long v = strtol(text, &end, 10);
    if (end == text || errno == ERANGE || v < lo || v > hi || !OnlyBlanks(end))
        return false;
    out = static_cast<int32_t>(v);
    return true;
}

bool ParseFloat(const char* text, float lo, float hi, float& out) {
    char* end = nullptr;
    const float v = strtof(text, &end);
    if (end == text || !std::isfinite(v) || v < lo || v > hi || !OnlyBlanks(end))
        return false;
    out = v;
    return true;
}

// Control characters of a damaged line must not reach the log as they are; its newline is dropped.
std::string Printable(const std::string& text) {
    std::string s = text;
    if (!s.empty() && s.back() == '\n')
        s.pop_back();
    for (char& c : s)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            c = '?';
    return s;
}

// The name is everything after "NAME" and one blank, up to the line's last character. An empty
// one keeps the name the profile has (its file's), so the profile can still be saved.
bool ReadName(const char* line, const char* file, Profile& profile) {
    const size_t n = strlen(line);
    const size_t length = n > 6 ? n - 6 : 0;
    if (length == 0)
        return true;
    memset(profile.name, 0, sizeof profile.name);
    memcpy(profile.name, line + 5, std::min(length, sizeof profile.name - 1));
    if (length > sizeof profile.name - 1) {
        Log("Profile format error in %s (name longer than %d characters)", file, kProfileNameSize - 1);
        return false;
    }
    if (!IsSafeProfileName(profile.name)) {
        Log("Profile format error in %s (name \"%s\" is not a file name)", file, Printable(profile.name).c_str());
        return false;
    }
    return true;
}

class ProfileReader {
public:
    ProfileReader(const char* file, Profile& profile) : file(file), p(profile) {}

    void Line(const char* line) {
        lines++;
        const size_t n = strlen(line);
        endsWithNewline = n > 0 && line[n - 1] == '\n';
        if (strncmp(line, "NAME", 4) == 0) {
            names++;
            ok = ReadName(line, file, p) && ok;
            return;
        }
        const size_t wordLength = strcspn(line, " \t\n");
        for (int k = 0; k < NUM_KEYS; ++k)
            if (strlen(kKeys[k].word) == wordLength && strncmp(line, kKeys[k].word, wordLength) == 0) {
                Value(static_cast<Key>(k), line, line + wordLength);
                return;
            }
        // Any other line is ignored.
    }

    bool Finish() {
        if (lines == 0)
            return ok;  // an empty file is a new profile
        if (!endsWithNewline) {
            Log("Profile format error in %s (the last line is cut off)", file);
            ok = false;
        }
        const char* missing = names == 0 ? "NAME" : nullptr;
        for (int k = 0; k < NUM_KEYS && !missing; ++k)
            if (seen[k] < kKeys[k].count)
                missing = kKeys[k].word;
        if (missing) {
            Log("Profile format error in %s (%s missing: the file is incomplete)", file, missing);
            ok = false;
        }
        return ok;
    }

private:
    void Value(Key key, const char* line, const char* value) {
        const int index = seen[key]++;
        if (key == KEY_RECORD && index >= kNumTracks) {
            Log("Profile format error (too many records listed!)");
            ok = false;
            return;
        }
        if (key == KEY_OWNED_VEHICLE && index >= kNumVehicles) {
            Log("Profile format error (too many owned vehicles listed!)");
            ok = false;
            return;
        }
        int32_t owned = 0;
        bool valid = false;
        switch (key) {
        case KEY_ACTIVE_VEHICLE: valid = ParseInt(value, 0, kNumVehicles - 1, p.activeVehicle); break;
        case KEY_PERCENT_COMPLETE: valid = ParseFloat(value, 0.0f, 100.0f, p.percentComplete); break;
        case KEY_CASH: valid = ParseInt(value, INT32_MIN, INT32_MAX, p.cash); break;
        case KEY_RACES_COMPLETED: valid = ParseInt(value, 0, INT32_MAX, p.racesCompleted); break;
        case KEY_BRONZE_CUPS: valid = ParseInt(value, 0, INT32_MAX, p.bronzeCups); break;
        case KEY_SILVER_CUPS: valid = ParseInt(value, 0, INT32_MAX, p.silverCups); break;
        case KEY_GOLD_CUPS: valid = ParseInt(value, 0, INT32_MAX, p.goldCups); break;
        case KEY_RECORD: valid = ParseFloat(value, 0.0f, kMaxRaceSeconds, p.bestTimes[index]); break;
        case KEY_OWNED_VEHICLE:
            valid = ParseInt(value, INT32_MIN, INT32_MAX, owned);
            p.ownedVehicles[index] = valid ? owned != 0 : p.ownedVehicles[index];
            break;
        case NUM_KEYS: break;
        }
        if (!valid) {
            Log("Profile format error in %s (bad value: %s)", file, Printable(line).c_str());
            ok = false;
        }
    }

    const char* file;
    Profile& p;
    bool ok = true;
    int lines = 0, names = 0;
    bool endsWithNewline = false;
    int seen[NUM_KEYS] = {};
};

// Values a damaged record could hold are written as the loader would accept them, so one bad
// number never makes the whole career unreadable.
float SavedFloat(float v, float hi) {
    return std::isfinite(v) ? std::min(std::max(v, 0.0f), hi) : 0.0f;
}

}  // namespace

void ResetProfile(Profile& profile) {
    profile.percentComplete = 0.0f;
    profile.activeVehicle = 0;
    profile.cash = 0;
    profile.racesCompleted = 0;
    profile.bronzeCups = profile.silverCups = profile.goldCups = 0;
    for (float& t : profile.bestTimes)
        t = 0.0f;
    for (int v = 0; v < kNumVehicles; ++v)
        profile.ownedVehicles[v] = v == 0;
    profile.ownedCount = 1;
}

void ResetProfile() {
    ResetProfile(gProfile);
    gSelectedVehicle = 0;
}

bool ReadProfile(FILE* file, const char* name, Profile& profile) {
    ProfileReader reader(name, profile);
    char line[kLineBufferSize];
    while (ReadScriptLine(file, line))
        reader.Line(line);
    const bool ok = reader.Finish();
    profile.ownedCount = 0;
    for (bool owned : profile.ownedVehicles)
        profile.ownedCount += owned ? 1 : 0;
    return ok;
}

bool LoadProfile(const char* path) {
    ResetProfile();
    FILE* f = OpenGameFile(path, "r");
    if (!f) {
        Log("Failed to load profile %s", path);
        return false;
    }
    // A file without a name line is named after its file, never after the profile loaded before,
    // whose file the next save would otherwise overwrite.
    const std::string stem = std::filesystem::path(GamePath(path)).stem().string();
    memset(gProfile.name, 0, sizeof gProfile.name);
    if (IsSafeProfileName(stem.c_str()))
        memcpy(gProfile.name, stem.data(), stem.size());
    const bool ok = ReadProfile(f, path, gProfile);
    fclose(f);
    gSelectedVehicle = gProfile.activeVehicle;
    return ok;
}

std::string FormatProfile(const Profile& p) {
    std::string text = std::string("NAME ") + p.name + "\n";
    const int active = p.activeVehicle >= 0 && p.activeVehicle < kNumVehicles ? p.activeVehicle : 0;
    AppendFormat(text, "ACTIVE_VEHICLE %d\n", active);
    for (bool owned : p.ownedVehicles)
        AppendFormat(text, "OWNED_VEHICLE %d\n", owned ? 1 : 0);
    AppendFormat(text, "PERCENT_COMPLETE %f\n", SavedFloat(p.percentComplete, 100.0f));
    AppendFormat(text, "CASH %d\n", p.cash);
    AppendFormat(text, "RACES_COMPLETED %d\n", std::max(p.racesCompleted, 0));
    AppendFormat(text, "BRONZE_CUPS_WON %d\n", std::max(p.bronzeCups, 0));
    AppendFormat(text, "SILVER_CUPS_WON %d\n", std::max(p.silverCups, 0));
    AppendFormat(text, "GOLD_CUPS_WON %d\n", std::max(p.goldCups, 0));
    for (float t : p.bestTimes)
        AppendFormat(text, "RECORD %f\n", SavedFloat(t, kMaxRaceSeconds));
    return text;
}

bool SaveProfile() {
    if (gSelectedVehicle >= 0 && gSelectedVehicle < kNumVehicles)
        gProfile.activeVehicle = gSelectedVehicle;
    const std::string path = ProfilePath(gProfile.name);
    if (!IsSafeProfileName(gProfile.name)) {
        Log("Failed to create profile file %s (the name is not a file name)", Printable(path).c_str());
        return false;
    }
    std::error_code ec;
    std::filesystem::create_directories(GamePath(kProfileFolder), ec);
    if (!WriteFileAtomically(path.c_str(), FormatProfile(gProfile))) {
        Log("Failed to create profile file %s", path.c_str());
        return false;
    }
    return true;
}

bool IsSafeProfileName(const char* name) {
    const size_t n = strnlen(name, kProfileNameSize);
    if (n == 0 || n >= kProfileNameSize || name[0] == '.' || strstr(name, ".."))
        return false;
    for (size_t i = 0; i < n; ++i) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        if (c < 0x20 || c == 0x7f || c == '/' || c == '\\')
            return false;
    }
    return true;
}

std::string ProfilePath(const char* name) {
    return std::string(kProfileFolder) + name + ".txt";
}

std::string GhostFolder(const char* name) {
    return std::string(kProfileFolder) + name + ".ghosts/";
}

bool ProfileExists(const char* name) {
    std::error_code ec;
    return IsSafeProfileName(name) && std::filesystem::exists(GamePath(ProfilePath(name).c_str()), ec);
}

std::vector<std::string> ListProfiles() {
    std::error_code ec;
    if (!std::filesystem::is_directory(GamePath(kProfileFolder), ec))
        Log("Failed to search directory for profiles");
    std::vector<std::string> names;
    for (std::string file : ListFiles(kProfileFolder, ".txt")) {
        file.resize(file.size() - 4);
        names.push_back(file);
    }
    return names;
}

bool CreateProfile(const char* name) {
    if (!IsSafeProfileName(name)) {
        Log("Cannot create a profile named \"%s\": not a file name", Printable(name).c_str());
        return false;
    }
    if (ProfileExists(name)) {
        Log("Cannot create profile %s: a profile of that name exists", name);
        return false;
    }
    memset(gProfile.name, 0, sizeof gProfile.name);
    memcpy(gProfile.name, name, strlen(name));
    ResetProfile();
    return SaveProfile();
}

bool DeleteProfile(const char* name) {
    const std::string path = ProfilePath(name);
    if (!IsSafeProfileName(name) || !DeleteGameFile(path.c_str())) {
        Log("Failed to delete profile %s", Printable(path).c_str());
        return false;
    }
    std::error_code ec;
    std::filesystem::remove_all(GamePath(GhostFolder(name).c_str()), ec);
    if (ec)
        Log("Failed to delete the ghosts of profile %s: %s", Printable(path).c_str(), ec.message().c_str());
    return true;
}

void FormatRaceTime(float seconds, char* out) {
    if (!(seconds > 0.0f)) {
        snprintf(out, kRaceTimeSize, "--:--:--.---");
        return;
    }
    constexpr double kMaxMs = 100.0 * 3600000 - 1;  // two hour digits
    // A float holds about seven digits: a clock time of 83.517 s is stored a hair below it, so the
    // truncation to whole milliseconds allows for one float step (never half a millisecond).
    const double product = double(seconds) * 1000.0;
    const double step = std::min(product * 1.2e-7, 0.5);
    const long long ms = static_cast<long long>(std::min(product + step, kMaxMs));
    char text[32];  // every field is in range, so exactly kRaceTimeSize bytes are used
    snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", static_cast<int>(ms / 3600000),
             static_cast<int>(ms % 3600000 / 60000), static_cast<int>(ms % 60000 / 1000), static_cast<int>(ms % 1000));
    memcpy(out, text, kRaceTimeSize);
}
