// Three-component vectors and rays for the ray caster: points, directions and
// colours (0..1 per channel) alike.
#pragma once

#include <cmath>

namespace zel::moviegen {

struct Vec3 {
    double x = 0, y = 0, z = 0;

    double operator[](int axis) const { return axis == 0 ? x : axis == 1 ? y : z; }
};

inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(Vec3 a, double s) { return {a.x * s, a.y * s, a.z * s}; }
inline Vec3 operator*(Vec3 a, Vec3 b) { return {a.x * b.x, a.y * b.y, a.z * b.z}; }
inline double Dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 Normalize(Vec3 a) { return a * (1.0 / std::sqrt(Dot(a, a))); }

struct Ray {
    Vec3 origin;
    Vec3 direction;  // unit length
};

}  // namespace zel::moviegen
