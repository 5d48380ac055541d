#pragma once
// What the file system says a file is, without reading it.

#include <cstdint>

namespace tessaro {

// What tells one file from every other while it exists: the serial number of its volume and its
// number on that volume. However its path is spelled (short names, letter case, another drive
// letter for the same folder), it is the same file; a copy is another.
struct FileIdentity {
    std::uint64_t volume = 0;
    std::uint64_t file = 0;
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// The file and the state of its content: a file replaced, rewritten or touched since gets another
// signature.
struct FileSignature {
    FileIdentity identity;
    std::uint64_t size = 0;
    std::uint64_t lastWrite = 0;
    friend bool operator==(const FileSignature&, const FileSignature&) = default;
};

}  // namespace tessaro
