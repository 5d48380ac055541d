#pragma once
// Converts the raw data of a registry value, as read with the wide-character API into a
// 1024-byte buffer, into the text the System Information launcher works with.

#include <cstddef>
#include <cstdint>
#include <string>

namespace tessaro {

inline constexpr std::size_t kRegistryValueBufferBytes = 1024;

// Registry value types this reader understands (winnt.h values).
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegDword = 4;

// What reading one value gave.
enum class ValueRead {
    Text,        // the value, as text
    Unreadable,  // no such key or value, more than the buffer holds, or a type not converted
    NoData,      // the value is there but holds no data at all: an error that ends a lookup
};

struct RegistryText {
    ValueRead read = ValueRead::Unreadable;
    std::wstring text;            // when read is Text
    bool needsExpansion = false;  // REG_EXPAND_SZ: environment variables still to expand
};

// Strings: UTF-16LE, one terminating zero character dropped. REG_DWORD: the decimal text of the
// 32-bit little-endian value. A REG_DWORD that is not four bytes long, and any other type, is
// unreadable.
RegistryText ConvertRegistryValue(std::uint32_t type, const std::uint8_t* data, std::size_t byteCount);

}  // namespace tessaro
