#pragma once
// Converting a slide's pixels from its colour space into the monitor's, fast enough for every
// pixel of every slide: a matrix profile into another by its curves and matrices, in tables made
// once; anything else by interpolating a lattice of colours that the system's colour engine
// converted once.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "icc_profile.h"

namespace tessaro {

class ColourConversion {
public:
    virtual ~ColourConversion() = default;
    // Pixels 0xAARRGGBB, converted in place; alpha stays.
    virtual void Convert(std::uint32_t* pixels, std::size_t count) const = 0;
};

// From one matrix profile into another: each channel to linear light through a table, the two
// matrices as one, and back through a table of the target's inverse curves.
class MatrixShaperConversion final : public ColourConversion {
public:
    MatrixShaperConversion(const MatrixShaper& from, const MatrixShaper& to);
    void Convert(std::uint32_t* pixels, std::size_t count) const override;

private:
    std::array<std::array<float, 256>, 3> linear_{};
    std::array<std::array<float, 3>, 3> matrix_{};
    std::array<std::vector<std::uint8_t>, 3> encoded_;  // by steps of linear light
};

// True when converting from one into the other would move no colour by more than a level: the
// same space in other words (sRGB as one maker or another writes it). Quick: a slide without a
// profile asks it of the monitor's before it is shown.
bool SameColours(const MatrixShaper& from, const MatrixShaper& to);

// By the colour engine's results for every RGB colour whose levels are multiples of Step(nodes),
// interpolated between them (tetrahedral interpolation).
class LatticeConversion final : public ColourConversion {
public:
    // rgb: 3 bytes (red, green, blue) for each node, red slowest and blue fastest.
    LatticeConversion(int nodes, std::vector<std::uint8_t> rgb);
    void Convert(std::uint32_t* pixels, std::size_t count) const override;

    // The levels between two nodes: nodes - 1 must divide 255.
    static int Step(int nodes) { return 255 / (nodes - 1); }

private:
    int nodes_;
    int step_;
    std::vector<std::uint8_t> rgb_;
};

// Gray pixels (R = G = B) by the colour engine's result for each of the 256 levels.
class GrayConversion final : public ColourConversion {
public:
    // rgb: 3 bytes (red, green, blue) for each gray level.
    explicit GrayConversion(std::vector<std::uint8_t> rgb) : rgb_(std::move(rgb)) {}
    void Convert(std::uint32_t* pixels, std::size_t count) const override;

private:
    std::vector<std::uint8_t> rgb_;
};

}  // namespace tessaro
