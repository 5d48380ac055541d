#pragma once
// The texts of the About box, formed from the executable's version information.

#include <string>
#include <string_view>

namespace tessaro {

// "<title>のﾊﾞｰｼﾞｮﾝ情報"
std::wstring AboutCaption(std::wstring_view applicationTitle);

// "ﾊﾞｰｼﾞｮﾝ 1.0.0": decimal, no sign, no leading zeros.
std::wstring VersionLabel(unsigned major, unsigned minor, unsigned revision);

// A double blank in the copyright notice marks a line break: each pair of blanks, scanned from
// the left without overlap, becomes CR LF.
std::wstring CopyrightWithLineBreaks(std::wstring_view legalCopyright);

}  // namespace tessaro
