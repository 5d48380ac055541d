#pragma once
// Where pictures land on a 1024 x 768 screen: the one table that the placement, composing and
// end-to-end tests all check.

#include "slides/placement.h"

namespace tessaro {

inline constexpr int kExampleScreenWidth = 1024;
inline constexpr int kExampleScreenHeight = 768;

struct PlacementExample {
    int width, height;  // the picture's natural size
    Fit fit;
    float left, top, placedWidth, placedHeight;  // in single precision, as stored
    PixelRect pixels;                            // each fractional edge rounded half up
};

inline constexpr PlacementExample kPlacementExamples[] = {
    {800, 600, Fit::Natural, 112, 84, 800, 600, {112, 84, 912, 684}},
    {1023, 767, Fit::Natural, 0.5f, 0.5f, 1023, 767, {1, 1, 1024, 768}},  // keeps its exact size
    {1024, 768, Fit::FitHeight, 0, 0, 1024, 768, {0, 0, 1024, 768}},      // not smaller; equal ratio
    {1600, 1200, Fit::FitHeight, 0, 0, 1024, 768, {0, 0, 1024, 768}},
    {2000, 500, Fit::FitWidth, 0, 256, 1024, 256, {0, 256, 1024, 512}},
    {1024, 500, Fit::FitWidth, 0, 134, 1024, 500, {0, 134, 1024, 634}},
    {1200, 400, Fit::FitWidth, 0, 213.33333f, 1024, 341.33334f, {0, 213, 1024, 555}},
    {500, 2000, Fit::FitHeight, 416, 0, 192, 768, {416, 0, 608, 768}},
    {800, 1000, Fit::FitHeight, 204.8f, 0, 614.4f, 768, {205, 0, 819, 768}},
    {768, 768, Fit::FitHeight, 128, 0, 768, 768, {128, 0, 896, 768}},  // square, as tall as the screen
    {100, 60, Fit::Natural, 462, 354, 100, 60, {462, 354, 562, 414}},  // small, far from every edge
    // The right edge is rounded where it falls (812.3), not as the left edge plus the width (601).
    {1001, 1280, Fit::FitHeight, 211.70001f, 0, 600.6f, 768, {212, 0, 812, 768}},
};

}  // namespace tessaro
