#include "camera.h"

#include <algorithm>
#include <cmath>

#include "scene.h"

namespace zel::moviegen {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kEyeDistance = 5.0;
constexpr double kLowestPitch = 10.0;
constexpr double kHighestPitch = 70.0;
constexpr double kSingleRowPitch = 20.0;

}  // namespace

double YawDegrees(const MovieOptions& options, int col) {
    return 360.0 * col / std::max(options.cols, 1);
}

double PitchDegrees(const MovieOptions& options, int row) {
    if (options.wrapRows) return kSingleRowPitch + 360.0 * row / std::max(options.rows, 1);
    if (options.rows <= 1) return kSingleRowPitch;
    return kLowestPitch + (kHighestPitch - kLowestPitch) * row / (options.rows - 1);
}

Camera::Camera(const MovieOptions& options, int row, int col) {
    const double yaw = YawDegrees(options, col) * kPi / 180.0;
    const double pitch = PitchDegrees(options, row) * kPi / 180.0;
    const double cy = std::cos(yaw), sy = std::sin(yaw), cp = std::cos(pitch), sp = std::sin(pitch);
    // Pitch (about x) after yaw (about y): the product Rx * Ry.
    const double rotation[3][3] = {
        {cy, 0, sy},
        {sp * sy, cp, -sp * cy},
        {-cp * sy, sp, cp * cy},
    };
    std::copy(&rotation[0][0], &rotation[0][0] + 9, &m_rotation[0][0]);

    m_centreX = options.width / 2.0;
    m_centreY = options.height / 2.0;
    // The whole object fits the shorter side from any direction, with a margin.
    const double halfAngleTangent = 1.05 * kBoundingRadius /
                                    std::sqrt(kEyeDistance * kEyeDistance - kBoundingRadius * kBoundingRadius);
    m_pixelsPerUnit = std::min(options.width, options.height) / 2.0 / halfAngleTangent;
    m_eyeInObject = CameraToObject({0, 0, kEyeDistance});
}

Ray Camera::RayThrough(double x, double y) const {
    const Vec3 direction{(x - m_centreX) / m_pixelsPerUnit, (m_centreY - y) / m_pixelsPerUnit, -1.0};
    return {m_eyeInObject, CameraToObject(Normalize(direction))};
}

void Camera::Project(Vec3 point, double* x, double* y) const {
    const Vec3 p = ObjectToCamera(point);
    const double scale = m_pixelsPerUnit / (kEyeDistance - p.z);
    *x = m_centreX + p.x * scale - 0.5;
    *y = m_centreY - p.y * scale - 0.5;
}

Vec3 Camera::ObjectToCamera(Vec3 v) const {
    const auto& m = m_rotation;
    return {m[0][0] * v.x + m[0][1] * v.y + m[0][2] * v.z, m[1][0] * v.x + m[1][1] * v.y + m[1][2] * v.z,
            m[2][0] * v.x + m[2][1] * v.y + m[2][2] * v.z};
}

Vec3 Camera::CameraToObject(Vec3 v) const {
    const auto& m = m_rotation;  // a rotation: its inverse is its transpose
    return {m[0][0] * v.x + m[1][0] * v.y + m[2][0] * v.z, m[0][1] * v.x + m[1][1] * v.y + m[2][1] * v.z,
            m[0][2] * v.x + m[1][2] * v.y + m[2][2] * v.z};
}

}  // namespace zel::moviegen
