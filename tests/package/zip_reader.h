#pragma once
// Reads a ZIP archive the way an unpacker would: through its central directory, inflating each
// entry and checking it against its CRC-32.

#include <string>
#include <vector>

namespace tessaro::e2e {

struct ZipEntry {
    std::string name;   // as stored, with '/' between folders; a folder's name ends with '/'
    std::string bytes;  // unpacked
};

struct ZipContents {
    std::vector<ZipEntry> entries;  // in the central directory's order
    std::string error;              // empty when every entry was read and matched its CRC-32
};

ZipContents ReadZip(const std::string& archive);

}  // namespace tessaro::e2e
