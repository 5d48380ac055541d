#include "slide_frame.h"

#include <algorithm>
#include <utility>

namespace tessaro {

std::optional<SlidePlan> PlanSlide(int screenWidth, int screenHeight, PictureSize stored, Orientation orientation) {
    if (screenWidth <= 0 || screenHeight <= 0 || screenWidth > kMaxScreenSide || screenHeight > kMaxScreenSide) {
        return std::nullopt;
    }
    if (stored.width == 0 || stored.height == 0 || stored.width > kMaxPictureSide || stored.height > kMaxPictureSide) {
        return std::nullopt;
    }
    const bool swapped = SwapsAxes(orientation);
    const std::uint32_t uprightWidth = swapped ? stored.height : stored.width;
    const std::uint32_t uprightHeight = swapped ? stored.width : stored.height;
    const std::optional<Placement> placement =
        FitSlide(static_cast<float>(screenWidth), static_cast<float>(screenHeight), static_cast<float>(uprightWidth),
                 static_cast<float>(uprightHeight));
    if (!placement) return std::nullopt;
    SlidePlan plan{ToDeviceRect(*placement), orientation, {}};
    const auto drawnWidth = static_cast<std::uint32_t>(std::max(plan.picture.Width(), 0));
    const auto drawnHeight = static_cast<std::uint32_t>(std::max(plan.picture.Height(), 0));
    plan.scaled = swapped ? PictureSize{drawnHeight, drawnWidth} : PictureSize{drawnWidth, drawnHeight};
    return plan;
}

SlideComposer::SlideComposer(const SlidePlan& plan, int screenWidth, int screenHeight, PictureSize source,
                             const ColourConversion* colours)
    : plan_(plan), frame_{Bitmap(screenWidth, screenHeight, kOpaqueBlack), plan.picture}, colours_(colours) {
    if (plan.scaled.width == 0 || plan.scaled.height == 0 || source.width == 0 || source.height == 0) return;
    scaler_.emplace(static_cast<int>(source.width), static_cast<int>(source.height), static_cast<int>(plan.scaled.width),
                    static_cast<int>(plan.scaled.height), [this](int y, const std::uint32_t* row) { WriteRow(y, row); });
}

void SlideComposer::AddRows(const std::uint8_t* rows, int count, std::size_t stride, PixelLayout layout) {
    if (scaler_) scaler_->AddRows(rows, count, stride, layout);
}

// Row y of the scaled picture, as stored, goes to the screen turned upright.
void SlideComposer::WriteRow(int y, const std::uint32_t* row) {
    const int width = static_cast<int>(plan_.scaled.width);
    if (colours_) {
        converted_.assign(row, row + width);
        colours_->Convert(converted_.data(), converted_.size());
        row = converted_.data();
    }
    const int height = static_cast<int>(plan_.scaled.height);
    const PixelRect& at = plan_.picture;
    Bitmap& screen = frame_.screen;
    for (int x = 0; x < width; ++x) {
        int u = x;
        int v = y;
        switch (plan_.orientation) {
            case Orientation::Normal: break;
            case Orientation::MirrorHorizontal: u = width - 1 - x; break;
            case Orientation::Rotate180: u = width - 1 - x; v = height - 1 - y; break;
            case Orientation::MirrorVertical: v = height - 1 - y; break;
            case Orientation::Transpose: u = y; v = x; break;
            case Orientation::Rotate90: u = height - 1 - y; v = x; break;
            case Orientation::Transverse: u = height - 1 - y; v = width - 1 - x; break;
            case Orientation::Rotate270: u = y; v = width - 1 - x; break;
        }
        const int sx = at.left + u;
        const int sy = at.top + v;
        if (sx >= 0 && sx < screen.width && sy >= 0 && sy < screen.height) screen.At(sx, sy) = row[x];
    }
}

bool ScalingFits(PictureSize source, PictureSize scaled) {
    if (scaled.width == 0 || scaled.height == 0) return true;  // nothing to draw, nothing scaled
    return BandScaler::BytesNeeded(source.width, source.height, scaled.width, scaled.height) <= kScalingBudgetBytes;
}

PictureSize ChooseDecodeSize(PictureSize stored, PictureSize needed,
                             const std::function<PictureSize(PictureSize request)>& closest) {
    constexpr std::uint32_t kLargestReduction = 64;
    PictureSize best = stored;
    for (std::uint32_t divisor = 2; divisor <= kLargestReduction; divisor *= 2) {
        const PictureSize request{(stored.width + divisor - 1) / divisor, (stored.height + divisor - 1) / divisor};
        const PictureSize offered = closest(request);
        const bool bigEnough = offered.width >= needed.width && offered.height >= needed.height;
        const bool smaller = offered.width <= best.width && offered.height <= best.height &&
                             (offered.width < best.width || offered.height < best.height);
        if (bigEnough && smaller) best = offered;
    }
    return best;
}

std::optional<SlideFrame> ComposeSlide(const Bitmap& picture, int screenWidth, int screenHeight, Orientation orientation,
                                       const ColourConversion* colours) {
    const PictureSize size{static_cast<std::uint32_t>(std::max(picture.width, 0)),
                           static_cast<std::uint32_t>(std::max(picture.height, 0))};
    const std::optional<SlidePlan> plan = PlanSlide(screenWidth, screenHeight, size, orientation);
    if (!plan || !ScalingFits(size, plan->scaled)) return std::nullopt;
    SlideComposer composer(*plan, screenWidth, screenHeight, size, colours);
    composer.AddRows(reinterpret_cast<const std::uint8_t*>(picture.pixels.data()), picture.height,
                     static_cast<std::size_t>(picture.width) * 4, PixelLayout::Bgrx32);
    return composer.Finish();
}

}  // namespace tessaro
