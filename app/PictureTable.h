#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// The small picture shown in the strip under the table.
namespace dorvint {

constexpr std::int32_t kPictureWidth = 150;
constexpr std::int32_t kPictureHeight = 74;

struct Picture {
  std::int32_t width;
  std::int32_t height;
  // Column by column: column c, row r (both from 1) is at (c - 1) * 74 + (r - 1).
  // Each entry is 0x00BBGGRR.
  std::array<std::uint32_t, std::size_t{kPictureWidth} * kPictureHeight> colours;
};

extern const Picture PictureTable;

// The colour of column c, row r, both counted from 1.
constexpr const std::uint32_t& PictureColour(const Picture& picture, int c, int r) {
  const auto column = static_cast<std::size_t>(c - 1);
  const auto row = static_cast<std::size_t>(r - 1);
  return picture.colours[column * kPictureHeight + row];
}

}  // namespace dorvint
