// Encodes an RgbImage as a JPEG file with libjpeg: baseline or progressive,
// colour or grayscale (libjpeg converts), with or without restart markers.
#include <csetjmp>
#include <cstdio>
#include <memory>

#include <jpeglib.h>

#include "moviegen.h"

namespace zel::moviegen {

namespace {

// libjpeg's error manager first, so the library's pointer to it is one to us.
struct JumpingErrorManager {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char* message;  // JMSG_LENGTH_MAX bytes
};

[[noreturn]] void JumpOut(j_common_ptr cinfo) {
    auto* errors = reinterpret_cast<JumpingErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, errors->message);
    std::longjmp(errors->jump, 1);
}

void IgnoreWarning(j_common_ptr) {}

// Every local has a trivial destructor, so libjpeg's error exit may jump out of
// any call below without skipping one.
bool Compress(std::FILE* file, const RgbImage& image, const JpegOptions& options, char* message) {
    jpeg_compress_struct cinfo{};
    JumpingErrorManager errors{};
    cinfo.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = JumpOut;
    errors.manager.output_message = IgnoreWarning;
    errors.message = message;
    if (setjmp(errors.jump) != 0) {
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, file);
    cinfo.image_width = JDIMENSION(image.width);
    cinfo.image_height = JDIMENSION(image.height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    if (options.grayscale) jpeg_set_colorspace(&cinfo, JCS_GRAYSCALE);
    jpeg_set_quality(&cinfo, options.quality, TRUE);
    if (options.progressive) jpeg_simple_progression(&cinfo);
    cinfo.restart_in_rows = options.restartRows;
    jpeg_start_compress(&cinfo, TRUE);
    const size_t stride = size_t(image.width) * 3;
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(image.pixels.data() + cinfo.next_scanline * stride);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

bool Fail(std::string* error, const std::string& message) {
    if (error) *error = message;
    return false;
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

bool WriteJpeg(const std::string& path, const RgbImage& image, const JpegOptions& options, std::string* error) {
    if (image.width < 1 || image.height < 1 || image.width > kMaxPictureSide || image.height > kMaxPictureSide ||
        image.pixels.size() != size_t(image.width) * size_t(image.height) * 3) {
        return Fail(error, "cannot encode " + path + ": the image is not " + std::to_string(image.width) + " x " +
                               std::to_string(image.height) + " RGB pixels within 1.." +
                               std::to_string(kMaxPictureSide));
    }
    if (options.quality < 1 || options.quality > 100 || options.restartRows < 0 ||
        options.restartRows > kMaxRestartRows) {
        return Fail(error, "cannot encode " + path + ": quality must be 1..100 and restart rows 0..65535");
    }
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) return Fail(error, "cannot create " + path);
    char message[JMSG_LENGTH_MAX] = "";
    const bool compressed = Compress(file.get(), image, options, message);
    // Closed here rather than by the owner, to hear of a write that failed late.
    const bool closed = std::fclose(file.release()) == 0;
    if (!compressed || !closed) {
        std::remove(path.c_str());
        return Fail(error, "cannot write " + path + (compressed ? std::string() : ": " + std::string(message)));
    }
    return true;
}

}  // namespace zel::moviegen
