// Fuzz target: a view file decoded as each shell decodes it, into a frame of a
// small description's size: the control's RgbFrame (DecodeIntoRgbFrame) and the
// plug-in's packed frames at 16 and 24 bits (DecodeAndPack). Both shells use
// one decoder, so they must agree on whether the file decoded and show the
// same pixels, black wherever the picture does not reach.
#include "fuzz_check.h"
#include "pack.h"
#include "scratch_folder.h"
#include "view_decode.h"

namespace {

using namespace zel;

// Odd, so 24-bit rows carry their pad byte; smaller than many pictures and
// larger than some, so both overlaps are taken.
constexpr int32_t kWidth = 41;
constexpr int32_t kHeight = 30;

std::unique_ptr<PackedFrame> DecodeForPlugin(const std::string& path, int32_t depth, PlaneBuffer& planes) {
    std::unique_ptr<PackedFrame> packed;
    auto request = std::make_unique<DecodeRequest>();
    request->width = kWidth;
    request->height = kHeight;
    request->depth = depth;
    request->resultSlot = &packed;
    request->path = path;
    DecodeAndPack(std::move(request), planes);
    return packed;
}

bool IsBlack(const RgbFrame& frame, int32_t x, int32_t y) {
    const uint8_t* pixel = frame.Row(y) + size_t(x) * 3;
    return pixel[0] == 0 && pixel[1] == 0 && pixel[2] == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = fuzz::WriteScratchFile("input.jpg", data, size);
    std::unique_ptr<RgbFrame> frame = NewRgbFrame(kWidth, kHeight, RgbFrame::Fill::Unset);
    ZEL_FUZZ_CHECK(frame != nullptr);
    const int decoded = DecodeIntoRgbFrame(path, *frame);
    ZEL_FUZZ_CHECK(decoded == 0 || decoded == 1);

    // One buffer for both decodes, as the plug-in keeps one for every view.
    PlaneBuffer planes;
    const std::unique_ptr<PackedFrame> packed16 = DecodeForPlugin(path, kDepth16, planes);
    const std::unique_ptr<PackedFrame> packed24 = DecodeForPlugin(path, kDepth24, planes);
    ZEL_FUZZ_CHECK((packed16 != nullptr) == (decoded == 1));
    ZEL_FUZZ_CHECK((packed24 != nullptr) == (decoded == 1));

    const int32_t coveredWidth = decoded ? planes.ImageWidth() : 0;
    const int32_t coveredHeight = decoded ? planes.ImageHeight() : 0;
    for (int32_t y = 0; y < kHeight; ++y) {
        for (int32_t x = 0; x < kWidth; ++x) {
            if (x >= coveredWidth || y >= coveredHeight) ZEL_FUZZ_CHECK(IsBlack(*frame, x, y));
        }
    }
    if (!decoded) return 0;
    for (auto [packed, depth] : {std::pair{packed16.get(), kDepth16}, std::pair{packed24.get(), kDepth24}}) {
        ZEL_FUZZ_CHECK(packed->Width() == kWidth && packed->Height() == kHeight && packed->Depth() == depth);
        const std::unique_ptr<PackedFrame> fromControl = PackFrame(*frame, depth);
        ZEL_FUZZ_CHECK(fromControl != nullptr && fromControl->Bytes() == packed->Bytes());
    }
    return 0;
}
