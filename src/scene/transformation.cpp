#include "scene/transformation.h"

#include <GL/gl.h>
#include <algorithm>
#include <cmath>

namespace {

constexpr float kDegreesToRadians = kPi / 180.0f;

// The image of +Z after rotating by yawDeg about Y and then by pitchDeg about X.
void RotatedForward(float yawDeg, float pitchDeg, float out[3]) {
    const float yawRad = yawDeg * kDegreesToRadians;
    const float pitchRad = pitchDeg * kDegreesToRadians;
    out[0] = std::sin(yawRad) * std::cos(pitchRad);
    out[1] = -std::sin(pitchRad);
    out[2] = std::cos(yawRad) * std::cos(pitchRad);
}

}  // namespace

Pose VehiclePoseOfCamera(const Pose& c) {
    return {c.x, c.y - kEyeHeight, c.z, -c.yaw, -c.pitch, -c.roll};
}

Pose CameraPoseOfVehicle(const Pose& v) {
    return {v.x, v.y + kEyeHeight, v.z, -v.yaw, -v.pitch, -v.roll};
}

void Normalize(float v[3], float out[3]) {
    const float length = Length(v);
    for (int i = 0; i < 3; ++i) {
        v[i] /= length;
        out[i] = v[i];
    }
}

float Length(const float v[3]) {
    return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
}

void BoundingBox::AddPoint(float x, float y, float z) {
    const float p[3] = {x, y, z};
    for (int i = 0; i < 3; ++i) {
        min[i] = std::min(min[i], p[i]);
        max[i] = std::max(max[i], p[i]);
    }
}

void BoundingBox::Center(float out[3]) const {
    for (int i = 0; i < 3; ++i)
        out[i] = hasSphere ? center[i] : (min[i] + max[i]) * 0.5f;
}

float BoundingBox::Radius() const {
    if (hasSphere)
        return radius;
    const float half[3] = {(max[0] - min[0]) * 0.5f, (max[1] - min[1]) * 0.5f, (max[2] - min[2]) * 0.5f};
    return Length(half);
}

bool BoundingBox::Contains(float x, float y, float z) const {
    return min[0] <= x && x <= max[0] && min[1] <= y && y <= max[1] && min[2] <= z && z <= max[2];
}

bool BoundingBox::Overlaps(const BoundingBox& o) const {
    for (int i = 0; i < 3; ++i)
        if (o.max[i] < min[i] || max[i] < o.min[i])
            return false;
    return true;
}

bool BoundingBox::InReachOf(const float p[3], float reach) const {
    float c[3];
    Center(c);
    const float d[3] = {p[0] - c[0], p[1] - c[1], p[2] - c[2]};
    return Length(d) <= Radius() + reach;
}

void BoundingBox::Freeze() {
    float c[3];
    Center(c);
    const float r = Radius();
    for (int i = 0; i < 3; ++i)
        center[i] = c[i];
    radius = r;
    hasSphere = true;
}

void CTransformation::Apply() {
    glTranslatef(x, y, z);
    glRotatef(yaw, 0.0f, 1.0f, 0.0f);
    glRotatef(pitch, 1.0f, 0.0f, 0.0f);
    glRotatef(roll, 0.0f, 0.0f, 1.0f);
}

void CTransformation::Reset() {
    x = y = z = 0.0f;
    yaw = pitch = roll = 0.0f;
}

void CTransformation::ApplyRotation() {
    glRotatef(roll, 0.0f, 0.0f, 1.0f);
    glRotatef(pitch, 1.0f, 0.0f, 0.0f);
    glRotatef(yaw, 0.0f, 1.0f, 0.0f);
}

void CTransformation::Translate(float dx, float dy, float dz) {
    x += dx;
    y += dy;
    z += dz;
}

void CTransformation::SetPosition(float nx, float ny, float nz) {
    x = nx;
    y = ny;
    z = nz;
}

void CTransformation::Pitch(float delta) {
    pitch = std::clamp(pitch + delta, -90.0f, 90.0f);
}

void CTransformation::Yaw(float delta) {
    yaw += delta;
}

void CTransformation::SetPitch(float angle) {
    pitch = angle;
}

void CTransformation::SetYaw(float angle) {
    yaw = angle;
}

void CTransformation::SetRoll(float angle) {
    roll = angle;
}

void CTransformation::Roll(float delta, float limit) {
    roll += delta;
    roll = roll > 0.0f ? std::min(roll, limit) : std::max(roll, -limit);
}

float* CTransformation::GetDirection(float out[3]) {
    RotatedForward(yaw, pitch, out);
    return out;
}

CCamera::CCamera(TextureManager* textures) : textureManager(textures) {}

void CCamera::Apply() {
    CTransformation::ApplyRotation();
    glTranslatef(-x, -y, -z);
}

void CCamera::SeatOn(const Pose& vehicle) {
    const Pose eye = CameraPoseOfVehicle(vehicle);
    Reset();
    SetPosition(eye.x, eye.y, eye.z);
    Yaw(eye.yaw);
}

void CCamera::Reset() {
    CTransformation::Reset();
    viewYaw = viewPitch = 0.0f;
}

float* CCamera::GetDirection(float out[3]) {
    RotatedForward(-yaw, -pitch, out);
    return out;
}

void CCamera::MoveAlongView(float d) {
    float p[3];
    PointAlongView(d, p);
    SetPosition(p[0], p[1], p[2]);
}

void CCamera::PointAlongView(float d, float out[3]) const {
    float dir[3];
    RotatedForward(-viewYaw, -viewPitch, dir);
    out[0] = x - d * dir[0];
    out[1] = y - d * dir[1];
    out[2] = z - d * dir[2];
}

ViewPlanes CurrentViewPlanes() {
    float view[16], projection[16], clip[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, view);
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r) {
            clip[4 * c + r] = 0.0f;
            for (int k = 0; k < 4; ++k) clip[4 * c + r] += projection[4 * k + r] * view[4 * c + k];
        }
    // Row r of the clip matrix is (clip[r], clip[4 + r], clip[8 + r], clip[12 + r]).
    const int rows[ViewPlanes::kCount] = {0, 0, 1, 1, 2};
    const float signs[ViewPlanes::kCount] = {1.0f, -1.0f, 1.0f, -1.0f, 1.0f};
    ViewPlanes v;
    for (int p = 0; p < ViewPlanes::kCount; ++p) {
        float* plane = v.planes[p];
        for (int c = 0; c < 4; ++c) plane[c] = clip[4 * c + 3] + signs[p] * clip[4 * c + rows[p]];
        const float length = std::sqrt(plane[0] * plane[0] + plane[1] * plane[1] + plane[2] * plane[2]);
        if (length > 0.0f)
            for (float& x : v.planes[p]) x /= length;
    }
    return v;
}

bool ViewPlanes::Outside(const float c[3], float radius) const {
    for (const float* p : planes)
        if (p[0] * c[0] + p[1] * c[1] + p[2] * c[2] + p[3] < -radius)
            return true;
    return false;
}
