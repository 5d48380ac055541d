#pragma once
// Texts that belong to the program as a whole.

namespace tessaro {

// Caption of the settings dialog and title of every message box.
inline constexpr wchar_t kApplicationTitle[] = L"Tessaro";

inline constexpr wchar_t kPasswordNotSupported[] = L"パスワードには対応しておりません。";

}  // namespace tessaro
