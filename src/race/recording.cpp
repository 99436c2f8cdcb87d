#include "race/recording.h"

#include "scene/transformation.h"

RecordingSample PoseOfCamera(const CCamera& camera, float time) {
    const Pose v = VehiclePoseOfCamera(camera.GetPose());
    return {v.x, v.y, v.z, time, v.yaw, v.pitch, v.roll};
}
