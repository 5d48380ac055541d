// What the Wine session the tests and the README's screenshots run in must provide.

#include <gtest/gtest.h>

#include "dialogs/dialog_placement.h"

namespace tessaro {
namespace {

// Wine draws the close box and the other caption buttons with Marlett; without it they show
// letters ("r" for the close box).
TEST(TestSession, HasTheFontOfTheCaptionButtons) { EXPECT_TRUE(FontFaceInstalled(L"Marlett", DEFAULT_CHARSET)); }

}  // namespace
}  // namespace tessaro
