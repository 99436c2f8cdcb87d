#pragma once

#include "data/recording.h"

class CCamera;

// The vehicle model's pose that matches the race camera (VehiclePoseOfCamera) at a time.
RecordingSample PoseOfCamera(const CCamera& camera, float time);
