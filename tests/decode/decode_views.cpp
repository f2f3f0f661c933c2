// Decodes every view of a movie as the control does (into an RgbFrame of the
// description's size) and writes each frame as a binary PPM, byte for byte the
// header and rows djpeg writes, so the two can be compared with cmp.
//
//   decode_views MOVIE.zel OUTDIR   writes OUTDIR/<view name>.ppm
//
// Exit status: 0 when every view decoded and was written, 1 otherwise, 2 for
// bad arguments.
#include <cstdio>
#include <fstream>
#include <string>

#include "description.h"
#include "frames.h"
#include "view_decode.h"

namespace {

bool WritePpm(const std::string& path, const zel::RgbFrame& frame) {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << frame.Width() << ' ' << frame.Height() << "\n255\n";
    out.write(reinterpret_cast<const char*>(frame.Row(0)), std::streamsize(frame.Size()));
    return bool(out.flush());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: decode_views MOVIE.zel OUTDIR\n");
        return 2;
    }
    const std::string description = argv[1];
    const std::string out = argv[2];
    const zel::DescriptionRead read = zel::ReadDescriptionFile(description, zel::Dialect::Control);
    if (read.status != zel::ReadStatus::Ok) {
        std::fprintf(stderr, "decode_views: %s: %s\n", description.c_str(),
                     read.status == zel::ReadStatus::CantOpen ? "cannot open"
                                                              : zel::DescribeProblem(read.problem).c_str());
        return 1;
    }
    const size_t slash = description.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : description.substr(0, slash);
    int failed = 0;
    for (const std::string& name : read.table.names) {
        zel::RgbFrame frame(read.table.width, read.table.height, zel::RgbFrame::Fill::Unset);
        if (!frame.Valid() || zel::DecodeIntoRgbFrame(folder + "/" + name, frame) != 1) {
            std::fprintf(stderr, "decode_views: %s did not decode\n", name.c_str());
            ++failed;
            continue;
        }
        if (!WritePpm(out + "/" + name + ".ppm", frame)) {
            std::fprintf(stderr, "decode_views: cannot write %s/%s.ppm\n", out.c_str(), name.c_str());
            ++failed;
            continue;
        }
        std::printf("%s %d x %d\n", name.c_str(), int(frame.Width()), int(frame.Height()));
    }
    return failed == 0 ? 0 : 1;
}
