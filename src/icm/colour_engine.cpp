#include "colour_engine.h"

#include <array>

#include "colour/colour_conversion.h"
#include "win32/diagnostics.h"
#include "win32/procedure.h"
#include "win32/system_library.h"

namespace tessaro {
namespace {

constexpr wchar_t kTraceSubject[] = L"a slide's colours";

// Owns what the engine hands out, given back through the engine's own function.
template <typename Handle, typename Close>
class EngineHandle {
public:
    EngineHandle(Handle handle, Close close) : handle_(handle), close_(close) {}
    ~EngineHandle() {
        if (handle_) close_(handle_);
    }
    EngineHandle(const EngineHandle&) = delete;
    EngineHandle& operator=(const EngineHandle&) = delete;
    Handle get() const { return handle_; }

private:
    Handle handle_;
    Close close_;
};

}  // namespace

bool SystemColourEngine::Load() {
    if (loadTried_) return translate_ != nullptr;
    loadTried_ = true;
    mscms_ = LoadSystemLibrary(L"mscms.dll");
    if (!mscms_) {
        TraceFailure(L"loading the colour engine", kTraceSubject, LastErrorResult());
        return false;
    }
    openProfile_ = FindProcedure<decltype(openProfile_)>(mscms_.get(), "OpenColorProfileW");
    closeProfile_ = FindProcedure<decltype(closeProfile_)>(mscms_.get(), "CloseColorProfile");
    createTransform_ = FindProcedure<decltype(createTransform_)>(mscms_.get(), "CreateMultiProfileTransform");
    deleteTransform_ = FindProcedure<decltype(deleteTransform_)>(mscms_.get(), "DeleteColorTransform");
    translate_ = FindProcedure<decltype(translate_)>(mscms_.get(), "TranslateBitmapBits");
    if (!openProfile_ || !closeProfile_ || !createTransform_ || !deleteTransform_ || !translate_) {
        TraceFailure(L"finding the colour engine's functions", kTraceSubject, HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND));
        translate_ = nullptr;
        return false;
    }
    return true;
}

std::optional<std::vector<std::uint8_t>> SystemColourEngine::Convert(const IccProfile& from, const IccProfile& to,
                                                                      int nodes) {
    if (!Load()) return std::nullopt;
    const auto failed = [](const wchar_t* what, HRESULT why) {
        TraceFailure(what, kTraceSubject, why);
        return std::nullopt;
    };
    const auto open = [this](const IccProfile& profile) {
        PROFILE memory{PROFILE_MEMBUFFER, const_cast<std::uint8_t*>(profile.bytes.data()),
                       static_cast<DWORD>(profile.bytes.size())};
        return EngineHandle(openProfile_(&memory, PROFILE_READ, FILE_SHARE_READ, OPEN_EXISTING), closeProfile_);
    };
    const auto source = open(from);
    if (!source.get()) return failed(L"opening the slide's colour profile", LastErrorResult());
    const auto target = open(to);
    if (!target.get()) return failed(L"opening the monitor's colour profile", LastErrorResult());
    std::array<HPROFILE, 2> profiles{source.get(), target.get()};
    DWORD intent = static_cast<DWORD>(from.intent);
    const EngineHandle transform(createTransform_(profiles.data(), 2, &intent, 1, BEST_MODE, INDEX_DONT_CARE),
                                 deleteTransform_);
    if (!transform.get()) return failed(L"making a colour transform", LastErrorResult());

    // The colours in the engine's order of bytes: blue, green, red for BM_RGBTRIPLETS.
    std::vector<std::uint8_t> input;
    const BMFORMAT format = nodes == 0 ? BM_GRAY : BM_RGBTRIPLETS;
    if (nodes == 0) {
        for (int level = 0; level < 256; ++level) input.push_back(static_cast<std::uint8_t>(level));
    } else {
        const int step = LatticeConversion::Step(nodes);
        for (int r = 0; r < nodes; ++r)
            for (int g = 0; g < nodes; ++g)
                for (int b = 0; b < nodes; ++b) {
                    input.insert(input.end(), {static_cast<std::uint8_t>(b * step), static_cast<std::uint8_t>(g * step),
                                               static_cast<std::uint8_t>(r * step)});
                }
    }
    const DWORD colours = static_cast<DWORD>(nodes == 0 ? input.size() : input.size() / 3);
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(colours) * 3);
    // One row of packed colours: Wine's engine ignores the stride.
    if (!translate_(transform.get(), input.data(), format, colours, 1, 0, rgb.data(), BM_RGBTRIPLETS, 0, nullptr, 0)) {
        return failed(L"converting colours", LastErrorResult());
    }
    for (std::size_t i = 0; i < rgb.size(); i += 3) std::swap(rgb[i], rgb[i + 2]);  // to red, green, blue
    return rgb;
}

}  // namespace tessaro
