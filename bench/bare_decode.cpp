#include "bare_decode.h"

#include <csetjmp>
#include <cstdint>
#include <cstdio>

#include <jpeglib.h>

#include "frames.h"

namespace zel::bench {

namespace {

struct Errors {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void Fail(j_common_ptr decoder) { std::longjmp(reinterpret_cast<Errors*>(decoder->err)->jump, 1); }

bool Run(jpeg_decompress_struct* decoder, Errors* errors, std::FILE* file, std::vector<uint8_t>* pixels) {
    if (setjmp(errors->jump)) return false;
    jpeg_create_decompress(decoder);
    jpeg_stdio_src(decoder, file);
    jpeg_read_header(decoder, TRUE);
    decoder->out_color_space = JCS_RGB;
    jpeg_start_decompress(decoder);
    const size_t stride = size_t(decoder->output_width) * 3;
    const size_t bytes = stride * decoder->output_height + kRowSkewSlack;
    if (pixels->size() != bytes) pixels->resize(bytes);
    // The rows start where an RgbFrame's do, so both decodes take the same
    // path through libjpeg-turbo's stores.
    uint8_t* first = SkewedRowStart(pixels->data());
    while (decoder->output_scanline < decoder->output_height) {
        JSAMPROW rows[8];
        JDIMENSION count = decoder->output_height - decoder->output_scanline;
        if (count > 8) count = 8;
        for (JDIMENSION i = 0; i < count; ++i) rows[i] = first + (decoder->output_scanline + i) * stride;
        jpeg_read_scanlines(decoder, rows, count);
    }
    jpeg_finish_decompress(decoder);
    return true;
}

}  // namespace

bool BareDecode(const std::string& path, std::vector<uint8_t>& pixels) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    jpeg_decompress_struct decoder{};
    Errors errors{};
    decoder.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = Fail;
    const bool ok = Run(&decoder, &errors, file, &pixels);
    jpeg_destroy_decompress(&decoder);
    std::fclose(file);
    return ok;
}

}  // namespace zel::bench
