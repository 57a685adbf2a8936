#pragma once

#include <windows.h>

// What the benchmark and the minimal program agree on.
namespace dorvint::bench {

// Window class of the minimal program's window.
inline constexpr wchar_t kMinimalClass[] = L"DorvintMinimal";

// Command-line modes of the minimal program.  Without one it starts like the
// program: a window with as many child windows, the bare probes, then shown.
inline constexpr wchar_t kSetPixelMode[] = L"setpixel";  // paints the picture pixel by pixel
inline constexpr wchar_t kEmptyMode[] = L"empty";        // paints nothing

// Window property of the minimal window: how many WM_PAINT it has finished.
// Read with GetPropW, it tells without waiting for the window's thread whether
// a paint is done.
inline constexpr wchar_t kPaintCountProperty[] = L"DorvintPaints";

}  // namespace dorvint::bench
