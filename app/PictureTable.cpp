#include "PictureTable.h"

#include <cstddef>

namespace dorvint {
namespace {

// An evening landscape, drawn at compile time: a sky fading from night blue
// to a warm horizon, a setting sun, a few stars, two ranges of hills and a
// little strapped crate in the foreground.

constexpr std::uint32_t Rgb(int r, int g, int b) {
  return static_cast<std::uint32_t>(r) | static_cast<std::uint32_t>(g) << 8 |
         static_cast<std::uint32_t>(b) << 16;
}

constexpr int Mix(int from, int to, int step, int steps) {
  return from + (to - from) * step / steps;
}

// A triangle wave: rises and falls by `amplitude` over `period` columns.
constexpr int Ridge(int x, int period, int amplitude) {
  const int phase = x % period;
  const int half = period / 2;
  return (phase < half ? phase : period - phase) * amplitude / half;
}

constexpr int FarHill(int x) { return 40 + Ridge(x + 13, 46, 9) + Ridge(x, 17, 3); }
constexpr int NearHill(int x) { return 52 + Ridge(x + 30, 64, 8) + Ridge(x + 5, 11, 2); }

constexpr bool IsStar(int x, int y) {
  constexpr int stars[][2] = {{8, 5},   {23, 12}, {37, 4},   {52, 9},  {66, 3},
                              {79, 14}, {131, 6}, {142, 15}, {120, 3}, {14, 20}};
  // A plain loop: std::ranges::any_of takes clang past its step limit for compile-time code.
  // NOLINTNEXTLINE(readability-use-anyofallof)
  for (const auto& s : stars) {
    if (s[0] == x && s[1] == y) return true;
  }
  return false;
}

constexpr std::uint32_t Sky(int x, int y) {
  if (IsStar(x, y)) return Rgb(255, 255, 230);
  const int dx = x - 108;
  const int dy = y - 36;
  const int d2 = dx * dx + dy * dy;
  if (d2 <= 11 * 11) return Rgb(255, 226, 130);
  if (d2 <= 14 * 14) return Rgb(252, 196, 110);  // glow around the sun
  return Rgb(Mix(24, 250, y, 50), Mix(32, 160, y, 50), Mix(96, 96, y, 50));
}

constexpr std::uint32_t Crate(int x, int y) {
  const bool edge = x == 18 || x == 45 || y == 50 || y == 68;
  if (edge) return Rgb(70, 40, 20);
  if (y >= 57 && y <= 60) return Rgb(200, 170, 60);                         // strap
  if (x >= 29 && x <= 34 && y >= 56 && y <= 61) return Rgb(230, 220, 200);  // label
  return (x + y) % 6 == 0 ? Rgb(130, 82, 40) : Rgb(160, 104, 52);
}

constexpr std::uint32_t Pixel(int x, int y) {
  if (x >= 18 && x <= 45 && y >= 50 && y <= 68) return Crate(x, y);
  const int near = NearHill(x);
  if (y == near) return Rgb(96, 160, 80);
  if (y > near) return (x * 7 + y * 3) % 13 == 0 ? Rgb(34, 90, 48) : Rgb(44, 112, 58);
  if (y >= FarHill(x)) return Rgb(92, 78, 138);
  return Sky(x, y);
}

constexpr Picture Draw() {
  Picture picture{kPictureWidth, kPictureHeight, {}};
  for (int x = 0; x < kPictureWidth; ++x) {
    for (int y = 0; y < kPictureHeight; ++y) {
      const auto column = static_cast<std::size_t>(x);
      const auto row = static_cast<std::size_t>(y);
      picture.colours[column * kPictureHeight + row] = Pixel(x, y);
    }
  }
  return picture;
}

}  // namespace

constexpr Picture kDrawn = Draw();
const Picture PictureTable = kDrawn;

}  // namespace dorvint
