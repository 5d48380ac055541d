#include "byte_source.h"

#include <algorithm>
#include <cstring>

namespace tessaro {

std::size_t MemoryBytes::ReadAt(std::uint64_t offset, std::uint8_t* out, std::size_t size) {
    if (offset >= size_) return 0;
    const std::size_t count = std::min<std::size_t>(size, size_ - static_cast<std::size_t>(offset));
    std::memcpy(out, data_ + offset, count);
    return count;
}

}  // namespace tessaro
