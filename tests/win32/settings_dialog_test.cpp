// The settings dialog, hosted in this test program: its icons.

#include "dialogs/form2.h"

#include <gtest/gtest.h>

#include "dialog_host.h"
#include "resource.h"
#include "win32/message_loop.h"

namespace tessaro {
namespace {

class HostedSettingsDialog : public testing::Test {
protected:
    HostedSettingsDialog()
        : host_([] {
              Form2 settings;
              if (settings.Create(::GetModuleHandleW(nullptr))) RunMessageLoop(settings.Handle());
          }),
          dialog_(host_.Dialog()) {}

    HICON Icon(WPARAM which) const { return reinterpret_cast<HICON>(::SendMessageW(dialog_, WM_GETICON, which, 0)); }

    DialogHost host_;
    HWND dialog_;
};

TEST_F(HostedSettingsDialog, HasAnIconOfEachSizeTheSystemAsksFor) {
    ASSERT_NE(dialog_, nullptr);
    EXPECT_EQ(IconWidth(Icon(ICON_BIG)), ::GetSystemMetrics(SM_CXICON));
    EXPECT_EQ(IconWidth(Icon(ICON_SMALL)), ::GetSystemMetrics(SM_CXSMICON)) << "the caption shows the large image";
}

}  // namespace
}  // namespace tessaro
