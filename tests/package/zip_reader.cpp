#include "zip_reader.h"

#include <zlib.h>

#include <cstdint>
#include <optional>

namespace tessaro::e2e {
namespace {

constexpr std::uint32_t kCentralEntrySignature = 0x02014b50;
constexpr std::uint32_t kLocalHeaderSignature = 0x04034b50;
constexpr char kEndOfDirectorySignature[] = "PK\x05\x06";
constexpr std::size_t kEndOfDirectorySize = 22;
constexpr std::size_t kCentralEntrySize = 46;
constexpr std::size_t kLocalHeaderSize = 30;
constexpr int kStored = 0;
constexpr int kDeflated = 8;

// Little-endian fields; zero past the end, which the size checks below turn into errors.
std::uint32_t Field(const std::string& bytes, std::size_t at, int width) {
    std::uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i) {
        const std::size_t index = at + static_cast<std::size_t>(i);
        value = value << 8 | (index < bytes.size() ? static_cast<unsigned char>(bytes[index]) : 0u);
    }
    return value;
}

// A raw deflate stream (no zlib header), as ZIP stores it.
class RawInflater {
public:
    RawInflater() : ready_(inflateInit2(&stream_, -MAX_WBITS) == Z_OK) {}
    RawInflater(const RawInflater&) = delete;
    RawInflater& operator=(const RawInflater&) = delete;
    ~RawInflater() {
        if (ready_) inflateEnd(&stream_);
    }

    std::optional<std::string> Inflate(const std::string& packed, std::size_t size) {
        if (!ready_) return std::nullopt;
        std::string unpacked(size, '\0');
        stream_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
        stream_.avail_in = static_cast<uInt>(packed.size());
        stream_.next_out = reinterpret_cast<Bytef*>(unpacked.data());
        stream_.avail_out = static_cast<uInt>(size);
        if (inflate(&stream_, Z_FINISH) != Z_STREAM_END || stream_.total_out != size) return std::nullopt;
        return unpacked;
    }

private:
    z_stream stream_{};
    bool ready_;
};

std::optional<std::string> Unpack(int method, const std::string& packed, std::size_t size) {
    if (method == kStored) return packed.size() == size ? std::optional(packed) : std::nullopt;
    if (method == kDeflated) return RawInflater().Inflate(packed, size);
    return std::nullopt;
}

}  // namespace

ZipContents ReadZip(const std::string& archive) {
    ZipContents zip;
    const std::size_t end = archive.rfind(kEndOfDirectorySignature);
    if (end == std::string::npos || end + kEndOfDirectorySize > archive.size()) {
        zip.error = "no end of central directory";
        return zip;
    }
    const std::uint32_t count = Field(archive, end + 10, 2);
    std::size_t at = Field(archive, end + 16, 4);
    for (std::uint32_t i = 0; i < count; ++i) {
        if (at + kCentralEntrySize > archive.size() || Field(archive, at, 4) != kCentralEntrySignature) {
            zip.error = "central directory entry " + std::to_string(i) + " is damaged";
            return zip;
        }
        const int method = static_cast<int>(Field(archive, at + 10, 2));
        const std::uint32_t crc = Field(archive, at + 16, 4);
        const std::size_t packedSize = Field(archive, at + 20, 4);
        const std::size_t size = Field(archive, at + 24, 4);
        const std::size_t nameLength = Field(archive, at + 28, 2);
        const std::size_t directoryExtras = nameLength + Field(archive, at + 30, 2) + Field(archive, at + 32, 2);
        const std::size_t local = Field(archive, at + 42, 4);
        const std::string name = archive.substr(at + kCentralEntrySize, nameLength);
        at += kCentralEntrySize + directoryExtras;

        const std::size_t data = local + kLocalHeaderSize + Field(archive, local + 26, 2) + Field(archive, local + 28, 2);
        if (Field(archive, local, 4) != kLocalHeaderSignature || data + packedSize > archive.size()) {
            zip.error = name + ": local header damaged";
            return zip;
        }
        const std::optional<std::string> bytes = Unpack(method, archive.substr(data, packedSize), size);
        if (!bytes || crc32(0, reinterpret_cast<const Bytef*>(bytes->data()), static_cast<uInt>(bytes->size())) != crc) {
            zip.error = name + ": does not unpack to its size and CRC-32 (method " + std::to_string(method) + ")";
            return zip;
        }
        zip.entries.push_back({name, *bytes});
    }
    return zip;
}

}  // namespace tessaro::e2e
