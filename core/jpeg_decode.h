// The JPEG decoding front end on libjpeg-turbo. One call decodes one file:
// open, decode, close. All decoder state lives in that call, so decodes on
// several threads never share anything but their sinks.
//
// Messages go to standard error, one line each: "Can't open file : <path>" when
// the file does not open, the library's text for a fatal error (the decode then
// returns 0), and the first corrupt-data warning of a file (later ones are
// counted silently and decoding goes on).
#pragma once

#include <cstdint>
#include <string>

namespace zel {

// Where decoded rows go. Rows arrive as interleaved R, G, B bytes, top to bottom.
class JpegRowSink {
public:
    virtual ~JpegRowSink() = default;
    // Output starts: the picture's own size. Returning false refuses the picture.
    virtual bool Begin(int32_t width, int32_t height) = 0;
    // Memory for picture row y, width * 3 bytes, written by the decoder.
    virtual uint8_t* RowTarget(int32_t y) = 0;
    // Picture row y is complete in RowTarget(y).
    virtual void RowDone(int32_t y) = 0;
    // How many rows from the top the sink shows of a picture this tall. The
    // decode ends once they are delivered, so a header that claims an enormous
    // picture costs no more than the rows shown.
    virtual int32_t RowsShown(int32_t height) const { return height; }
};

// The most rows the decoder is asked for at once; a sink that hands out scratch
// rows needs this many.
inline constexpr int32_t kDecodeBatchRows = 8;

// 1 when the rows the sink shows were decoded and delivered, 0 when the file did not
// open, the decoder stopped on a fatal error, or the sink refused the picture.
// Grayscale files are delivered as RGB with equal channels.
int DecodeJpegFile(const std::string& path, JpegRowSink& sink);

}  // namespace zel
