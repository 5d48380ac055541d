// In this test program, freeing memory clears the last error, as Windows allows any call to do:
// code that frees memory between a call and its GetLastError reads the wrong error here.

#include <windows.h>

#include <cstdlib>
#include <new>

void operator delete(void* block) noexcept {
    std::free(block);
    ::SetLastError(ERROR_SUCCESS);
}
void operator delete(void* block, std::size_t) noexcept { operator delete(block); }
void operator delete[](void* block) noexcept { operator delete(block); }
void operator delete[](void* block, std::size_t) noexcept { operator delete(block); }
