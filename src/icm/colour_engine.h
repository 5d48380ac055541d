#pragma once
// The system's colour engine (mscms.dll, loaded from System32 when a slide first needs it),
// converting a lattice of colours from one profile into another: what SlideColours asks of it for
// every profile it does not convert itself. Used by one thread: the engine's transforms are not
// shared between threads.

#include <windows.h>
#include <icm.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "colour/icc_profile.h"
#include "win32/unique_resource.h"

namespace tessaro {

class SystemColourEngine {
public:
    SystemColourEngine() = default;
    SystemColourEngine(const SystemColourEngine&) = delete;
    SystemColourEngine& operator=(const SystemColourEngine&) = delete;

    // As ColourEngine (colour/slide_colours.h) asks: the engine's 8-bit results for a lattice of
    // nodes^3 RGB colours, or for the 256 levels of a gray `from` (nodes 0). Traces why it fails.
    std::optional<std::vector<std::uint8_t>> Convert(const IccProfile& from, const IccProfile& to, int nodes);

private:
    bool Load();

    UniqueModule mscms_;
    bool loadTried_ = false;
    decltype(&::OpenColorProfileW) openProfile_ = nullptr;
    decltype(&::CloseColorProfile) closeProfile_ = nullptr;
    decltype(&::CreateMultiProfileTransform) createTransform_ = nullptr;
    decltype(&::DeleteColorTransform) deleteTransform_ = nullptr;
    decltype(&::TranslateBitmapBits) translate_ = nullptr;
};

}  // namespace tessaro
