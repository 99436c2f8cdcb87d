// Reading vehicle files: keys, texts, the setting count and values the flight model cannot use.
#include <gtest/gtest.h>

#include <string>

#include "race/vehicle.h"
#include "testutil.h"

namespace {

const char kComplete[] =
    "NAME Hornet\nENGINE Twin turbine\nPRICE 1200\nDAMAGEPRICE 20\nWEIGHT 900\nHORSE_POWER 300\nTOP_SPEED 180\n"
    "THRUST_POWER 10.5\nBRAKE_POWER 14\nTURN_POWER 1.8\nMAX_SPEED 25\nMAX_TILT 35\nENGINE_DAMAGE_THRESHOLD 50\n"
    "ENGINE_DESTROYED_THRESHOLD 100\nDAMAGE_SCALE 0.04\nDESCRIPTION\nA light craft.\nPRICE 5\n";

// The complete file logs nothing; a missing one is logged and leaves the definition as it was. All four at once:
// the missing ones empty, their models released.
TEST(VehicleFile, FilesReadAsTheGameReadsThemUnusableValuesAreReplacedAndAllFourLoadAndAreReleased) {
    GameTreeSandbox sandbox;
    const auto Read = [&](const std::string& text) {
        WriteText(sandbox.Path("Scripts/v.txt"), text);
        VehicleDefinition def{};
        EXPECT_TRUE(ReadVehicleFile("../Scripts/v.txt", def));
        return def;
    };
    VehicleDefinition def = Read(kComplete);
    EXPECT_STREQ(def.name, " Hornet");  // the blank after the key stays, the line break goes
    EXPECT_STREQ(def.engine, " Twin turbine");
    EXPECT_EQ(def.price, 1200);  // the PRICE line in the description is text
    EXPECT_EQ(def.topSpeed, 180);
    EXPECT_FLOAT_EQ(def.turnPower, 1.8f);
    EXPECT_EQ(def.engineDamageThreshold, 50);  // not taken for ENGINE
    EXPECT_FLOAT_EQ(def.damageScale, 0.04f);
    EXPECT_STREQ(def.description, "A light craft.\nPRICE 5\n");
    EXPECT_EQ(LogText(), "");
    EXPECT_FALSE(ReadVehicleFile("../Scripts/none.txt", def));
    EXPECT_EQ(def.price, 1200);
    EXPECT_EQ(LogText(), "Failed to load ../Scripts/none.txt\n");
    def = Read(" PRICE 1200\nDAMAGEPRICE 7\nPRICE7\n");
    EXPECT_EQ(def.price, 7);  // no blank needed between key and number
    EXPECT_EQ(def.damagePrice, 7);
    EXPECT_TRUE(Logged("Vehicle file ../Scripts/v.txt had format error: Too few settings specified (2 of 16)."));
    // A threshold without a number is engine text.
    const VehicleDefinition engine = Read("ENGINE_DAMAGE_THRESHOLD high\n");
    EXPECT_STREQ(engine.engine, "_DAMAGE_THRESHOLD high");
    EXPECT_EQ(engine.engineDamageThreshold, 0);
    EXPECT_TRUE(Logged("(1 of 16)."));
    // The last line without a line break loses its last character.
    EXPECT_STREQ(Read("NAME Hornet").name, " Horne");
    EXPECT_STREQ(Read("NAME").name, "");
    EXPECT_EQ(Read("WEIGHT 99999999999999999999\n").weight, INT32_MAX);  // clamped, not wrapped
    // Values the flight model cannot use are replaced and logged (that any file gives it usable numbers:
    // fuzz_vehiclefile).
    const VehicleDefinition bad =
        Read("MAX_SPEED nan\nTHRUST_POWER -4\nMAX_TILT 400\nDAMAGE_SCALE inf\nPRICE -10\nTURN_POWER 2\n");
    EXPECT_EQ(bad.maxSpeed, 0.0f);
    EXPECT_EQ(bad.maxTilt, 90.0f);
    EXPECT_EQ(bad.price, 0);
    EXPECT_TRUE(Logged("Vehicle file ../Scripts/v.txt: MAX_SPEED nan is out of range"));
    EXPECT_TRUE(Logged("MAX_TILT 400.000000 is out of range (0 to 90), using 90"));
    EXPECT_TRUE(Logged("MAX_SPEED is 0, the vehicle cannot move"));
    EXPECT_TRUE(Logged("negative price -10, using 0"));
    WriteText(sandbox.Path("Scripts/vehicle2.txt"), kComplete);
    LoadVehicles(nullptr, nullptr);
    EXPECT_STREQ(gVehicles[1].name, " Hornet");
    EXPECT_STREQ(gVehicles[0].name, "");
    EXPECT_TRUE(Logged("Failed to load ../Scripts/vehicle1.txt"));
    EXPECT_TRUE(Logged("Failed to load ../Scripts/vehicle4.txt"));
    EXPECT_EQ(gVehicles[0].model, nullptr);
    ASSERT_NE(gVehicles[1].model, nullptr);  // the model file is missing: an empty model
    ReleaseVehicles();
    EXPECT_EQ(gVehicles[1].model, nullptr);
}

}  // namespace
