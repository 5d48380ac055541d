#pragma once
// A read-only COM stream over an open file handle, reading with ReadFile at its own position.
//
// WIC can make a stream from a handle itself, but Wine's maps the whole file into the process to
// do so, which counts the whole file, tens of megabytes for a big photo, in the saver's memory
// while it decodes. Reading as the decoder asks costs only what it asks for.

#include <windows.h>
#include <objidl.h>

#include "win32/unique_resource.h"

namespace tessaro {

// The handle must stay open while the stream is used; the stream does not close it.
ComPtr<IStream> MakeHandleStream(HANDLE file);

}  // namespace tessaro
