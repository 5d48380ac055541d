// The decoder of a test build that crashes on purpose, the way a faulty codec inside the process
// might: a slide whose file begins with one of the texts below makes it fail that way. Every
// other slide is decoded as the program itself decodes it.

#include <windows.h>

#include <stdexcept>
#include <string>
#include <thread>

#include "saver/slide_decoder_choice.h"
#include "saver/wic_slide_decoder.h"
#include "win32/file_information.h"

namespace tessaro {
namespace {

[[noreturn]] void WriteToNowhere() {
    volatile int* volatile nowhere = nullptr;
    *nowhere = 1;
    std::abort();  // not reached
}

std::string FileStart(const std::wstring& path) {
    const UniqueHandle file = OpenExistingFile(path, GENERIC_READ);
    char start[16] = {};
    DWORD read = 0;
    if (file) ::ReadFile(file.get(), start, sizeof(start), &read, nullptr);
    return std::string(start, read);
}

class CrashingDecoder final : public SlideDecoder {
public:
    std::optional<FileSignature> Signature(const std::wstring& path) override { return wic_.Signature(path); }

    std::optional<SlideFrame> Render(const std::wstring& path, int screenWidth, int screenHeight,
                                     const std::atomic<bool>& stop) override {
        const std::string start = FileStart(path);
        if (start == "CRASH IN WORKER") WriteToNowhere();
        if (start == "THROW IN WORKER") throw std::runtime_error("a codec's exception");
        if (start == "CRASH IN THREAD") std::thread(&WriteToNowhere).detach();
        if (start == "CRASH IN WINDOW") {
            // A screen of the right size without its pixels: the window reads them from nowhere.
            SlideFrame frame;
            frame.screen.width = screenWidth;
            frame.screen.height = screenHeight;
            return frame;
        }
        return wic_.Render(path, screenWidth, screenHeight, stop);
    }

private:
    WicSlideDecoder wic_;
};

}  // namespace

std::unique_ptr<SlideDecoder> MakeSlideDecoder() { return std::make_unique<CrashingDecoder>(); }

}  // namespace tessaro
