// The picture strip under the table: switched on and off with Shift and the
// right mouse button on the refresh button, and its pixels on the screen.

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "Driver_win.h"
#include "PictureTable.h"
#include "ProgramTest_win.h"

namespace dorvint::window {
namespace {

constexpr int kList = 561;  // the window with the 25 default rows
constexpr int kWithStrip = kList + 90;
// Keeps the tallest window on the screen.
constexpr char kPlace[] = "[Window]\nTop=40\nLeft=300\n";

// A picture entry, 0x00BBGGRR, as a captured pixel holds it, 0x00RRGGBB.
DWORD OnScreen(std::uint32_t entry) {
  return (entry & 0xFF) << 16 | (entry & 0xFF00) | (entry >> 16 & 0xFF);
}

// Where the captured window differs from the picture, whose column c and row
// r (from 1) sit at x = 9 + c, y = 8 + r below the bottom of Panel0.
std::vector<std::string> PictureDifferences(const Pixels& pixels, int panel0Bottom) {
  std::vector<std::string> differences;
  for (int r = 1; r <= PictureTable.height; ++r) {
    for (int c = 1; c <= PictureTable.width; ++c) {
      const int x = 9 + c;
      const int y = panel0Bottom + 8 + r;
      const DWORD expected = OnScreen(PictureColour(PictureTable, c, r));
      if (y < pixels.height && pixels.At(x, y) == expected) continue;
      differences.push_back(
          PixelDifference(x, y, y < pixels.height ? pixels.At(x, y) : 0, expected));
    }
  }
  return differences;
}

class PictureStrip : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    Install(L"Unlha32.dll", "main=5\n");
  }
  void StartWith(const std::string& settings) {
    WriteSettings(kPlace + settings);
    Start();
  }
};

TEST_F(PictureStrip, ShiftRightPressTogglesItKeepingTheTopLeftCorner) {
  StartWith("");
  const Box list = BoxOf(main_);
  ASSERT_EQ((Box{300, 40, 171, kList}), list);

  ASSERT_TRUE(SwitchStripTo(kWithStrip));
  EXPECT_EQ((Box{300, 40, 171, kWithStrip}), BoxOf(main_));
  EXPECT_EQ(537, BoxOf(Panel0()).height);

  ASSERT_TRUE(SwitchStripTo(kList));
  EXPECT_EQ(list, BoxOf(main_));
  EXPECT_EQ(537, BoxOf(Panel0()).height);
}

struct ShownCase {
  const char* name;
  const char* settings;
  bool switched;  // by Shift and a right press on the refresh button
  int height;
  int panel0Height;
};
std::ostream& operator<<(std::ostream& out, const ShownCase& c) { return out << c.name; }

class PictureShown : public PictureStrip, public testing::WithParamInterface<ShownCase> {};

TEST_P(PictureShown, IsThePictureTable) {
  const ShownCase& shown = GetParam();
  StartWith(shown.settings);
  ASSERT_TRUE(shown.switched ? SwitchStripTo(shown.height) : WaitForHeight(shown.height));
  ASSERT_EQ(shown.panel0Height, BoxOf(Panel0()).height);

  MovePointerAway();
  const int panel0Bottom = 21 + shown.panel0Height;
  std::vector<std::string> differences;
  WaitUntil([&] {
    differences = PictureDifferences(CaptureScreen(main_), panel0Bottom);
    return differences.empty();
  });
  EXPECT_TRUE(differences.empty()) << Summary(differences);
}

INSTANTIATE_TEST_SUITE_P(
    Sources, PictureShown,
    testing::Values(ShownCase{"FromTheFile", "[Picture]\nH=True\n", false, kWithStrip, 537},
                    ShownCase{"SwitchedOn", "", true, kWithStrip, 537},
                    // The picture from y 67 to y 140.
                    ShownCase{"WithNoRows", "[Display]\n1=\n[Picture]\nH=True\n", false, 151, 37}),
    [](const testing::TestParamInfo<ShownCase>& shown) { return std::string(shown.param.name); });

TEST_F(PictureStrip, MistypedFlagIsSwitchedOffBeforeItCanBeSwitchedOn) {
  StartWith("[Picture]\nH=true\n");
  EXPECT_EQ(kList, BoxOf(main_).height);

  ShiftRightPress();
  WaitForInputHandled();
  EXPECT_EQ(kList, BoxOf(main_).height);

  EXPECT_TRUE(SwitchStripTo(kWithStrip));
}

TEST_F(PictureStrip, TwoQuickPressesToggleTwice) {
  StartWith("");
  PointAtRefreshButton();
  {
    // The second press comes within the double-click time.
    const Held shift(VK_SHIFT);
    Press(Button::Right);
    Release(Button::Right);
    Press(Button::Right);
    Release(Button::Right);
    ASSERT_TRUE(KeyHeld(VK_SHIFT)) << "the display let go of Shift";
  }
  WaitForInputHandled();
  EXPECT_EQ(kList, BoxOf(main_).height);
}

TEST_F(PictureStrip, ShiftLeftPressRefreshesWithoutToggling) {
  StartWith("");
  ASSERT_EQ(L"0.05", Version(1));
  Configure(L"Unlha32.dll", "main=300\n");
  ShiftPress(Button::Left);

  EXPECT_EQ(L"3.00", WaitForText(VersionCell(1), L"3.00"));
  EXPECT_EQ(kList, BoxOf(main_).height);
}

TEST_F(PictureStrip, LeftPressWhileShiftAndRightAreHeldTogglesAndRefreshes) {
  StartWith("");
  Configure(L"Unlha32.dll", "main=300\n");
  PointAtRefreshButton();
  const Held shift(VK_SHIFT);
  const Held right(Button::Right);
  ASSERT_TRUE(WaitForHeight(kWithStrip));
  ASSERT_EQ(L"0.05", Version(1));

  Press(Button::Left);
  EXPECT_TRUE(WaitForHeight(kList));
  Release(Button::Left);
  ASSERT_TRUE(KeyHeld(VK_SHIFT)) << "the display let go of Shift";
  EXPECT_EQ(L"3.00", WaitForText(VersionCell(1), L"3.00"));
}

}  // namespace
}  // namespace dorvint::window
