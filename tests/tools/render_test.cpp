#include "moviegen.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace zel::moviegen {
namespace {

MovieOptions Grid(int rows, int cols, bool wrapRows = false) {
    MovieOptions options;
    options.rows = rows;
    options.cols = cols;
    options.wrapRows = wrapRows;
    options.width = 64;
    options.height = 48;
    return options;
}

const uint8_t* Pixel(const RgbImage& image, int x, int y) {
    return image.pixels.data() + (size_t(y) * size_t(image.width) + size_t(x)) * 3;
}

bool SamePixel(const uint8_t* a, const uint8_t* b) { return a[0] == b[0] && a[1] == b[1] && a[2] == b[2]; }

double MeanDifference(const RgbImage& a, const RgbImage& b) {
    double sum = 0;
    for (size_t i = 0; i < a.pixels.size(); ++i) sum += std::abs(a.pixels[i] - b.pixels[i]);
    return sum / double(a.pixels.size());
}

// The object's silhouette: whatever differs from the backdrop, which is the same
// along each row and shows at the left edge of a picture wider than high.
std::vector<bool> Silhouette(const RgbImage& image, bool mirrored) {
    std::vector<bool> mask;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const int from = mirrored ? image.width - 1 - x : x;
            mask.push_back(!SamePixel(Pixel(image, from, y), Pixel(image, 0, y)));
        }
    }
    return mask;
}

// Where the red of the marker sphere shows, on average.
bool MarkerCentroid(const RgbImage& image, double* x, double* y) {
    double sumX = 0, sumY = 0;
    int count = 0;
    for (int py = 0; py < image.height; ++py) {
        for (int px = 0; px < image.width; ++px) {
            const uint8_t* p = Pixel(image, px, py);
            if (p[0] > 60 && p[1] * 10 < p[0] * 3 && p[2] * 10 < p[0] * 3) {
                sumX += px;
                sumY += py;
                ++count;
            }
        }
    }
    if (count == 0) return false;
    *x = sumX / count;
    *y = sumY / count;
    return true;
}

TEST(moviegen_Render, ShowsTheObjectOverAVerticalGradient) {
    MovieOptions options = Grid(3, 12);
    options.width = 80;
    options.height = 60;
    const RgbImage image = RenderView(options, 1, 0);
    ASSERT_EQ(image.width, 80);
    ASSERT_EQ(image.height, 60);
    ASSERT_EQ(image.pixels.size(), 80u * 60u * 3u);
    EXPECT_TRUE(SamePixel(Pixel(image, 0, 0), Pixel(image, 79, 0)));
    EXPECT_TRUE(SamePixel(Pixel(image, 0, 59), Pixel(image, 79, 59)));
    EXPECT_LT(Pixel(image, 0, 0)[2] + 40, Pixel(image, 0, 59)[2]);  // dark at the top, light below
    EXPECT_FALSE(SamePixel(Pixel(image, 40, 30), Pixel(image, 0, 30)));
    int objectPixels = 0;
    for (bool covered : Silhouette(image, false)) objectPixels += covered;
    EXPECT_GT(objectPixels, 80 * 60 / 6);
    EXPECT_LT(objectPixels, 80 * 60 / 2);
}

TEST(moviegen_Render, EveryViewpointLooksDifferent) {
    for (const MovieOptions& options : {Grid(3, 12), Grid(4, 6, true)}) {
        SCOPED_TRACE(std::to_string(options.rows) + " x " + std::to_string(options.cols));
        std::vector<RgbImage> views;
        for (int row = 0; row < options.rows; ++row) {
            for (int col = 0; col < options.cols; ++col) views.push_back(RenderView(options, row, col));
        }
        for (size_t a = 0; a < views.size(); ++a) {
            for (size_t b = a + 1; b < views.size(); ++b) {
                EXPECT_GT(MeanDifference(views[a], views[b]), 3.0) << "views " << a << " and " << b;
            }
        }
    }
}

TEST(moviegen_Render, NoViewIsTheMirrorImageOfAnother) {
    // A mirror-symmetric object would show, mirrored, the outline of the view
    // turned the other way round; lighting aside, this one shows none of them.
    const MovieOptions options = Grid(2, 8);
    for (int row = 0; row < options.rows; ++row) {
        for (int col = 0; col < options.cols; ++col) {
            const std::vector<bool> mirrored = Silhouette(RenderView(options, row, col), true);
            const std::vector<bool> opposite =
                Silhouette(RenderView(options, row, (options.cols - col) % options.cols), false);
            int differing = 0, covered = 0;
            for (size_t i = 0; i < mirrored.size(); ++i) {
                differing += mirrored[i] != opposite[i];
                covered += opposite[i];
            }
            // A symmetric object would differ only in a few edge pixels.
            EXPECT_GT(differing * 20, covered) << "row " << row << ", column " << col;
        }
    }
}

TEST(moviegen_Render, TheNextColumnTurnsTheFrontRightAndTheNextRowTipsTheTopForward) {
    const MovieOptions options = Grid(3, 12);
    double x0 = 0, y0 = 0, xRight = 0, yRight = 0, xDown = 0, yDown = 0;
    ASSERT_TRUE(MarkerCentroid(RenderView(options, 0, 0), &x0, &y0));
    ASSERT_TRUE(MarkerCentroid(RenderView(options, 0, 1), &xRight, &yRight));
    ASSERT_TRUE(MarkerCentroid(RenderView(options, 1, 0), &xDown, &yDown));
    EXPECT_GT(xRight, x0 + 2);
    EXPECT_GT(yDown, y0 + 2);
    EXPECT_NEAR(xDown, x0, 2);
}

}  // namespace
}  // namespace zel::moviegen
