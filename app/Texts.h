#pragma once

// The user-interface texts.  Japanese texts are code page 932 bytes; they are
// converted to UTF-16 only where they reach a window.
namespace dorvint {

// The application title: task bar, window text, error report caption.
inline constexpr char kApplicationTitle[] = "Dorvint";

// "ＭＳ Ｐゴシック"
inline constexpr char kFontFace[] = "\x82\x6C\x82\x72 \x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E";

inline constexpr char kTitleText[] = " Dorvint";
inline constexpr char kNameHeader[] = "DLL";
inline constexpr char kVersionHeader[] = "Version";

// "×"
inline constexpr char kCloseCaption[] = "\x81\x7E";
// "終了"
inline constexpr char kCloseHint[] = "\x8F\x49\x97\xB9";

inline constexpr char kRefreshCaption[] = "U";
// "更新"
inline constexpr char kRefreshHint[] = "\x8D\x58\x90\x56";

}  // namespace dorvint
