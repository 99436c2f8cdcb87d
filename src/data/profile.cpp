#include "data/profile.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "app/log.h"
#include "data/scriptline.h"
#include "platform/files.h"

Profile gProfile;
int gSelectedVehicle = 0;
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

const char* const kKeyWords[NUM_KEYS] = {"ACTIVE_VEHICLE",  "PERCENT_COMPLETE", "CASH",
                                          "RACES_COMPLETED", "BRONZE_CUPS_WON",  "SILVER_CUPS_WON",
                                          "GOLD_CUPS_WON",   "RECORD",           "OWNED_VEHICLE"};

// Game times stay far below this; a larger one only shows as the longest time there is.
constexpr float kMaxRaceSeconds = 1e7f;

// A value is the number the line begins with, as scanf would read it; a line without one is ignored.
bool ParseInt(const char* text, int32_t& out) {
    char* end = nullptr;
    const long long v = strtoll(text, &end, 10);
    if (end == text)
        return false;
    out = static_cast<int32_t>(std::clamp<long long>(v, INT32_MIN, INT32_MAX));
    return true;
}

// Numbers that are no numbers (nan, inf, an overflow) scan as numbers, so a record line holding one keeps
// its track's place; they read as 0, as they would reach the screens' integer conversions.
bool ParseFloat(const char* text, float lo, float hi, float& out) {
    char* end = nullptr;
    const float v = strtof(text, &end);
    if (end == text)
        return false;
    out = std::isfinite(v) ? std::clamp(v, lo, hi) : 0.0f;
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

// Every line stands alone: missing keys keep their reset values and other lines are ignored, so only
// what would harm the game is refused. The NAME line is one of those: the name is the file's, so no line
// can lock a profile out or point its next save at another profile's file.
class ProfileReader {
public:
    ProfileReader(const char* file, Profile& profile) : file(file), p(profile) {}

    void Line(const char* line) {
        const size_t wordLength = strcspn(line, " \t\n");
        for (int k = 0; k < NUM_KEYS; ++k)
            if (strlen(kKeyWords[k]) == wordLength && strncmp(line, kKeyWords[k], wordLength) == 0) {
                Value(static_cast<Key>(k), line + wordLength);
                return;
            }
    }

    bool Finish() {
        const int active = p.activeVehicle;
        if (active != 0 && (active < 0 || active >= kNumVehicles || !p.ownedVehicles[active])) {
            Log("Profile %s: vehicle %d is not one it owns, the first vehicle is used", file, active);
            p.activeVehicle = 0;
        }
        return ok;
    }

private:
    void Value(Key key, const char* value) {
        int32_t flag = 0;
        float time = 0.0f;
        switch (key) {
        case KEY_ACTIVE_VEHICLE: ParseInt(value, p.activeVehicle); break;
        case KEY_PERCENT_COMPLETE: ParseFloat(value, 0.0f, 100.0f, p.percentComplete); break;
        case KEY_CASH: ParseInt(value, p.cash); break;
        case KEY_RACES_COMPLETED: ParseInt(value, p.racesCompleted); break;
        case KEY_BRONZE_CUPS: ParseInt(value, p.bronzeCups); break;
        case KEY_SILVER_CUPS: ParseInt(value, p.silverCups); break;
        case KEY_GOLD_CUPS: ParseInt(value, p.goldCups); break;
        case KEY_RECORD:
            if (ParseFloat(value, 0.0f, kMaxRaceSeconds, time) &&
                Next(records, kNumTracks, "Profile format error (too many records listed!)"))
                p.bestTimes[records - 1] = time;
            break;
        case KEY_OWNED_VEHICLE:
            if (ParseInt(value, flag) &&
                Next(owned, kNumVehicles, "Profile format error (too many owned vehicles listed!)"))
                p.ownedVehicles[owned - 1] = flag != 0;
            break;
        case NUM_KEYS: break;
        }
    }

    // Counts one more line of a listed key; one beyond the list is logged and refuses the file.
    bool Next(int& count, int limit, const char* message) {
        if (count >= limit) {
            Log("%s", message);
            ok = false;
            return false;
        }
        ++count;
        return true;
    }

    const char* file;
    Profile& p;
    bool ok = true;
    int records = 0, owned = 0;
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
    // The profile is named after its file, never after the profile loaded before, whose file the next save
    // would otherwise overwrite.
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
    // The folder without its trailing "/", through which remove_all would follow a link put in its place
    // and empty the link's target; this way a link, here or inside, goes as a link.
    const std::filesystem::path ghosts = std::filesystem::path(GamePath(GhostFolder(name).c_str())).parent_path();
    std::error_code ec;
    std::filesystem::remove_all(ghosts, ec);
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
