#pragma once
// What the saver tests share: starting the saver and ending it.

#include <gtest/gtest.h>

#include <functional>
#include <thread>
#include <vector>

#include "harness.h"
#include "../placement_examples.h"

namespace tessaro::e2e {

inline constexpr std::uint32_t kBlack = 0x000000;

// Starts the saver in folder and waits until its window is on the screen, showing centreColour
// in the middle; fails the test otherwise. Wine shows a new window's content a moment after the
// window becomes visible, so finding the window is not enough.
inline HWND StartSaver(const SaverFolder& folder, std::unique_ptr<Process>& process, std::uint32_t centreColour = kBlack,
                       const std::wstring& arguments = L"/s") {
    process = folder.Start(arguments);
    EXPECT_TRUE(process->Started());
    HWND window = process->WaitForWindow(kSaverClass, kPatience);
    EXPECT_NE(window, nullptr) << "no saver window for " << arguments;
    const std::uint32_t seen = WaitForPixel(ScreenWidth() / 2, ScreenHeight() / 2, centreColour, kPatience);
    EXPECT_EQ(seen, centreColour) << "the saver's first screen did not show";
    return window;
}

// Presses a key and expects the saver to end cleanly.
inline void EndWithKey(Process& process, WORD key = 'A') {
    PressKey(key);
    EXPECT_TRUE(process.WaitForExit(kPatience)) << "the saver did not end on key " << key;
    EXPECT_EQ(process.ExitCode(), 0u);
}

// Makes the place where the pointer rests the saver's reference point, whatever reached the saver
// first: the move the window system sends a window that appears under the pointer, or a copy of
// it that the X server delivers later, after a test's own first move, or neither. A move to the
// very spot the pointer rests on is a move all the same, and whichever of them comes first, the
// reference is that spot; then the test waits until the saver has taken them all in.
inline void SettleReference(const Process& process) {
    POINT at{};
    ::GetCursorPos(&at);
    ::SetCursorPos(at.x, at.y);
    EXPECT_TRUE(process.WaitForInputIdle(kPatience));
}

// Under Wine each move also reaches the saver a second time, a moment later, through the X
// server; such a late copy of an earlier move can take the place of a newer move the saver has
// not read yet, so the newer position is never judged. Putting the pointer at the same place
// again gives the saver that move anew.

// Moves the pointer and waits until the saver has taken the move in (or has ended).
inline void MoveAndWait(const Process& process, int x, int y) {
    MoveMouseTo(x, y);
    EXPECT_TRUE(process.WaitForInputIdle(kPatience));
    ::SetCursorPos(x, y);
    EXPECT_TRUE(process.WaitForInputIdle(kPatience));
}

// Moves the pointer and keeps giving the saver that move until it ends; false if it does not.
inline bool MoveUntilEnded(const Process& process, int x, int y) {
    MoveMouseTo(x, y);
    return WaitUntil(
        [&] {
            if (process.WaitForExit(kQuietPeriod)) return true;
            ::SetCursorPos(x, y);
            return false;
        },
        kPatience, 0ms);
}

// A move of the pointer, and whether it must end the saver.
struct MoveStep {
    POINT to;
    bool ends;
};

// Makes the moves in turn, checking after each whether the saver ended, up to the first that ends it.
inline void MakeMoves(const Process& process, const std::vector<MoveStep>& steps) {
    for (const MoveStep& step : steps) {
        bool ended = false;
        if (step.ends) {
            ended = MoveUntilEnded(process, step.to.x, step.to.y);
        } else {
            MoveAndWait(process, step.to.x, step.to.y);
            ended = process.WaitForExit(kQuietPeriod);
        }
        EXPECT_EQ(ended, step.ends) << "after the move to " << step.to.x << ", " << step.to.y;
        if (ended) return;
    }
}

// Starts the saver on each placement example in turn, with one slide of that size in colour;
// check looks at the screen, then a key ends the saver.
inline void ForEachPlacementExample(std::uint32_t colour, const std::function<void(const PlacementExample&)>& check) {
    for (const PlacementExample& c : kPlacementExamples) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        const SaverFolder folder;
        folder.AddSolidSlide(1, c.width, c.height, colour);
        std::unique_ptr<Process> process;
        ASSERT_NE(StartSaver(folder, process, colour), nullptr);
        check(c);
        if (testing::Test::HasFatalFailure()) return;
        EndWithKey(*process);
    }
}

// True when every pixel of the screen is black.
inline bool ScreenAllBlack(const Screenshot& shot) {
    for (int y = 0; y < shot.Height(); ++y)
        for (int x = 0; x < shot.Width(); ++x)
            if (shot.At(x, y) != kBlack) return false;
    return true;
}

}  // namespace tessaro::e2e
