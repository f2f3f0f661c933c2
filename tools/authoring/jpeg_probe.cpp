// Reading a view file's JPEG header with libjpeg, keeping the library's message
// when it refuses, and a whole decode through the core's decoder.
#include "jpeg_probe.h"

#include <csetjmp>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <new>
#include <system_error>
#include <vector>

#include <jpeglib.h>

#include "jpeg_decode.h"
#include "stdio_file.h"

namespace zel::authoring {

namespace {

struct ProbeErrors {
    jpeg_error_mgr manager;  // first, so the library's pointer is ours too
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void KeepMessageAndJump(j_common_ptr decoder) {
    auto* errors = reinterpret_cast<ProbeErrors*>(decoder->err);
    (*decoder->err->format_message)(decoder, errors->message);
    std::longjmp(errors->jump, 1);
}

void IgnoreMessage(j_common_ptr) {}

// The only function with a setjmp: its locals are plain C data, so the jump
// back from the library skips no destructor.
bool ReadHeader(jpeg_decompress_struct* decoder, ProbeErrors* errors, std::FILE* file, PictureHeader* out) {
    if (setjmp(errors->jump)) return false;
    jpeg_create_decompress(decoder);
    jpeg_stdio_src(decoder, file);
    jpeg_read_header(decoder, TRUE);
    out->width = int32_t(decoder->image_width);
    out->height = int32_t(decoder->image_height);
    out->components = decoder->num_components;
    out->progressive = decoder->progressive_mode != 0;
    return true;
}

// Takes every row into one scratch batch: only whether the decode ends matters.
// Rows are no wider than the frame and its crop margin.
class DiscardingSink : public JpegRowSink {
public:
    bool Begin(int32_t width, int32_t /*height*/) override {
        m_rowBytes = size_t(width) * 3;
        m_rows.reset(new (std::nothrow) uint8_t[m_rowBytes * size_t(kDecodeBatchRows)]);
        return m_rows != nullptr;
    }
    uint8_t* RowTarget(int32_t y) override { return m_rows.get() + size_t(y % kDecodeBatchRows) * m_rowBytes; }
    void RowDone(int32_t /*y*/) override {}

private:
    size_t m_rowBytes = 0;
    std::unique_ptr<uint8_t[]> m_rows;
};

}  // namespace

PictureHeader ProbePicture(const std::string& path) {
    PictureHeader header;
    std::error_code failure;
    const std::filesystem::file_status status = std::filesystem::status(path, failure);
    if (!std::filesystem::exists(status)) return header;
    if (!std::filesystem::is_regular_file(status)) {
        header.status = PictureStatus::NotAFile;
        return header;
    }
    header.fileBytes = std::filesystem::file_size(path, failure);
    if (failure) header.fileBytes = 0;

    StdioFile file = OpenStdioFile(path, "rb");
    if (!file) {
        header.status = PictureStatus::CantOpen;
        return header;
    }
    jpeg_decompress_struct decoder{};
    ProbeErrors errors{};
    decoder.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = KeepMessageAndJump;
    errors.manager.output_message = IgnoreMessage;
    const bool read = ReadHeader(&decoder, &errors, file.get(), &header);
    jpeg_destroy_decompress(&decoder);
    if (!read) {
        header.status = PictureStatus::NotJpeg;
        header.problem = errors.message;
        return header;
    }
    header.status = PictureStatus::Ok;
    return header;
}

bool DecodesForFrame(const std::string& path, int32_t width, int32_t height) {
    DiscardingSink sink;
    return DecodeJpegFile(path, sink, {width, height}) == 1;
}

}  // namespace zel::authoring
