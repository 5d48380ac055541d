// The window thunk: from the first message that carries the object to the last, the object knows
// its window; afterwards neither the object nor the window refers to the other.

#include "win32/window_class.h"

#include <gtest/gtest.h>

namespace tessaro {
namespace {

// Notes, for every message, whether its handle was the one the thunk gave it.
class RecordingWindow {
public:
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        Record(window, message);
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    INT_PTR HandleDialogMessage(HWND dialog, UINT message) {
        Record(dialog, message);
        return message == WM_INITDIALOG;
    }

    HWND hwnd_ = nullptr;
    int messages = 0;
    int messagesWithAnotherHandle = 0;
    LONG_PTR storedAtLastMessage = -1;

private:
    void Record(HWND window, UINT message) {
        ++messages;
        if (hwnd_ != window) ++messagesWithAnotherHandle;
        if (message == WM_NCDESTROY) storedAtLastMessage = ::GetWindowLongPtrW(window, GWLP_USERDATA);
    }
};

class RecordingDialog : public RecordingWindow {
public:
    INT_PTR HandleMessage(HWND dialog, UINT message, WPARAM, LPARAM) { return HandleDialogMessage(dialog, message); }
};

void ExpectKnownFromFirstToLastMessage(const RecordingWindow& recorder) {
    EXPECT_GT(recorder.messages, 2);
    EXPECT_EQ(recorder.messagesWithAnotherHandle, 0) << "a message reached the object before its handle was set";
    EXPECT_EQ(recorder.storedAtLastMessage, 0) << "the window still pointed at the object at WM_NCDESTROY";
    EXPECT_EQ(recorder.hwnd_, nullptr) << "the object still holds the handle of a destroyed window";
}

TEST(WindowThunk, AWindowKnowsItsHandleFromItsFirstMessageToItsLast) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &WindowThunk::WindowProcedure<RecordingWindow>;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"TessaroThunkTest";
    ASSERT_NE(::RegisterClassExW(&windowClass), 0);
    RecordingWindow recorder;
    HWND window = ::CreateWindowExW(0, windowClass.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                    windowClass.hInstance, &recorder);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(recorder.hwnd_, window);
    ::DestroyWindow(window);
    ExpectKnownFromFirstToLastMessage(recorder);
    ::UnregisterClassW(windowClass.lpszClassName, windowClass.hInstance);
}

TEST(WindowThunk, ADialogKnowsItsHandleFromInitDialogToItsLastMessage) {
    // An empty dialog template: no menu, the dialog class, no title, no controls.
    struct alignas(4) Template {
        DLGTEMPLATE dialog;
        WORD menu, windowClass, title;
    } const empty{{WS_POPUP, 0, 0, 0, 0, 100, 50}, 0, 0, 0};
    RecordingDialog recorder;
    HWND dialog = ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr), &empty.dialog, nullptr,
                                               &WindowThunk::DialogProcedure<RecordingDialog>,
                                               reinterpret_cast<LPARAM>(&recorder));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(recorder.hwnd_, dialog);
    ::DestroyWindow(dialog);
    ExpectKnownFromFirstToLastMessage(recorder);
}

}  // namespace
}  // namespace tessaro
