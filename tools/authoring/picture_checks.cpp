// Checks of the view files: each one is looked for beside the description, its
// JPEG header read, and the picture decoded with the core's decoder within the
// description's frame, as the shells decode it. A picture of another size than
// the description's is not decoded: that is an error already. A file that
// several views name is read once and reported at each view.
#include <algorithm>
#include <map>

#include "check_steps.h"
#include "jpeg_probe.h"
#include "plane_buffer.h"

namespace zel::authoring {

namespace {

struct Picture {
    PictureHeader header;
    bool decodes = false;
};

std::string Size(int32_t width, int32_t height) { return std::to_string(width) + " x " + std::to_string(height); }

// The plug-in's three planes for a movie of this picture size.
uint64_t PlaneBytes(int32_t width, int32_t height) {
    return 3 * uint64_t(std::max(PlaneBuffer::kStride, width)) * uint64_t(std::max(PlaneBuffer::kRows, height));
}

void ReportPicture(const AcceptedMovie& movie, int32_t view, const Picture& picture, Report& report) {
    const PictureHeader& header = picture.header;
    const auto add = [&](const char* kind, Severity severity, Shell shell, const std::string& message) {
        report.Add(kind, severity, shell, movie.description, movie.ViewLine(view), movie.Name(view), message);
    };
    switch (header.status) {
        case PictureStatus::Missing:
            add("missing-file", Severity::Error, Shell::Both,
                "the view file is missing (no " + movie.ViewPath(view) + ")");
            return;
        case PictureStatus::NotAFile:
            add("not-a-file", Severity::Error, Shell::Both,
                movie.ViewPath(view) + " is a folder, not a picture file");
            return;
        case PictureStatus::CantOpen:
            add("cant-open", Severity::Error, Shell::Both, movie.ViewPath(view) + " does not open");
            return;
        case PictureStatus::NotJpeg:
            add("not-jpeg", Severity::Error, Shell::Both, "not a JPEG file: " + header.problem);
            return;
        case PictureStatus::Ok:
            break;
    }
    const ViewTable& table = movie.table;
    if (header.width != table.width || header.height != table.height) {
        add("picture-size", Severity::Error, Shell::Both,
            "picture is " + Size(header.width, header.height) + ", the description says " +
                Size(table.width, table.height));
    } else if (!picture.decodes) {
        add("no-decode", Severity::Error, Shell::Both,
            "the picture does not decode to its end: the control shows the view black, the plug-in shows "
            "nothing for it");
        return;
    }
    // The planes grow to the description's frame, never to what a picture claims.
    if (table.width > PlaneBuffer::kStride || table.height > PlaneBuffer::kRows) {
        add("plane-growth", Severity::Warning, Shell::Plugin,
            "the movie's pictures are " + Size(table.width, table.height) +
                ", beyond the plug-in's decoding planes of " + Size(PlaneBuffer::kStride, PlaneBuffer::kRows) +
                ": the plug-in grows them to " + std::to_string(PlaneBytes(table.width, table.height)) + " bytes (memory)");
    }
    if (header.components == 1) {
        add("grayscale", Severity::Warning, Shell::Both, "grayscale picture: the shells show it as grey RGB");
    }
    if (header.progressive) {
        add("progressive", Severity::Warning, Shell::Both,
            "progressive JPEG: slower to decode, and the decoder holds the whole picture's coefficients");
    }
}

}  // namespace

PictureTotals CheckPictures(const AcceptedMovie& movie, Report& report) {
    PictureTotals totals;
    totals.planeBytes = PlaneBytes(0, 0);
    std::map<std::string, Picture> read;
    for (int32_t view = 0; view < movie.table.viewCount; ++view) {
        const std::string path = movie.ViewPath(view);
        auto found = read.find(path);
        if (found == read.end()) {
            Picture picture;
            picture.header = ProbePicture(path);
            const bool described = picture.header.width == movie.table.width &&
                                   picture.header.height == movie.table.height;
            picture.decodes = picture.header.status == PictureStatus::Ok && described &&
                              DecodesForFrame(path, movie.table.width, movie.table.height);
            totals.fileBytes += picture.header.fileBytes;
            if (picture.header.status == PictureStatus::Ok) {
                totals.planeBytes = PlaneBytes(movie.table.width, movie.table.height);
            }
            found = read.emplace(path, picture).first;
        }
        ReportPicture(movie, view, found->second, report);
    }
    return totals;
}

}  // namespace zel::authoring
