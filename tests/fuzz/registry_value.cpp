// The raw data of a registry value, of any type and length, turned into text, and the System
// Information tool looked up through two such values.

#include "sysinfo/registry_value.h"

#include "common/utf16.h"
#include "sysinfo/sysinfo_launcher.h"
#include "fuzz_support.h"

using namespace tessaro;
using tessaro::fuzz::Require;

namespace {

std::uint32_t ValueType(FuzzedDataProvider& data) {
    return data.ConsumeBool() ? data.ConsumeIntegralInRange<std::uint32_t>(0, 8) : data.ConsumeIntegral<std::uint32_t>();
}

// A registry whose two values are what the fuzzer says, and in which every file exists.
class FuzzedSystem final : public SysInfoSystem {
public:
    explicit FuzzedSystem(FuzzedDataProvider& data) : data_(data) {}
    RegistryText GetKeyValue(std::wstring_view keyName, std::wstring_view) override {
        Require(keyName == (++reads_ == 1 ? kSysInfoPathKey : kSysInfoFolderKey), "the path first, then the folder, once each");
        const std::uint32_t type = ValueType(data_);
        const std::vector<std::uint8_t> value = data_.ConsumeBytes<std::uint8_t>(data_.ConsumeIntegralInRange<std::size_t>(0, 1100));
        RegistryText read = ConvertRegistryValue(type, value.data(), value.size());
        (reads_ == 1 ? path_ : folder_) = read;
        return read;
    }
    bool FileExists(std::wstring_view) override { return true; }
    bool OrdinaryFileExists(std::wstring_view) override { return true; }
    bool StartProgram(std::wstring_view) override { return true; }
    void ShowUnavailable() override {}

    RegistryText path_;
    RegistryText folder_;
    int reads_ = 0;

private:
    FuzzedDataProvider& data_;
};

void CheckSysInfoLookup(FuzzedDataProvider& data) {
    FuzzedSystem system(data);
    const std::optional<std::wstring> program = FindSysInfo(system);
    if (system.path_.read == ValueRead::Text) {
        Require(program == system.path_.text && system.reads_ == 1, "a readable path is taken as it is");
    } else if (system.path_.read == ValueRead::NoData) {
        Require(!program && system.reads_ == 1, "a path without data ends the lookup");
    } else if (system.folder_.read == ValueRead::Text) {
        Require(program == system.folder_.text + std::wstring(kSysInfoFileName), "the tool is found in the folder");
    } else {
        Require(!program, "without a path or a folder there is no tool");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    if (data.ConsumeBool()) {
        CheckSysInfoLookup(data);
        return 0;
    }
    const std::uint32_t type = ValueType(data);
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
