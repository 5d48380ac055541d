#include "registry_value.h"

#include "common/utf16.h"

namespace tessaro {

RegistryText ConvertRegistryValue(std::uint32_t type, const std::uint8_t* data, std::size_t byteCount) {
    if (byteCount == 0) return RegistryText{ValueRead::NoData, {}};
    if (byteCount > kRegistryValueBufferBytes) return RegistryText{};

    if (type == kRegDword) {
        if (byteCount != 4) return RegistryText{};
        const std::uint32_t value = static_cast<std::uint32_t>(data[0]) | static_cast<std::uint32_t>(data[1]) << 8 |
                                    static_cast<std::uint32_t>(data[2]) << 16 | static_cast<std::uint32_t>(data[3]) << 24;
        return RegistryText{ValueRead::Text, std::to_wstring(value)};
    }
    if (type != kRegSz && type != kRegExpandSz) return RegistryText{};

    std::u16string units;
    for (std::size_t i = 0; i + 1 < byteCount; i += 2) {
        units += static_cast<char16_t>(data[i] | data[i + 1] << 8);
    }
    std::wstring text = FromUtf16(units);
    if (!text.empty() && text.back() == L'\0') text.pop_back();
    return RegistryText{ValueRead::Text, std::move(text), type == kRegExpandSz};
}

}  // namespace tessaro
