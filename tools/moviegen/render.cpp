// The ray caster: four samples per pixel, a directional light fixed to the
// camera (as studio lights stay put while a turntable turns), one shadow ray per
// lit surface sample, and the backdrop wherever the object is missed.
#include "render.h"

#include <algorithm>
#include <cmath>

#include "camera.h"
#include "moviegen.h"
#include "scene.h"

namespace zel::moviegen {

namespace {

constexpr Vec3 kBackgroundTop{0.16, 0.20, 0.32};
constexpr Vec3 kBackgroundBottom{0.62, 0.66, 0.74};
constexpr Vec3 kLightInCamera{-0.45, 0.75, 0.5};  // from the upper left, in front
constexpr double kAmbient = 0.4;
constexpr double kDiffuse = 0.6;
constexpr double kShadowOffset = 1e-6;
constexpr double kSampleOffsets[2] = {0.25, 0.75};

Vec3 Sample(const Camera& camera, Vec3 light, double x, double y, Vec3 background) {
    Hit hit;
    if (!TraceObject(camera.RayThrough(x, y), 0.0, &hit)) return background;
    double brightness = kAmbient;
    const double facing = Dot(hit.normal, light);
    if (facing > 0 && !Blocked({hit.point + hit.normal * kShadowOffset, light}, 0.0)) {
        brightness += kDiffuse * facing;
    }
    return hit.colour * brightness;
}

}  // namespace

Vec3 BackgroundColour(double fraction) {
    return kBackgroundTop * (1.0 - fraction) + kBackgroundBottom * fraction;
}

uint8_t ToByte(double channel) {
    return static_cast<uint8_t>(std::lround(std::clamp(channel, 0.0, 1.0) * 255.0));
}

RgbImage RenderView(const MovieOptions& options, int row, int col) {
    RgbImage image;
    if (options.width <= 0 || options.height <= 0) return image;
    image.width = options.width;
    image.height = options.height;
    image.pixels.resize(size_t(image.width) * size_t(image.height) * 3);

    const Camera camera(options, row, col);
    const Vec3 light = camera.CameraToObject(Normalize(kLightInCamera));
    uint8_t* out = image.pixels.data();
    for (int y = 0; y < image.height; ++y) {
        const Vec3 background = BackgroundColour((y + 0.5) / image.height);
        for (int x = 0; x < image.width; ++x) {
            Vec3 sum;
            for (double dy : kSampleOffsets) {
                for (double dx : kSampleOffsets) sum = sum + Sample(camera, light, x + dx, y + dy, background);
            }
            *out++ = ToByte(sum.x / 4);
            *out++ = ToByte(sum.y / 4);
            *out++ = ToByte(sum.z / 4);
        }
    }
    return image;
}

}  // namespace zel::moviegen
