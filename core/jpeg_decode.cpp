#include "jpeg_decode.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

#include "sizes.h"
#include "stdio_file.h"

namespace zel {

namespace {

constexpr uint64_t kMinDecoderMemory = 16ULL << 20;
constexpr uint64_t kMaxDecoderMemory = 512ULL << 20;
constexpr uint64_t kMaxWorkPerFramePixel = 64;
constexpr uint64_t kMinWorkBound = 16ULL << 20;

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

// Every row a decode reads costs the picture's whole width, cropped or not,
// since the entropy-coded data runs across it; a progressive picture reads all
// its rows before the first is output. That work may be at most
// kMaxWorkPerFramePixel times the frame's pixels (kMinWorkBound for small
// frames): a narrow frame is no licence for a header to claim rows of 65500.
bool WithinWorkBound(const jpeg_decompress_struct& decoder, DecodeBounds bounds) {
    const uint64_t rows = decoder.progressive_mode ? decoder.image_height
                                                   : std::min<uint64_t>(decoder.image_height, uint64_t(bounds.height));
    const uint64_t work = uint64_t(decoder.image_width) * rows;
    const uint64_t frame = uint64_t(bounds.width) * uint64_t(bounds.height);
    return work <= std::max(kMaxWorkPerFramePixel * frame, kMinWorkBound);
}

// The only function with a setjmp: its locals are plain C data, so the jump
// back from the library skips no destructor.
bool RunDecoder(jpeg_decompress_struct* decoder, DecodeErrors* errors, std::FILE* file, JpegRowSink* sink,
                DecodeBounds bounds) {
    if (setjmp(errors->jump)) return false;
    jpeg_create_decompress(decoder);
    // A progressive picture keeps every coefficient until its last scan: its
    // claimed size must not buy more memory than the frame warrants.
    decoder->mem->max_memory_to_use = DecoderMemoryLimit(bounds);
    jpeg_stdio_src(decoder, file);
    jpeg_read_header(decoder, TRUE);
    if (!WithinWorkBound(*decoder, bounds)) {
        std::fprintf(stderr, "A picture of %u x %u pixels is beyond what a %d x %d frame may decode\n",
                     unsigned(decoder->image_width), unsigned(decoder->image_height), int(bounds.width),
                     int(bounds.height));
        return false;
    }
    // RGB for every file: libjpeg turns grayscale into three equal channels, so
    // a grayscale view shows grey instead of being read as three components.
    decoder->out_color_space = JCS_RGB;
    decoder->quantize_colors = FALSE;
    jpeg_start_decompress(decoder);
    if (decoder->output_components != 3) return false;
    if (decoder->output_width > JDIMENSION(bounds.width) + kCropMargin) {
        JDIMENSION left = 0;
        JDIMENSION width = JDIMENSION(bounds.width) + kCropMargin;
        jpeg_crop_scanline(decoder, &left, &width);
    }
    const JDIMENSION rows = std::min(decoder->output_height, JDIMENSION(bounds.height));
    if (!sink->Begin(int32_t(decoder->output_width), int32_t(rows))) return false;
    JSAMPROW batch[kDecodeBatchRows];
    while (decoder->output_scanline < rows) {
        const JDIMENSION first = decoder->output_scanline;
        const JDIMENSION count = std::min(rows - first, JDIMENSION(kDecodeBatchRows));
        for (JDIMENSION i = 0; i < count; ++i) batch[i] = sink->RowTarget(int32_t(first + i));
        const JDIMENSION got = jpeg_read_scanlines(decoder, batch, count);
        for (JDIMENSION i = 0; i < got; ++i) sink->RowDone(int32_t(first + i));
    }
    // Rows below the frame are never decoded: a picture that claims more stops here.
    if (rows == decoder->output_height) {
        jpeg_finish_decompress(decoder);
    } else {
        jpeg_abort_decompress(decoder);
    }
    return true;
}

}  // namespace

long DecoderMemoryLimit(DecodeBounds bounds) {
    const uint64_t frame =
        CheckedBytes({uint64_t(std::max(bounds.width, 0)), uint64_t(std::max(bounds.height, 0)), 3, 8})
            .value_or(kMaxDecoderMemory);
    return long(std::clamp(frame, kMinDecoderMemory, kMaxDecoderMemory));
}

int DecodeJpegFile(const std::string& path, JpegRowSink& sink, DecodeBounds bounds) {
    StdioFile file = OpenStdioFile(path, "rb");
    if (!file) {
        std::fprintf(stderr, "Can't open file : %s\n", path.c_str());
        return 0;
    }
    if (bounds.width <= 0 || bounds.height <= 0) return 0;
    jpeg_decompress_struct decoder{};
    DecodeErrors errors{};
    decoder.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = FatalError;
    errors.manager.output_message = PrintMessage;
    const bool decoded = RunDecoder(&decoder, &errors, file.get(), &sink, bounds);
    jpeg_destroy_decompress(&decoder);
    return decoded ? 1 : 0;
}

}  // namespace zel
