// The About box, hosted in this test program: what it does when the DPI of its monitor changes,
// and the colour of its title.

#include "dialogs/about_box.h"

#include <gtest/gtest.h>

#include "dialog_host.h"
#include "resource.h"

namespace tessaro {
namespace {

class HostedAboutBox : public testing::Test {
protected:
    HostedAboutBox()
        : host_([] {
              AboutBox about(::GetModuleHandleW(nullptr));
              about.ShowModal(nullptr);
          }),
          about_(host_.Dialog()) {}

    DialogHost host_;
    HWND about_;
};

TEST_F(HostedAboutBox, KeepsItsBoldTitleAndLaysItselfOutAgainAtTheNewDpi) {
    ASSERT_NE(about_, nullptr);
    HWND title = ::GetDlgItem(about_, IDC_TITLE);
    ASSERT_EQ(FontOf(title).lfWeight, FW_BOLD) << "bold from the start";
    const LOGFONTW before = FontOf(::GetDlgItem(about_, IDOK));
    for (const DpiChange& c : kDpiChanges) {
        SCOPED_TRACE(testing::Message() << c.dpi << " DPI");
        ChangeDpi(about_, c);

        const AboutBoxLayout layout = LayOutAboutBox(c.dpi);
        const LOGFONTW titleFont = FontOf(title);
        EXPECT_EQ(titleFont.lfWeight, FW_BOLD) << "the title lost its bold font";
        EXPECT_EQ(titleFont.lfHeight, layout.titleFontHeight);
        EXPECT_EQ(FontOf(::GetDlgItem(about_, IDOK)).lfHeight, ScaledFontHeight(before.lfHeight, 96, c.dpi));
        EXPECT_NE(FontOf(::GetDlgItem(about_, IDC_VERSION)).lfWeight, FW_BOLD);

        EXPECT_EQ(ControlBox(about_, IDOK), layout.ok);
        EXPECT_EQ(ControlBox(about_, IDC_SYSTEM_INFORMATION), layout.sysInfo);
        EXPECT_EQ(ControlBox(about_, IDC_APPLICATION_ICON), layout.icon);
        EXPECT_EQ(ControlBox(about_, IDC_TITLE), layout.title);
        EXPECT_EQ(ControlBox(about_, IDC_VERSION), layout.version);
        EXPECT_EQ(ControlBox(about_, IDC_COMPANY_NAME), layout.companyName);
        EXPECT_EQ(ControlBox(about_, IDC_COPYRIGHT), layout.legalCopyright);
        const auto icon = reinterpret_cast<HICON>(::SendDlgItemMessageW(about_, IDC_APPLICATION_ICON, STM_GETICON, 0, 0));
        EXPECT_EQ(IconWidth(icon), layout.icon.width) << "the icon made again at the new size";
    }
}

// The system's text colours changed for as long as this object lives.
class SystemTextColours {
public:
    explicit SystemTextColours(COLORREF colour)
        : saved_{::GetSysColor(kElements[0]), ::GetSysColor(kElements[1])} {
        const COLORREF changed[] = {colour, colour};
        ::SetSysColors(2, kElements, changed);
    }
    ~SystemTextColours() { ::SetSysColors(2, kElements, saved_); }
    SystemTextColours(const SystemTextColours&) = delete;
    SystemTextColours& operator=(const SystemTextColours&) = delete;

private:
    static constexpr INT kElements[] = {COLOR_WINDOWTEXT, COLOR_BTNTEXT};
    COLORREF saved_[2];
};

// The colour a label is drawn in: what the box answers when the window system asks.
COLORREF TextColourOf(HWND about, int labelId) {
    const UniqueHdc dc(::CreateCompatibleDC(nullptr));
    ::SetTextColor(dc.get(), RGB(1, 2, 3));
    ::SendMessageW(about, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()),
                   reinterpret_cast<LPARAM>(::GetDlgItem(about, labelId)));
    return ::GetTextColor(dc.get());
}

TEST_F(HostedAboutBox, TheTitleIsBlackWhateverTheSystemTextColour) {
    ASSERT_NE(about_, nullptr);
    const SystemTextColours red(RGB(255, 0, 0));
    EXPECT_EQ(TextColourOf(about_, IDC_TITLE), RGB(0, 0, 0));
    EXPECT_EQ(TextColourOf(about_, IDC_VERSION), RGB(255, 0, 0)) << "the other labels keep the system's colour";
}

}  // namespace
}  // namespace tessaro
