// moviegen renders a synthetic object movie: an L-shaped, textured block with a
// red marker sphere and a yellow bar, seen from a grid of viewpoints, written as
// JPEG views and the .zel description that wires them for dragging. The same
// options always give byte-identical files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zel::moviegen {

inline constexpr int kMinPictureSide = 12;  // the viewer's drag step is a twelfth of a side
inline constexpr int kMaxPictureSide = 4096;
inline constexpr int kMaxGridSide = 64;  // rows and columns each
inline constexpr int kMaxRestartRows = 65535;
inline constexpr size_t kMaxViewNameLength = 79;  // the plug-in keeps no more

struct RgbImage {
    int width = 0, height = 0;
    std::vector<uint8_t> pixels;  // R, G, B per pixel, rows top to bottom, no padding
};

struct JpegOptions {
    int quality = 85;
    bool progressive = false;
    bool grayscale = false;
    int restartRows = 0;  // 0 = no restart markers
};

struct MovieOptions {
    // Columns step the object round its vertical axis over a full turn. Rows
    // tilt it from 10 to 70 degrees of elevation, or over a full vertical turn
    // when wrapRows is set; a single row sees it from 20 degrees.
    int rows = 3, cols = 12;
    int width = 320, height = 240;
    bool wrapCols = true;  // right of the last column is the first (a full turn)
    bool wrapRows = false;
    JpegOptions jpeg;
    int flag = 0;        // the description's 4th header value
    bool morph = false;  // write a morph section and morph files (sets flag to 1 if flag == 0)
    std::string descriptionName = "movie.zel";
    std::string viewPattern = "view_r%d_c%02d.jpg";  // row, then column; %d with an optional 0 and width
};

// True when WriteMovie would accept the options; else *error says why in one line.
bool ValidateOptions(const MovieOptions& options, std::string* error);

// The view at `row`, `col` of the grid, options.width by options.height pixels
// (an empty image when the size is not positive).
RgbImage RenderView(const MovieOptions& options, int row, int col);

bool WriteJpeg(const std::string& path, const RgbImage& image, const JpegOptions& options, std::string* error);

// Makes the JPEG file at `path` claim `width` x `height` pixels by rewriting its
// frame header (SOFn); the scan data stays that of the real picture. False when
// the file has no frame header. For hostile-picture tests.
bool ClaimSize(const std::string& path, uint16_t width, uint16_t height);

// The view's file name from options.viewPattern, or "" when the pattern is not
// two integer conversions.
std::string ViewName(const MovieOptions& options, int row, int col);

// The .zel text: header, one record per view in index order (row * cols + col),
// then the morph section when options.morph is set.
std::string DescriptionText(const MovieOptions& options);

// Writes every view, the description (and morph files) into `folder` (created if
// missing). Returns the description's path, or "" with *error set.
std::string WriteMovie(const std::string& folder, const MovieOptions& options, std::string* error);

}  // namespace zel::moviegen
