#pragma once
// What the saver tests share: starting the saver and ending it.

#include <gtest/gtest.h>

#include <thread>

#include "harness.h"

namespace tessaro::e2e {

inline constexpr std::uint32_t kBlack = 0x000000;

// Starts the saver in folder and waits until its window is on the screen, showing centreColour
// in the middle; fails the test otherwise. Wine shows a new window's content a moment after the
// window becomes visible, so finding the window is not enough.
inline HWND StartSaver(const SaverFolder& folder, std::unique_ptr<Process>& process, std::uint32_t centreColour = kBlack,
                       const std::wstring& arguments = L"/s") {
    process = folder.Start(arguments);
    EXPECT_TRUE(process->Started());
    HWND window = process->WaitForWindow(kSaverClass);
    EXPECT_NE(window, nullptr) << "no saver window for " << arguments;
    const std::uint32_t seen = WaitForPixel(ScreenWidth() / 2, ScreenHeight() / 2, centreColour, 3000ms);
    EXPECT_EQ(seen, centreColour) << "the saver's first screen did not show";
    return window;
}

// Presses a key and expects the saver to end cleanly.
inline void EndWithKey(Process& process, WORD key = 'A') {
    PressKey(key);
    EXPECT_TRUE(process.WaitForExit(3000ms)) << "the saver did not end on key " << key;
    EXPECT_EQ(process.ExitCode(), 0u);
}

// True when every pixel of the screen is black.
inline bool ScreenAllBlack(const Screenshot& shot) {
    for (int y = 0; y < shot.Height(); ++y)
        for (int x = 0; x < shot.Width(); ++x)
            if (shot.At(x, y) != kBlack) return false;
    return true;
}

}  // namespace tessaro::e2e
