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

// "Ctrl+C: コピー　F5: 更新" (a full-width space between the two)
inline constexpr char kTitleHint[] =
    "Ctrl+C: \x83\x52\x83\x73\x81\x5B\x81\x40"
    "F5: \x8D\x58\x90\x56";

// Version cell tooltips.  A library that did not load:
// "見つかりません"
inline constexpr char kNotFoundHint[] = "\x8C\xA9\x82\xC2\x82\xA9\x82\xE8\x82\xDC\x82\xB9\x82\xF1";
// "32 ビット版のライブラリではありません"
inline constexpr char kNot32BitHint[] =
    "32 "
    "\x83\x72\x83\x62\x83\x67\x94\xC5\x82\xCC\x83\x89\x83\x43\x83\x75\x83\x89\x83\x8A\x82\xC5\x82"
    "\xCD\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1";
// "ライブラリの初期化に失敗しました"
inline constexpr char kInitFailedHint[] =
    "\x83\x89\x83\x43\x83\x75\x83\x89\x83\x8A\x82\xCC\x8F\x89\x8A\xFA\x89\xBB\x82\xC9\x8E\xB8\x94"
    "\x73\x82\xB5\x82\xDC\x82\xB5\x82\xBD";
// After the main entry's name: "<entry> がありません"
inline constexpr char kEntryMissingHint[] = " \x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1";
// After the name as shown: "<name> は既知のライブラリ名ではありません"
inline constexpr char kUnknownNameHint[] =
    " \x82\xCD\x8A\xF9\x92\x6D\x82\xCC\x83\x89\x83\x43\x83\x75\x83\x89\x83\x8A\x96\xBC\x82\xC5\x82"
    "\xCD\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1";

}  // namespace dorvint
