// The synthetic object, in object space (y up, its front facing +z): an L-shaped
// block (a tower on the right end of a slab) whose faces each have their own
// colour under a checkerboard, a red sphere with a tilted white band on the
// slab's left half, and a yellow bar out of its left end. No mirror or turn maps
// it onto itself, so every view is distinct.
#pragma once

#include "vec3.h"

namespace zel::moviegen {

inline constexpr double kBoundingRadius = 1.5;  // about the origin
inline constexpr Vec3 kMarkerCentre{-0.5, 0.0, 0.25};

struct Hit {
    double t = 0;  // distance along the ray
    Vec3 point;
    Vec3 normal;  // unit length, facing the ray's origin
    Vec3 colour;  // the surface's own colour
};

// The nearest surface along `ray` beyond tMin.
bool TraceObject(const Ray& ray, double tMin, Hit* hit);
// Whether any surface lies along `ray` beyond tMin (for shadows).
bool Blocked(const Ray& ray, double tMin);

}  // namespace zel::moviegen
