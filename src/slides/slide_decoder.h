#pragma once
// What turns a slide file into a finished screen: the interface the slide worker renders through.
// The program's decoder uses WIC; test builds put others in its place.

#include <atomic>
#include <memory>
#include <optional>
#include <string>

#include "colour/icc_profile.h"
#include "common/file_identity.h"
#include "slide_frame.h"

namespace tessaro {

class SlideDecoder {
public:
    virtual ~SlideDecoder() = default;
    // Empty when the file cannot be looked at.
    virtual std::optional<FileSignature> Signature(const std::wstring& path) = 0;
    // The screen for the slide at path; empty when it cannot be shown. Checks `stop` now and then
    // and gives up when it is set.
    virtual std::optional<SlideFrame> Render(const std::wstring& path, int screenWidth, int screenHeight,
                                             const std::atomic<bool>& stop) = 0;
    // The primary monitor's colour profile (none when it has none), for the renders that follow;
    // a decoder that does not manage colour leaves it.
    virtual void UseMonitorProfile(std::shared_ptr<const ProfileBytes> profile) { static_cast<void>(profile); }
};

}  // namespace tessaro
