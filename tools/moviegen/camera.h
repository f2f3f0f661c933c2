// Where each view of the grid sees the object from. The object turns, not the
// camera: a view is the object yawed about its vertical axis by the column's
// angle, then pitched about the horizontal axis by the row's, before a fixed
// camera on the +z axis. The next column moves the object's front to the right,
// as a drag to the right would; the next row tips its top towards the viewer,
// as a drag downwards would.
#pragma once

#include "moviegen.h"
#include "vec3.h"

namespace zel::moviegen {

double YawDegrees(const MovieOptions& options, int col);
double PitchDegrees(const MovieOptions& options, int row);

class Camera {
public:
    Camera(const MovieOptions& options, int row, int col);

    // The ray, in object space, through a point of the picture given in pixels
    // from its top left corner (a pixel's centre is at +0.5).
    Ray RayThrough(double x, double y) const;
    // The picture point (pixels, as above less 0.5: pixel centres) where an
    // object-space point shows.
    void Project(Vec3 point, double* x, double* y) const;
    Vec3 CameraToObject(Vec3 direction) const;

private:
    Vec3 ObjectToCamera(Vec3 v) const;

    double m_rotation[3][3];  // object space to camera space
    double m_centreX, m_centreY;
    double m_pixelsPerUnit;  // picture pixels per unit of the image plane at distance 1
    Vec3 m_eyeInObject;
};

}  // namespace zel::moviegen
