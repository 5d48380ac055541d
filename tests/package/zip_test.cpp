// The ZIP for one user: one folder Tessaro/ with the program, its slides and a README.

#include <gtest/gtest.h>

#include <algorithm>

#include "package_support.h"
#include "support/utf8.h"
#include "zip_reader.h"

namespace tessaro::e2e {
namespace {

std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t count = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
    return count;
}

const ZipEntry* Find(const ZipContents& zip, const std::string& name) {
    const auto entry = std::find_if(zip.entries.begin(), zip.entries.end(), [&](const ZipEntry& e) { return e.name == name; });
    return entry == zip.entries.end() ? nullptr : &*entry;
}

TEST(Zip, HoldsExactlyTheBuiltProgramItsSlidesAndAReadmeInOneFolder) {
    const std::string archive = ReadFileBytes(ThisZip());
    ASSERT_FALSE(archive.empty()) << "no ZIP: build the package target";
    const ZipContents zip = ReadZip(archive);
    ASSERT_EQ(zip.error, "");

    std::vector<std::string> expected{"Tessaro/", "Tessaro/README.txt"};
    for (const PackagedFile& file : PackagedFiles()) {
        expected.push_back("Tessaro/" + Utf8(file.name));
        SCOPED_TRACE(expected.back());
        const ZipEntry* entry = Find(zip, expected.back());
        ASSERT_NE(entry, nullptr) << "missing";
        const std::string built = ReadFileBytes(file.built);
        ASSERT_FALSE(built.empty());
        EXPECT_TRUE(entry->bytes == built) << "not byte-identical to " << Utf8(file.built);
    }
    std::vector<std::string> others;
    for (const ZipEntry& entry : zip.entries) {
        if (std::find(expected.begin(), expected.end(), entry.name) == expected.end()) others.push_back(entry.name);
    }
    EXPECT_EQ(others, std::vector<std::string>{}) << "files the ZIP must not hold";
    EXPECT_EQ(zip.entries.size(), expected.size()) << "a file held twice";
}

TEST(Zip, ReadmeSaysInJapaneseAndEnglishHowToInstall) {
    const ZipContents zip = ReadZip(ReadFileBytes(ThisZip()));
    const ZipEntry* readme = Find(zip, "Tessaro/README.txt");
    ASSERT_NE(readme, nullptr) << zip.error;
    const std::string& text = readme->bytes;
    EXPECT_EQ(text.rfind("\xEF\xBB\xBF", 0), 0u) << "UTF-8 with a byte order mark, for Notepad";
    EXPECT_GT(Count(text, "\r\n"), 0u);
    EXPECT_EQ(Count(text, "\n"), Count(text, "\r\n")) << "Windows line ends only";
    const char* needed[] = {
        "Tessaro " TESSARO_VERSION_TEXT,
        "Tessaro.scr を右クリックし、［インストール］を選びます。",
        "Right-click Tessaro.scr and choose Install.",
        "Tessaro-" TESSARO_VERSION_TEXT "-win64.msi",
    };
    for (const char* sentence : needed) EXPECT_NE(text.find(sentence), std::string::npos) << sentence;
}

}  // namespace
}  // namespace tessaro::e2e
