#include "decoded_jpeg.h"

#include <csetjmp>
#include <cstdio>
#include <fstream>
#include <iterator>

#include <jpeglib.h>

namespace zel::test {

namespace {

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

// Every local has a trivial destructor, so the error exit may jump out of any
// libjpeg call below; `out` belongs to the caller.
bool Decompress(const std::string& bytes, DecodedJpeg* out, char* message) {
    jpeg_decompress_struct cinfo{};
    JumpingErrorManager errors{};
    cinfo.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = JumpOut;
    errors.message = message;
    if (setjmp(errors.jump) != 0) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&cinfo, TRUE);
    out->width = int(cinfo.image_width);
    out->height = int(cinfo.image_height);
    out->components = cinfo.num_components;
    out->progressive = jpeg_has_multiple_scans(&cinfo) != 0;
    out->restartInterval = cinfo.restart_interval;
    jpeg_start_decompress(&cinfo);
    const size_t stride = size_t(cinfo.output_width) * size_t(cinfo.output_components);
    out->pixels.resize(stride * cinfo.output_height);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = out->pixels.data() + cinfo.output_scanline * stride;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    out->warnings = errors.manager.num_warnings;
    jpeg_destroy_decompress(&cinfo);
    return true;
}

}  // namespace

DecodedJpeg DecodeJpegFile(const std::string& path) {
    DecodedJpeg result;
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.empty()) {
        result.error = "cannot read " + path;
        return result;
    }
    char message[JMSG_LENGTH_MAX] = "";
    if (!Decompress(bytes, &result, message)) {
        result.error = message;
        return result;
    }
    result.ok = true;
    return result;
}

}  // namespace zel::test
