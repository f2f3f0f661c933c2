#include "scene.h"

#include <cmath>
#include <limits>
#include <utility>

namespace zel::moviegen {

namespace {

enum class Material { Slab, Tower, Bar };

struct Box {
    Vec3 min, max;
    Material material;
};

// The long low slab, the tower at its right end towards the back, and the bar.
constexpr Box kBoxes[] = {
    {{-1.0, -0.75, -0.55}, {1.0, -0.25, 0.55}, Material::Slab},
    {{0.25, -0.25, -0.55}, {1.0, 0.75, 0.05}, Material::Tower},
    {{-1.35, -0.6, -0.1}, {-1.0, -0.45, 0.1}, Material::Bar},
};
constexpr double kMarkerRadius = 0.25;

// Indexed by axis, then by the normal's sign (negative, positive).
constexpr Vec3 kFaceColours[3][2] = {
    {{0.24, 0.63, 0.27}, {0.55, 0.30, 0.75}},  // left green, right purple
    {{0.40, 0.40, 0.45}, {0.90, 0.88, 0.80}},  // bottom grey (teal on the left half), top cream
    {{0.90, 0.58, 0.16}, {0.24, 0.36, 0.80}},  // back orange, front blue
};
constexpr Vec3 kUndersideLeftColour{0.25, 0.60, 0.65};
// From high up the two tops would otherwise merge into one cream floor.
constexpr Vec3 kTowerTopColour{0.95, 0.70, 0.62};
constexpr Vec3 kBarColour{0.95, 0.82, 0.16};
constexpr Vec3 kMarkerColour{0.85, 0.12, 0.12};
constexpr Vec3 kBandColour{0.95, 0.95, 0.95};
constexpr double kCheckerCell = 0.25;
constexpr double kCheckerDark = 0.62;

Vec3 BlockColour(Material material, int axis, bool positive, Vec3 point) {
    // The checkerboard uses the two coordinates along the face: the third sits
    // on a cell boundary at some faces and would flicker with rounding.
    const int u = (axis + 1) % 3, v = (axis + 2) % 3;
    const auto cell = [](double c) { return static_cast<long>(std::floor(c / kCheckerCell)); };
    const bool dark = ((cell(point[u]) + cell(point[v])) & 1) != 0;
    // Seen from below the slab alone would look the same after half a turn.
    const bool undersideLeft = axis == 1 && !positive && point.x < 0;
    const bool towerTop = material == Material::Tower && axis == 1 && positive;
    const Vec3 base = undersideLeft ? kUndersideLeftColour
                      : towerTop    ? kTowerTopColour
                                    : kFaceColours[axis][positive ? 1 : 0];
    return base * (dark ? kCheckerDark : 1.0);
}

bool HitBox(const Box& box, const Ray& ray, double tMin, Hit* hit) {
    double tNear = -std::numeric_limits<double>::infinity();
    double tFar = std::numeric_limits<double>::infinity();
    int nearAxis = -1;
    for (int axis = 0; axis < 3; ++axis) {
        const double origin = ray.origin[axis], direction = ray.direction[axis];
        if (std::fabs(direction) < 1e-12) {
            if (origin < box.min[axis] || origin > box.max[axis]) return false;
            continue;
        }
        double t0 = (box.min[axis] - origin) / direction;
        double t1 = (box.max[axis] - origin) / direction;
        if (t0 > t1) std::swap(t0, t1);
        if (t0 > tNear) {
            tNear = t0;
            nearAxis = axis;
        }
        if (t1 < tFar) tFar = t1;
    }
    // Rays start outside every box, so the entry is the surface they meet.
    if (nearAxis < 0 || tNear > tFar || tNear <= tMin || tNear >= hit->t) return false;
    const bool positive = ray.direction[nearAxis] < 0;
    hit->t = tNear;
    hit->point = ray.origin + ray.direction * tNear;
    const double sign = positive ? 1.0 : -1.0;
    hit->normal = {nearAxis == 0 ? sign : 0.0, nearAxis == 1 ? sign : 0.0, nearAxis == 2 ? sign : 0.0};
    hit->colour =
        box.material == Material::Bar ? kBarColour : BlockColour(box.material, nearAxis, positive, hit->point);
    return true;
}

bool HitMarker(const Ray& ray, double tMin, Hit* hit) {
    const Vec3 offset = ray.origin - kMarkerCentre;
    const double b = Dot(offset, ray.direction);
    const double c = Dot(offset, offset) - kMarkerRadius * kMarkerRadius;
    const double discriminant = b * b - c;
    if (discriminant < 0) return false;
    const double t = -b - std::sqrt(discriminant);
    if (t <= tMin || t >= hit->t) return false;
    hit->t = t;
    hit->point = ray.origin + ray.direction * t;
    hit->normal = (hit->point - kMarkerCentre) * (1.0 / kMarkerRadius);
    // A band tilted out of the horizontal, so the sphere shows which way it turns.
    const Vec3 bandAxis = Normalize({0.35, 1.0, 0.2});
    hit->colour = std::fabs(Dot(hit->normal, bandAxis)) < 0.28 ? kBandColour : kMarkerColour;
    return true;
}

bool MissesBoundingSphere(const Ray& ray) {
    const double b = Dot(ray.origin, ray.direction);
    const double c = Dot(ray.origin, ray.origin) - kBoundingRadius * kBoundingRadius;
    return c > 0 && (b > 0 || b * b - c < 0);
}

}  // namespace

bool TraceObject(const Ray& ray, double tMin, Hit* hit) {
    if (MissesBoundingSphere(ray)) return false;
    hit->t = std::numeric_limits<double>::infinity();
    bool found = HitMarker(ray, tMin, hit);
    for (const Box& box : kBoxes) found = HitBox(box, ray, tMin, hit) || found;
    return found;
}

bool Blocked(const Ray& ray, double tMin) {
    Hit hit;
    return TraceObject(ray, tMin, &hit);
}

}  // namespace zel::moviegen
