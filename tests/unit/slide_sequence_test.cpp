#include "show/slide_sequence.h"

#include "common/long_path.h"

#include <gtest/gtest.h>

namespace tessaro {
namespace {

TEST(SlideSequence, PathsUseTwoDigitsAndOneBackslash) {
    struct Case {
        const wchar_t* folder;
        std::int16_t number;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"C:\\", 1, L"C:\\ZUMIK01.DAT"},
        {L"C:\\Saver", 1, L"C:\\Saver\\ZUMIK01.DAT"},
        {L"C:\\Saver", 9, L"C:\\Saver\\ZUMIK09.DAT"},
        {L"C:\\Saver", 10, L"C:\\Saver\\ZUMIK10.DAT"},
        {L"C:\\Saver", 46, L"C:\\Saver\\ZUMIK46.DAT"},
        {L"\\\\server\\share", 3, L"\\\\server\\share\\ZUMIK03.DAT"},
        {L"C:\\スクリーン セーバー", 7, L"C:\\スクリーン セーバー\\ZUMIK07.DAT"},
    };
    for (const Case& c : cases) EXPECT_EQ(SlidePath(c.folder, c.number), c.expected);
}

TEST(SlideSequence, CycleRunsFromOneToTheCountAndStartsAgain) {
    std::int16_t slide = 1;
    for (int step = 1; step < kSlideCount; ++step) slide = FollowingSlide(slide, kSlideCount);
    EXPECT_EQ(slide, 46);
    EXPECT_EQ(FollowingSlide(46, kSlideCount), 1);
    EXPECT_EQ(FollowingSlide(2, kSlideCount), 3);
    EXPECT_EQ(FollowingSlide(32767, 32767), 1) << "the last 16-bit number must not overflow";
}

TEST(LongPath, PrefixOnlyWhenTheSystemWouldRefuseThePath) {
    // Windows refuses paths of MAX_PATH (260) UTF-16 units or more without the prefix.
    const std::wstring smile = L"\U0001F600";  // two UTF-16 units
    const auto repeat = [](const std::wstring& part, int times) {
        std::wstring text;
        for (int i = 0; i < times; ++i) text += part;
        return text;
    };
    struct Case {
        std::wstring path;
        std::wstring expected;
    };
    const std::wstring longest = L"C:\\" + std::wstring(256, L'x');  // 259 units
    const Case cases[] = {
        {L"C:\\Saver\\ZUMIK01.DAT", L"C:\\Saver\\ZUMIK01.DAT"},
        {longest, longest},
        {longest + L"x", L"\\\\?\\" + longest + L"x"},
        {L"C:\\" + repeat(smile, 128), L"C:\\" + repeat(smile, 128)},  // 259 units
        {L"C:\\" + repeat(smile, 128) + L"x", L"\\\\?\\C:\\" + repeat(smile, 128) + L"x"},
        {L"\\\\?\\" + longest + L"x", L"\\\\?\\" + longest + L"x"},
        {L"\\\\server\\share\\" + std::wstring(300, L'y'), L"\\\\?\\UNC\\server\\share\\" + std::wstring(300, L'y')},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ExtendedLengthPath(c.path), c.expected) << "a path of " << c.path.size() << " wchar_t";
    }
}

}  // namespace
}  // namespace tessaro
