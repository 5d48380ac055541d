// Takes the README's pictures of the settings dialog and the About box from the real program.
//
//   dialog_capture.exe PROGRAM OUTPUT_FOLDER

#include <cstdio>
#include <string>
#include <thread>

#include "harness.h"

using namespace tessaro::e2e;

namespace {

bool SaveWindow(HWND window, const std::wstring& path) {
    RECT frame{};
    ::GetWindowRect(window, &frame);
    std::this_thread::sleep_for(500ms);  // let it finish painting
    const bool saved = Screenshot::Take().Crop(frame).SavePng(path);
    std::wprintf(L"%ls %ls\n", saved ? L"saved" : L"FAILED", path.c_str());
    return saved;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fwprintf(stderr, L"usage: dialog_capture PROGRAM OUTPUT_FOLDER\n");
        return 2;
    }
    const std::wstring program = argv[1];
    const std::wstring output = argv[2];
    MoveMouseTo(ScreenWidth() - 1, ScreenHeight() / 2);
    Process process(program, L"\"" + program + L"\" /c");
    HWND settings = process.WaitForCaption(L"Tessaro");
    if (!settings || !SaveWindow(settings, output + L"\\settings-dialog.png")) return 1;
    std::this_thread::sleep_for(300ms);
    PressKeys({VK_MENU, 'H'});
    std::this_thread::sleep_for(300ms);
    PressKey('V');
    HWND about = process.WaitForCaption(L"Tessaroのﾊﾞｰｼﾞｮﾝ情報");
    if (!about || !SaveWindow(about, output + L"\\about-box.png")) return 1;
    PressKey(VK_RETURN);
    std::this_thread::sleep_for(300ms);
    PressKey(VK_ESCAPE);
    return process.WaitForExit(5000ms) ? 0 : 1;
}
