#pragma once
// What the fuzz targets share: a broken invariant is a finding, reported (and kept) like a crash.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "slides/exif.h"

namespace tessaro::fuzz {

inline void Require(bool holds, const char* invariant) {
    if (holds) return;
    std::fprintf(stderr, "invariant broken: %s\n", invariant);
    std::abort();
}

// UTF-16 code units, two bytes each, as Windows hands text over.
inline std::u16string Utf16Units(FuzzedDataProvider& data, std::size_t maxUnits) {
    std::u16string units;
    while (units.size() < maxUnits && data.remaining_bytes() >= 2) {
        units += static_cast<char16_t>(data.ConsumeIntegral<std::uint16_t>());
    }
    return units;
}

// The fuzzer's bytes as a file that counts how it is read: a reader of a header must neither loop
// nor ask for more than a header can hold, whatever the header says.
class WatchedFile final : public ByteSource {
public:
    WatchedFile(const std::uint8_t* bytes, std::size_t size) : bytes_(bytes, size) {}
    std::size_t ReadAt(std::uint64_t offset, std::uint8_t* out, std::size_t size) override {
        Require(++reads_ <= kMostReads, "a header is read in a bounded number of reads");
        Require(size <= kLargestRead, "no read is larger than a JPEG segment");
        return bytes_.ReadAt(offset, out, size);
    }

private:
    static constexpr int kMostReads = 1000;
    static constexpr std::size_t kLargestRead = 65535;
    MemoryBytes bytes_;
    int reads_ = 0;
};

}  // namespace tessaro::fuzz
