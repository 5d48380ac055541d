#pragma once
// Random access to the bytes of a file, for the readers of file headers; in memory, for tests and
// for structures read out of a file first.

#include <cstddef>
#include <cstdint>

namespace tessaro {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Copies up to size bytes from offset into out; returns how many were copied (fewer at the
    // end of the data or on a read error).
    virtual std::size_t ReadAt(std::uint64_t offset, std::uint8_t* out, std::size_t size) = 0;
};

// A ByteSource over bytes in memory, which must outlive it.
class MemoryBytes final : public ByteSource {
public:
    MemoryBytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::size_t ReadAt(std::uint64_t offset, std::uint8_t* out, std::size_t size) override;

private:
    const std::uint8_t* data_;
    std::size_t size_;
};

}  // namespace tessaro
