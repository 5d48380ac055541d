#include "sysinfo/sysinfo_launcher.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <vector>

namespace tessaro {
namespace {

// A system made of a few registry values and files; it records what the launcher did.
class FakeSystem final : public SysInfoSystem {
public:
    std::map<std::wstring, std::wstring> values;  // "key|value" -> text
    std::set<std::wstring> valuesWithoutData;     // "key|value"
    std::set<std::wstring> files;
    std::set<std::wstring> hiddenFiles;
    bool startFails = false;

    std::vector<std::wstring> lookups;
    std::vector<std::wstring> started;
    int messages = 0;

    RegistryText GetKeyValue(std::wstring_view key, std::wstring_view value) override {
        const std::wstring name = std::wstring(key) + L"|" + std::wstring(value);
        lookups.push_back(name);
        if (valuesWithoutData.count(name)) return RegistryText{ValueRead::NoData, {}};
        const auto found = values.find(name);
        if (found == values.end()) return RegistryText{};
        return RegistryText{ValueRead::Text, found->second};
    }
    bool FileExists(std::wstring_view path) override {
        return files.count(std::wstring(path)) || hiddenFiles.count(std::wstring(path));
    }
    bool OrdinaryFileExists(std::wstring_view path) override { return files.count(std::wstring(path)) > 0; }
    bool StartProgram(std::wstring_view path) override {
        if (startFails) return false;
        started.emplace_back(path);
        return true;
    }
    void ShowUnavailable() override { ++messages; }
};

const std::wstring kPathValue = std::wstring(kSysInfoPathKey) + L"|PATH";
const std::wstring kFolderValue = std::wstring(kSysInfoFolderKey) + L"|MSINFO";

TEST(StartSysInfo, FollowsTheTwoLookupsInOrder) {
    struct Case {
        const char* situation;
        std::map<std::wstring, std::wstring> values;
        std::set<std::wstring> valuesWithoutData;
        std::set<std::wstring> files;
        std::vector<std::wstring> expectedLookups;
        std::vector<std::wstring> expectedStarts;
        int expectedMessages;
    };
    const std::wstring tool = L"C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo\\msinfo32.exe";
    const Case cases[] = {
        {"the full path is registered: started as it is, the folder is not read",
         {{kPathValue, tool}, {kFolderValue, L"C:\\Elsewhere"}}, {}, {tool, L"C:\\Elsewhere\\MSINFO32.EXE"},
         {kPathValue}, {tool}, 0},
        {"no full path: the folder's MSINFO32.EXE",
         {{kFolderValue, L"C:\\Tools"}}, {}, {L"C:\\Tools\\MSINFO32.EXE"},
         {kPathValue, kFolderValue}, {L"C:\\Tools\\MSINFO32.EXE"}, 0},
        {"the folder lacks the file", {{kFolderValue, L"C:\\Tools"}}, {}, {}, {kPathValue, kFolderValue}, {}, 1},
        {"neither value", {}, {}, {}, {kPathValue, kFolderValue}, {}, 1},
        {"neither value, though the drive's root holds an MSINFO32.EXE",
         {}, {}, {L"\\MSINFO32.EXE"}, {kPathValue, kFolderValue}, {}, 1},
        {"the full path names no file: the folder is not tried either",
         {{kPathValue, L"C:\\Missing\\msinfo32.exe"}, {kFolderValue, L"C:\\Tools"}}, {}, {L"C:\\Tools\\MSINFO32.EXE"},
         {kPathValue}, {}, 1},
        {"the full path holds no data: that ends the lookup, the folder is not tried",
         {{kFolderValue, L"C:\\Tools"}}, {kPathValue}, {L"C:\\Tools\\MSINFO32.EXE"}, {kPathValue}, {}, 1},
        {"no full path, and the folder holds no data",
         {}, {kFolderValue}, {L"\\MSINFO32.EXE"}, {kPathValue, kFolderValue}, {}, 1},
        {"a decoy at the first blank of an unquoted path is never what runs",
         {{kPathValue, L"C:\\Program Files\\Tool\\msinfo32.exe"}}, {},
         {L"C:\\Program Files\\Tool\\msinfo32.exe", L"C:\\Program.exe"},
         {kPathValue}, {L"C:\\Program Files\\Tool\\msinfo32.exe"}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        FakeSystem system;
        system.values = c.values;
        system.valuesWithoutData = c.valuesWithoutData;
        system.files = c.files;
        StartSysInfo(system);
        EXPECT_EQ(system.lookups, c.expectedLookups);
        EXPECT_EQ(system.started, c.expectedStarts);
        EXPECT_EQ(system.messages, c.expectedMessages);
    }
}

TEST(StartSysInfo, AHiddenFileInTheFolderIsNotAnOrdinaryFile) {
    FakeSystem system;
    system.values = {{kFolderValue, L"C:\\Tools"}};
    system.hiddenFiles = {L"C:\\Tools\\MSINFO32.EXE"};
    StartSysInfo(system);
    EXPECT_TRUE(system.started.empty());
    EXPECT_EQ(system.messages, 1);
}

TEST(StartSysInfo, AFailedStartShowsTheMessage) {
    FakeSystem system;
    system.values = {{kPathValue, L"C:\\Tool\\msinfo32.exe"}};
    system.files = {L"C:\\Tool\\msinfo32.exe"};
    system.startFails = true;
    StartSysInfo(system);
    EXPECT_EQ(system.messages, 1);
}

TEST(StartSysInfo, EveryPressStartsAnotherInstance) {
    FakeSystem system;
    system.values = {{kPathValue, L"C:\\Tool\\msinfo32.exe"}};
    system.files = {L"C:\\Tool\\msinfo32.exe"};
    StartSysInfo(system);
    StartSysInfo(system);
    EXPECT_EQ(system.started.size(), 2u);
    EXPECT_EQ(system.messages, 0);
}

}  // namespace
}  // namespace tessaro
