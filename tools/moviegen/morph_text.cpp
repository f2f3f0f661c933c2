#include "morph_text.h"

#include <algorithm>
#include <cmath>

#include "camera.h"
#include "render.h"
#include "scene.h"

namespace zel::moviegen {

namespace {

struct Point {
    int x = 0, y = 0;
};

// Kept strictly inside the picture so the fan's triangles never fold over.
Point MarkerPoint(const MovieOptions& options, int row, int col) {
    double x = 0, y = 0;
    Camera(options, row, col).Project(kMarkerCentre, &x, &y);
    const auto inside = [](double value, int side) {
        return int(std::clamp(std::lround(value), 1L, long(side) - 2));
    };
    return {inside(x, options.width), inside(y, options.height)};
}

}  // namespace

std::string MorphText(const MovieOptions& options, const AdjacentPair& pair) {
    const int right = options.width - 1, bottom = options.height - 1;
    const Point corners[4] = {{0, 0}, {right, 0}, {right, bottom}, {0, bottom}};
    const Point markerA = MarkerPoint(options, pair.row, pair.col);
    const Point markerB = MarkerPoint(options, pair.row, pair.rightCol);

    const auto corr = [](Point a, Point b) {
        return "CORR " + std::to_string(a.x) + " " + std::to_string(a.y) + " " + std::to_string(b.x) + " " +
               std::to_string(b.y) + "\n";
    };
    std::string text;
    for (const Point& corner : corners) text += corr(corner, corner);
    text += corr(markerA, markerB);
    for (int i = 0; i < 4; ++i) {
        text += "POLY " + std::to_string(i) + " " + std::to_string((i + 1) % 4) + " 4\n";
    }
    const Vec3 middle = BackgroundColour(0.5);
    text += "BACKGROUND " + std::to_string(ToByte(middle.x)) + " " + std::to_string(ToByte(middle.y)) + " " +
            std::to_string(ToByte(middle.z)) + "\n";
    return text;
}

}  // namespace zel::moviegen
