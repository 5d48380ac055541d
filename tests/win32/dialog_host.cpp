#include "dialog_host.h"

#include <gtest/gtest.h>

#include "harness.h"

namespace tessaro {

DialogHost::DialogHost(std::function<void()> run)
    : thread_([this, run = std::move(run)] {
          threadId_ = ::GetCurrentThreadId();
          run();
      }) {
    e2e::WaitUntil([&] {
        const DWORD id = threadId_;
        if (!id) return false;
        ::EnumThreadWindows(
            id,
            [](HWND window, LPARAM found) -> BOOL {
                if (!::IsWindowVisible(window)) return TRUE;
                *reinterpret_cast<HWND*>(found) = window;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&dialog_));
        return dialog_ != nullptr;
    }, e2e::kPatience);
}

DialogHost::~DialogHost() {
    if (dialog_ && ::IsWindow(dialog_)) ::PostMessageW(dialog_, WM_CLOSE, 0, 0);
    thread_.join();
}

void ChangeDpi(HWND dialog, const DpiChange& change) {
    ::SendMessageW(dialog, WM_DPICHANGED, MAKEWPARAM(change.dpi, change.dpi), reinterpret_cast<LPARAM>(&change.suggested));
    RECT frame{};
    ::GetWindowRect(dialog, &frame);
    EXPECT_TRUE(::EqualRect(&frame, &change.suggested)) << "the window takes the suggested rectangle";
}

PixelBox ControlBox(HWND dialog, int controlId) {
    RECT rect{};
    ::GetWindowRect(::GetDlgItem(dialog, controlId), &rect);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return PixelBox{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

LOGFONTW FontOf(HWND window) {
    LOGFONTW font{};
    const auto handle = reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0));
    if (handle) ::GetObjectW(handle, sizeof(font), &font);
    return font;
}

int IconWidth(HICON icon) {
    ICONINFO info{};
    if (!icon || !::GetIconInfo(icon, &info)) return 0;
    const UniqueBitmap mask(info.hbmMask);
    const UniqueBitmap colour(info.hbmColor);
    BITMAP bitmap{};
    ::GetObjectW(colour ? colour.get() : mask.get(), sizeof(bitmap), &bitmap);
    return bitmap.bmWidth;
}

}  // namespace tessaro
