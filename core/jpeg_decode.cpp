#include "jpeg_decode.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

#include "stdio_file.h"

namespace zel {

namespace {

// A picture beyond this much decoder memory (a progressive file with enormous
// dimensions, say) fails with the library's message instead of exhausting memory.
constexpr long kMaxDecoderMemory = 512L << 20;

struct DecodeErrors {
    jpeg_error_mgr manager;  // first, so the library's pointer is ours too
    std::jmp_buf jump;
};

void PrintMessage(j_common_ptr decoder) {
    char text[JMSG_LENGTH_MAX];
    (*decoder->err->format_message)(decoder, text);
    std::fprintf(stderr, "%s\n", text);
}

[[noreturn]] void FatalError(j_common_ptr decoder) {
    (*decoder->err->output_message)(decoder);
    std::longjmp(reinterpret_cast<DecodeErrors*>(decoder->err)->jump, 1);
}

// The only function with a setjmp: its locals are plain C data, so the jump
// back from the library skips no destructor.
bool RunDecoder(jpeg_decompress_struct* decoder, DecodeErrors* errors, std::FILE* file, JpegRowSink* sink) {
    if (setjmp(errors->jump)) return false;
    jpeg_create_decompress(decoder);
    decoder->mem->max_memory_to_use = kMaxDecoderMemory;
    jpeg_stdio_src(decoder, file);
    jpeg_read_header(decoder, TRUE);
    // RGB for every file: libjpeg turns grayscale into three equal channels, so
    // a grayscale view shows grey instead of being read as three components.
    decoder->out_color_space = JCS_RGB;
    decoder->quantize_colors = FALSE;
    jpeg_start_decompress(decoder);
    if (decoder->output_components != 3 ||
        !sink->Begin(int32_t(decoder->output_width), int32_t(decoder->output_height))) {
        return false;
    }
    JDIMENSION end = decoder->output_height;
    const int32_t shown = sink->RowsShown(int32_t(end));
    if (shown < int64_t(end)) end = JDIMENSION(shown > 0 ? shown : 0);
    JSAMPROW rows[kDecodeBatchRows];
    while (decoder->output_scanline < end) {
        const JDIMENSION first = decoder->output_scanline;
        JDIMENSION count = end - first;
        if (count > JDIMENSION(kDecodeBatchRows)) count = kDecodeBatchRows;
        for (JDIMENSION i = 0; i < count; ++i) rows[i] = sink->RowTarget(int32_t(first + i));
        const JDIMENSION got = jpeg_read_scanlines(decoder, rows, count);
        for (JDIMENSION i = 0; i < got; ++i) sink->RowDone(int32_t(first + i));
    }
    // Finishing reads the rest of the file; rows nobody shows are not decoded.
    if (end < decoder->output_height) {
        jpeg_abort_decompress(decoder);
    } else {
        jpeg_finish_decompress(decoder);
    }
    return true;
}

}  // namespace

int DecodeJpegFile(const std::string& path, JpegRowSink& sink) {
    StdioFile file = OpenStdioFile(path, "rb");
    if (!file) {
        std::fprintf(stderr, "Can't open file : %s\n", path.c_str());
        return 0;
    }
    jpeg_decompress_struct decoder{};
    DecodeErrors errors{};
    decoder.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = FatalError;
    errors.manager.output_message = PrintMessage;
    const bool decoded = RunDecoder(&decoder, &errors, file.get(), &sink);
    jpeg_destroy_decompress(&decoder);
    return decoded ? 1 : 0;
}

}  // namespace zel
