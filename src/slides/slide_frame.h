#pragma once
// Turns a picture into the whole screen as it will be shown: black, with the picture turned
// upright, placed and scaled. Rows of the picture may arrive a band at a time and are scaled
// straight into the screen. Independent of any window, so it runs on any thread.

#include <cstdint>
#include <functional>
#include <optional>

#include "band_scaler.h"
#include "bitmap.h"
#include "colour/colour_conversion.h"
#include "exif.h"
#include "placement.h"

namespace tessaro {

// The largest width or height the pixel arithmetic takes: a row of 32-bit pixels must stay
// addressable with 32-bit strides. Anything larger cannot be a slide.
inline constexpr std::uint32_t kMaxPictureSide = (1u << 29) - 1;

// The largest screen side the placement takes: positions are single precision, which holds every
// whole pixel (and every half pixel of a centred picture) only up to here. No screen comes near.
inline constexpr int kMaxScreenSide = 1 << 24;

struct PictureSize {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

// The most memory scaling one picture may hold besides the screen it draws into: a picture that
// needs more is not shown, like one that cannot be read. A picture 2^20 pixels wide needs about
// 40 MB of it.
inline constexpr std::uint64_t kScalingBudgetBytes = std::uint64_t{64} << 20;

// Where a picture goes and how large it is drawn.
struct SlidePlan {
    PixelRect picture;         // on the screen, upright, in whole pixels
    Orientation orientation;
    PictureSize scaled;        // the drawn size in the picture's stored orientation
};

// Empty when the screen is empty or over kMaxScreenSide, a side is 0 or over kMaxPictureSide, or the placement fails.
// The upright size (width and height swapped for a quarter turn) is what gets placed.
std::optional<SlidePlan> PlanSlide(int screenWidth, int screenHeight, PictureSize stored, Orientation orientation);

struct SlideFrame {
    Bitmap screen;      // screen-sized, opaque
    PixelRect picture;  // where the picture landed
};

// Draws one picture into a black screen as its rows arrive, its colours converted, if asked, as
// each row is drawn: only the pixels drawn are converted, however large the picture.
class SlideComposer {
public:
    // source: the size of the rows that will arrive, the stored size or a smaller decode of it.
    // colours, if any, must outlive the composer.
    SlideComposer(const SlidePlan& plan, int screenWidth, int screenHeight, PictureSize source,
                  const ColourConversion* colours = nullptr);
    SlideComposer(const SlideComposer&) = delete;  // the scaler writes back into this object
    SlideComposer& operator=(const SlideComposer&) = delete;

    void AddRows(const std::uint8_t* rows, int count, std::size_t stride, PixelLayout layout);
    // The screen as drawn so far; rows that never arrived stay black.
    SlideFrame Finish() { return std::move(frame_); }

private:
    void WriteRow(int y, const std::uint32_t* row);

    SlidePlan plan_;
    SlideFrame frame_;
    const ColourConversion* colours_;
    std::vector<std::uint32_t> converted_;  // a row with its colours converted
    std::optional<BandScaler> scaler_;  // none when the picture covers no whole pixel
};

// Scaling rows of size source to scaled stays within kScalingBudgetBytes.
bool ScalingFits(PictureSize source, PictureSize scaled);

// The smallest size, among those a decoder offers for reductions by powers of two, that is still
// at least `needed` both ways; `stored` when none is. closest(request) is the decoder's answer to
// a request (the size it would really produce).
PictureSize ChooseDecodeSize(PictureSize stored, PictureSize needed,
                             const std::function<PictureSize(PictureSize request)>& closest);

// The whole composition for a picture already in memory (32-bit, premultiplied); empty when it
// cannot be placed or its scaling would not fit the budget.
std::optional<SlideFrame> ComposeSlide(const Bitmap& picture, int screenWidth, int screenHeight,
                                       Orientation orientation = Orientation::Normal,
                                       const ColourConversion* colours = nullptr);

}  // namespace tessaro
