// The JPEG decoding front end on libjpeg-turbo. One call decodes one file:
// open, decode, close. All decoder state lives in that call, so decodes on
// several threads never share anything but their sinks.
//
// A decode keeps no more of a picture than the frame it is for, whatever size
// the file claims: rows below the frame are never decoded, columns well beyond
// it are cropped, the rows read may span at most 64 times the frame's pixels
// (16 megapixels for small frames), and the decoder's memory is bounded by a
// multiple of the frame's bytes. A picture that cannot be decoded within that
// fails, with one line on standard error.
//
// Messages go to standard error, one line each: "Can't open file : <path>" when
// the file does not open, the library's text for a fatal error (the decode then
// returns 0), and the first corrupt-data warning of a file (later ones are
// counted silently and decoding goes on).
#pragma once

#include <cstdint>
#include <string>

namespace zel {

// The frame a picture is decoded for: the description's picture size.
struct DecodeBounds {
    int32_t width = 0;
    int32_t height = 0;
};

// Where decoded rows go. Rows arrive as interleaved R, G, B bytes, top to bottom.
class JpegRowSink {
public:
    virtual ~JpegRowSink() = default;
    // Output starts: the part of the picture that will be delivered, `height`
    // rows of `width` pixels. It covers the picture's overlap with the bounds
    // and may be wider than the bounds, never taller. Returning false refuses
    // the picture.
    virtual bool Begin(int32_t width, int32_t height) = 0;
    // Memory for row y, width * 3 bytes, written by the decoder.
    virtual uint8_t* RowTarget(int32_t y) = 0;
    // Row y is complete in RowTarget(y).
    virtual void RowDone(int32_t y) = 0;
};

// The most rows the decoder is asked for at once; a sink that hands out scratch
// rows needs this many.
inline constexpr int32_t kDecodeBatchRows = 8;

// Pixels kept beyond the bounds' right edge when a wider picture is cropped:
// the crop's own edge pixels may be upsampled differently from a whole decode,
// so that edge stays well away from every column a frame shows.
inline constexpr int32_t kCropMargin = 32;

// 1 when every row Begin announced was decoded and delivered, 0 when the file
// did not open, the decoder stopped on a fatal error (memory beyond the bounds'
// share included), or the sink refused the picture. Grayscale files are
// delivered as RGB with equal channels.
int DecodeJpegFile(const std::string& path, JpegRowSink& sink, DecodeBounds bounds);

// The decoder memory a decode within `bounds` may use: eight times the frame's
// RGB bytes, at least 16 MiB and at most 512 MiB.
long DecoderMemoryLimit(DecodeBounds bounds);

}  // namespace zel
