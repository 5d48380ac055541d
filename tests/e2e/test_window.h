#pragma once
// A window of the test's own, for the saver to cover, hide and show.

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "harness.h"

namespace tessaro::e2e {

// A topmost window of the test's own, in a stock brush's colour, on a thread of its own whose
// messages it answers as any window's thread would, until the test holds it: then a message
// another thread sends it waits until the test lets the thread go on. It takes the foreground
// only when asked to, as a program's window that pops up would.
class TestWindow {
public:
    TestWindow(const wchar_t* className, RECT rect, int stockBrush = WHITE_BRUSH)
        : thread_([this, className, rect, stockBrush] { Run(className, rect, stockBrush); }) {
        WaitUntil([&] { return window_.load() != nullptr; }, kPatience);
    }
    ~TestWindow() {
        Release();
        if (window_) ::PostMessageW(window_, WM_CLOSE, 0, 0);
        thread_.join();
    }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND Handle() const { return window_; }
    bool Visible() const { return ::IsWindowVisible(window_) != FALSE; }
    void BringToTop() const { ::SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE); }

    // Its own thread makes it the foreground window.
    void TakeForeground() const { ::PostMessageW(window_, kTakeForeground, 0, 0); }

    // Its thread stops answering.
    void Hold() {
        ::PostMessageW(window_, kHold, 0, 0);
        ::WaitForSingleObject(held_.get(), static_cast<DWORD>(kPatience.count()));
    }
    // True once a message sent to it by another thread waits for an answer.
    bool WaitForSentMessage(Milliseconds timeout) const {
        return ::WaitForSingleObject(messageWaits_.get(), static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
    }
    void Release() { ::SetEvent(release_.get()); }

private:
    static constexpr UINT kHold = WM_APP;
    static constexpr UINT kTakeForeground = WM_APP + 1;

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<TestWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        if (message == kHold && self) {
            // Wakes for a sent message without handling it, then waits for the test.
            HANDLE release = self->release_.get();
            ::SetEvent(self->held_.get());
            if (::MsgWaitForMultipleObjects(1, &release, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
                ::SetEvent(self->messageWaits_.get());
                ::WaitForSingleObject(release, INFINITE);
            }
            return 0;
        }
        if (message == kTakeForeground) {
            ::SetWindowLongPtrW(window, GWL_EXSTYLE, ::GetWindowLongPtrW(window, GWL_EXSTYLE) & ~WS_EX_NOACTIVATE);
            ::SetForegroundWindow(window);
            return 0;
        }
        if (message == WM_DESTROY) ::PostQuitMessage(0);
        return ::DefWindowProcW(window, message, wParam, lParam);
    }

    void Run(const wchar_t* className, RECT rect, int stockBrush) {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = &Procedure;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.hbrBackground = static_cast<HBRUSH>(::GetStockObject(stockBrush));
        windowClass.lpszClassName = className;
        ::RegisterClassExW(&windowClass);
        HWND window = ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, className, L"", WS_POPUP,
                                        rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, nullptr,
                                        nullptr, windowClass.hInstance, nullptr);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        ::ShowWindow(window, SW_SHOWNOACTIVATE);
        window_ = window;
        MSG message;
        while (::GetMessageW(&message, nullptr, 0, 0) > 0) ::DispatchMessageW(&message);
        ::UnregisterClassW(className, windowClass.hInstance);
    }

    UniqueHandle held_{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    UniqueHandle release_{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    UniqueHandle messageWaits_{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    std::atomic<HWND> window_{nullptr};
    std::thread thread_;
};

// A topmost window of the test's own covers the saver's window at a point, three times; each
// time, at its next tick, the saver has it on top again. (A static control would not do as the
// cover: hit-testing passes through it, so the saver would seem on top under it.)
inline void ExpectOnTopAgainAfterEachTick(HWND saver, POINT at) {
    const TestWindow cover(L"TessaroTestCover", RECT{at.x - 50, at.y - 50, at.x + 50, at.y + 50});
    int coverSeenOnTop = 0;
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(testing::Message() << "round " << round);
        cover.BringToTop();
        // Only a tick between the last two lines can have put the saver back already.
        coverSeenOnTop += ::WindowFromPoint(at) == cover.Handle();
        ASSERT_TRUE(WaitUntil([&] { return ::WindowFromPoint(at) == saver; }, kPatience))
            << "the saver stayed under the cover";
    }
    EXPECT_GT(coverSeenOnTop, 0) << "the cover never came above the saver";
}

}  // namespace tessaro::e2e
