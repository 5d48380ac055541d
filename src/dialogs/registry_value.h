#pragma once
// Converts the raw data of a registry value, as read with the wide-character API into a
// 1024-byte buffer, into the text the System Information launcher works with.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace tessaro {

inline constexpr std::size_t kRegistryValueBufferBytes = 1024;

// Registry value types this reader understands (winnt.h values).
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegDword = 4;

struct RegistryText {
    std::wstring text;
    bool needsExpansion = false;  // REG_EXPAND_SZ: environment variables still to expand
};

// Strings: UTF-16LE, one terminating zero character dropped. REG_DWORD: the decimal text of the
// 32-bit little-endian value. Empty result for a value with no data, a REG_DWORD that is not four
// bytes long, or any other type.
std::optional<RegistryText> ConvertRegistryValue(std::uint32_t type, const std::uint8_t* data,
                                                 std::size_t byteCount);

}  // namespace tessaro
