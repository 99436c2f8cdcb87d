#include "race/recording.h"

#include "scene/transformation.h"

RecordingSample PoseOfCamera(const CCamera& camera, float time) {
    return {camera.x, camera.y - kEyeHeight, camera.z, time, -camera.yaw, -camera.pitch, -camera.roll};
}
