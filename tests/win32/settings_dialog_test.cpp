// The settings dialog, hosted in this test program: its icons, and what it does when the DPI of
// its monitor changes.

#include "dialogs/settings_dialog.h"

#include <gtest/gtest.h>

#include "dialog_host.h"
#include "resource.h"
#include "win32/dpi.h"
#include "win32/message_loop.h"

namespace tessaro {
namespace {

class HostedSettingsDialog : public testing::Test {
protected:
    HostedSettingsDialog()
        : host_([] {
              SettingsDialog settings;
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

TEST_F(HostedSettingsDialog, LaysItselfOutAgainAtTheNewDpi) {
    ASSERT_NE(dialog_, nullptr);
    const LOGFONTW before = FontOf(::GetDlgItem(dialog_, IDOK));
    for (const DpiChange& c : kDpiChanges) {
        SCOPED_TRACE(testing::Message() << c.dpi << " DPI");
        ChangeDpi(dialog_, c);
        const SettingsDialogLayout layout = LayOutSettingsDialog(c.dpi);
        EXPECT_EQ(ControlBox(dialog_, IDOK), layout.ok);
        EXPECT_EQ(ControlBox(dialog_, IDCANCEL), layout.cancel);
        EXPECT_EQ(ControlBox(dialog_, IDC_NOTHING_TO_SET), layout.label);
        for (int control : {IDOK, IDCANCEL, IDC_NOTHING_TO_SET}) {
            EXPECT_EQ(FontOf(::GetDlgItem(dialog_, control)).lfHeight, ScaledFontHeight(before.lfHeight, 96, c.dpi))
                << "control " << control;
        }
        const DpiFunctions& system = DpiFunctions::System();
        EXPECT_EQ(IconWidth(Icon(ICON_BIG)), system.SystemMetric(SM_CXICON, c.dpi));
        EXPECT_EQ(IconWidth(Icon(ICON_SMALL)), system.SystemMetric(SM_CXSMICON, c.dpi));
    }
}

}  // namespace
}  // namespace tessaro
