#include "about_texts.h"

namespace tessaro {

std::wstring AboutCaption(std::wstring_view applicationTitle) {
    return std::wstring(applicationTitle) + L"のﾊﾞｰｼﾞｮﾝ情報";
}

std::wstring VersionLabel(unsigned major, unsigned minor, unsigned revision) {
    return L"ﾊﾞｰｼﾞｮﾝ " + std::to_wstring(major) + L"." + std::to_wstring(minor) + L"." +
           std::to_wstring(revision);
}

std::wstring CopyrightWithLineBreaks(std::wstring_view legalCopyright) {
    std::wstring result;
    std::size_t pos = 0;
    while (pos < legalCopyright.size()) {
        if (legalCopyright.substr(pos, 2) == L"  ") {
            result += L"\r\n";
            pos += 2;
        } else {
            result += legalCopyright[pos++];
        }
    }
    return result;
}

}  // namespace tessaro
