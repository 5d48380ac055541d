#pragma once
// Finished renders on their way from the worker threads to the saver window, which may not exist
// yet when the first one is done: it collects whatever waits once it is there.

#include <windows.h>

#include <memory>
#include <mutex>
#include <vector>

#include "show/slide_worker.h"

namespace tessaro {

class RenderMailbox {
public:
    // message: what the window is posted when renders are waiting.
    explicit RenderMailbox(UINT message) : message_(message) {}

    // Any thread.
    void Put(std::unique_ptr<RenderResult> result) {
        const std::lock_guard<std::mutex> lock(mutex_);
        results_.push_back(std::move(result));
        if (window_) ::PostMessageW(window_, message_, 0, 0);
    }
    // The window's thread: from now on every result is announced to window.
    void Open(HWND window) {
        const std::lock_guard<std::mutex> lock(mutex_);
        window_ = window;
        if (!results_.empty()) ::PostMessageW(window_, message_, 0, 0);
    }
    std::vector<std::unique_ptr<RenderResult>> Take() {
        const std::lock_guard<std::mutex> lock(mutex_);
        return std::move(results_);
    }

private:
    const UINT message_;
    std::mutex mutex_;
    std::vector<std::unique_ptr<RenderResult>> results_;
    HWND window_ = nullptr;
};

}  // namespace tessaro
