// The stream the slide decoder reads a file through: what a decoder asks for, it gets, across
// the stream's own buffer, after seeks of every kind, and up to the end of the file.

#include "wic/handle_stream.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "harness.h"
#include "win32/diagnostics.h"
#include "win32/file_information.h"

namespace tessaro {
namespace {

using e2e::TempFolder;
using e2e::WriteFileBytes;

// Bytes that tell every offset apart, over more than two of the stream's buffers.
std::string Numbered(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    return bytes;
}

TEST(HandleStream, ReadsWhatItIsAskedForWhereverItIsAsked) {
    const std::string content = Numbered(150 * 1024);
    const TempFolder folder;
    const std::wstring path = folder.Path() + L"\\picture.bin";
    WriteFileBytes(path, content);
    const UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(file);

    struct Step {
        const char* what;
        DWORD origin;
        LONGLONG move;
        ULONG size;
        std::size_t expectedAt;  // where the bytes read must come from
        ULONG expectedRead;
    };
    const Step steps[] = {
        {"the start", STREAM_SEEK_SET, 0, 1000, 0, 1000},
        {"on from there", STREAM_SEEK_CUR, 0, 1000, 1000, 1000},
        {"across the end of the first buffer", STREAM_SEEK_SET, 65000, 2000, 65000, 2000},
        {"more than a buffer at once", STREAM_SEEK_SET, 100, 140000, 100, 140000},
        {"back into a buffer read before", STREAM_SEEK_SET, 10, 10, 10, 10},
        {"forward from the current position", STREAM_SEEK_CUR, 70000, 100, 70020, 100},
        {"backward from the current position", STREAM_SEEK_CUR, -50, 100, 70070, 100},
        {"the last bytes, from the end", STREAM_SEEK_END, -16, 16, content.size() - 16, 16},
        {"past the end: only what there is", STREAM_SEEK_END, -10, 100, content.size() - 10, 10},
        {"at the end: nothing", STREAM_SEEK_END, 0, 100, content.size(), 0},
    };
    const ComPtr<IStream> stream = MakeHandleStream(file.get());
    ASSERT_TRUE(stream);
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        LARGE_INTEGER move{};
        move.QuadPart = step.move;
        ULARGE_INTEGER at{};
        ASSERT_EQ(stream->Seek(move, step.origin, &at), S_OK);
        EXPECT_EQ(at.QuadPart, step.expectedAt);
        std::string buffer(step.size, '\0');
        ULONG read = 0;
        EXPECT_EQ(stream->Read(buffer.data(), step.size, &read), step.expectedRead == step.size ? S_OK : S_FALSE);
        ASSERT_EQ(read, step.expectedRead);
        EXPECT_EQ(buffer.substr(0, read), content.substr(step.expectedAt, read));
    }

    struct Refused {
        DWORD origin;
        LONGLONG move;
    };
    const Refused refused[] = {{STREAM_SEEK_SET, -1},        {STREAM_SEEK_SET, LLONG_MIN}, {STREAM_SEEK_CUR, LLONG_MIN},
                               {STREAM_SEEK_END, LLONG_MIN}, {STREAM_SEEK_END, LLONG_MAX}};
    for (const Refused& r : refused) {
        LARGE_INTEGER move{};
        move.QuadPart = r.move;
        EXPECT_EQ(stream->Seek(move, r.origin, nullptr), STG_E_INVALIDFUNCTION) << "origin " << r.origin << ", " << r.move;
    }
    STATSTG stat{};
    ASSERT_EQ(stream->Stat(&stat, STATFLAG_NONAME), S_OK);
    EXPECT_EQ(stat.cbSize.QuadPart, content.size());
    EXPECT_EQ(stream->Write("x", 1, nullptr), STG_E_ACCESSDENIED);
}

// Why a slide cannot be opened is still there when the opener returns, though it frees memory
// on the way out (which clears the last error in this program).
TEST(OpenExistingFile, SaysWhyAFileHeldByAnotherCannotBeOpened) {
    const TempFolder folder;
    const std::wstring path = folder.Path() + L"\\held by another.bin";
    WriteFileBytes(path, "x");
    const UniqueFile held(::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    const UniqueFile opened = OpenExistingFile(path, GENERIC_READ);
    const HRESULT why = LastErrorResult();
    EXPECT_FALSE(opened);
    EXPECT_EQ(why, HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION));
}

}  // namespace
}  // namespace tessaro
