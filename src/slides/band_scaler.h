#pragma once
// Scales a picture that arrives a band of rows at a time, top to bottom, and hands each finished
// row on at once, so neither the picture nor a full-height intermediate is ever held: only the
// few source rows that the next output row needs.
//
// Area averaging along an axis that shrinks (every source pixel counts by the area it covers),
// Keys' bicubic (a = -0.5) along an axis that grows; each result is held within the range of the
// source pixels it came from, so hard edges do not ring. Columns first, then rows, in 14-bit
// fixed point. Only the colour channels are scaled: the pictures are premultiplied and shown on
// black, so the result is opaque.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace tessaro {

// How source pixels are laid out in memory: blue, green, red, then an ignored fourth byte for
// the 32-bit layout.
enum class PixelLayout { Bgr24, Bgrx32 };

class BandScaler {
public:
    // Receives the output rows in order: their number and dstWidth pixels as 0xFFRRGGBB.
    using RowSink = std::function<void(int y, const std::uint32_t* row)>;

    // All sizes at least 1.
    BandScaler(int srcWidth, int srcHeight, int dstWidth, int dstHeight, RowSink sink);

    // The next count source rows, each srcWidth pixels, stride bytes apart. Rows past the
    // picture's height are ignored.
    void AddRows(const std::uint8_t* rows, int count, std::size_t stride, PixelLayout layout);

    // The source row that AddRows expects next.
    int NextSourceRow() const { return nextSourceRow_; }

    // Taps of one output pixel along one axis: source positions first..first+count-1.
    struct AxisPlan {
        std::vector<int> first;
        std::vector<int> count;
        std::vector<int> offset;          // into weights
        std::vector<std::int32_t> weights;  // sum to kOne for every output pixel
        bool grows = false;                 // bicubic: results are held to their source range
        int widest = 0;                     // the largest count
    };
    static constexpr int kWeightBits = 14;
    static AxisPlan PlanAxis(int sourceSize, int destinationSize);

    // At most the bytes a scaler of these sizes holds, whatever the rows: the plans of both axes
    // (a weight for nearly every source pixel along an axis that shrinks), its ring of scaled
    // rows, and, when both axes shrink, the sums of two output rows at the source's width.
    static std::uint64_t BytesNeeded(std::uint32_t srcWidth, std::uint32_t srcHeight, std::uint32_t dstWidth,
                                     std::uint32_t dstHeight);

private:
    void AddRowShrinking(const std::uint8_t* in, int bytesPerPixel);
    void ScaleRow(const std::uint8_t* in, int bytesPerPixel, std::int32_t* out) const;
    void EmitRow(int y);
    void EmitSummedRow(int y, int bytesPerPixel);

    int srcWidth_;
    int srcHeight_;
    int dstWidth_;
    int dstHeight_;
    RowSink sink_;
    AxisPlan columns_;
    AxisPlan rows_;
    int nextSourceRow_ = 0;
    int nextOutputRow_ = 0;
    // The last rows_.widest source rows, each scaled along the row: dstWidth pixels of three
    // channels with 8 fractional bits.
    std::vector<std::int32_t> ring_;
    std::vector<const std::int32_t*> tapRows_;  // the ring rows the current output row taps
    std::vector<std::int32_t> column_;          // the current output row before rounding
    // When both axes shrink: the weighted sums of source rows for the two output rows a source
    // row can fall into, at the source's width and layout.
    std::vector<std::int32_t> sums_[2];
    std::vector<std::uint32_t> output_;
};

}  // namespace tessaro
