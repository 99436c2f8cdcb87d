#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "scene/milkshape.h"

// Which optional trailer blocks to write after the joints (all of them by default).
struct Ms3dWriteOptions {
    bool comments = true;
    int vertexExtraVersion = 2;  // 1 or 2; 0 writes no vertex extras (and so no later blocks)
    bool jointExtra = true;
    bool modelExtra = true;
};

// The model as MilkShape 3D version 4 bytes. Keyframe times in memory are in frames, as the loader leaves
// them; the file gets seconds. False (error set) when the model does not fit the format: more than 65535
// of anything, or a group naming a triangle beyond 65535.
bool EncodeMs3d(const CMilkshapeModel& model, const Ms3dWriteOptions& options, std::vector<uint8_t>& out,
                std::string& error);

// Encodes and writes the file, creating its folder; prints why on failure.
bool WriteMs3d(const std::string& path, const CMilkshapeModel& model, const Ms3dWriteOptions& options = {});
