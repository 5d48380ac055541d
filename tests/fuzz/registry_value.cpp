// The raw data of a registry value, of any type and length, turned into text.

#include "dialogs/registry_value.h"

#include "common/utf16.h"
#include "fuzz_support.h"

using namespace tessaro;
using tessaro::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    const std::uint32_t type = data.ConsumeBool() ? data.ConsumeIntegralInRange<std::uint32_t>(0, 8) : data.ConsumeIntegral<std::uint32_t>();
    const std::vector<std::uint8_t> value = data.ConsumeRemainingBytes<std::uint8_t>();
    const RegistryText read = ConvertRegistryValue(type, value.data(), value.size());

    if (value.empty()) {
        Require(read.read == ValueRead::NoData, "a value without data ends the lookup");
        return 0;
    }
    const bool text = type == kRegSz || type == kRegExpandSz;
    const bool fits = value.size() <= kRegistryValueBufferBytes;
    if (!fits || !(text || (type == kRegDword && value.size() == 4))) {
        Require(read.read == ValueRead::Unreadable && read.text.empty(), "what is not converted is unreadable");
        return 0;
    }
    Require(read.read == ValueRead::Text, "a string or a four-byte number is text");
    if (type == kRegDword) {
        const std::uint32_t number = value[0] | value[1] << 8 | value[2] << 16 | static_cast<std::uint32_t>(value[3]) << 24;
        Require(read.text == std::to_wstring(number) && !read.needsExpansion, "a number is its decimal text");
        return 0;
    }
    std::u16string units;
    for (std::size_t i = 0; i + 1 < value.size(); i += 2) units += static_cast<char16_t>(value[i] | value[i + 1] << 8);
    if (!units.empty() && units.back() == u'\0') units.pop_back();
    Require(ToUtf16(read.text) == units, "a string is its UTF-16 units but one terminating zero");
    Require(read.needsExpansion == (type == kRegExpandSz), "only REG_EXPAND_SZ is expanded");
    return 0;
}
