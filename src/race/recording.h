#pragma once

#include "data/recording.h"

class CCamera;

// The race camera's eye sits this far above the vehicle model's origin.
constexpr float kEyeHeight = 1.0f;
// The vehicle model's pose that matches the race camera: turned the other way round, one unit lower (the
// race starts one unit above where the fly-over's vehicle stopped).
RecordingSample PoseOfCamera(const CCamera& camera, float time);
