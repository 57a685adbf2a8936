// The window's painted frame and moving the window by its title strip, with
// real mouse input, read back from the screen.

#include <gtest/gtest.h>

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

#include "Driver_win.h"
#include "ProgramTest_win.h"

namespace dorvint::window {
namespace {

// Five system colours unlike each other and unlike the usual greys, so that a
// stroke in the wrong colour shows.
constexpr COLORREF kButtonFace = RGB(200, 180, 160);
constexpr COLORREF kButtonShadow = RGB(20, 90, 160);
constexpr COLORREF kButtonHighlight = RGB(250, 230, 30);
constexpr COLORREF kDarkShadow = RGB(90, 20, 40);
constexpr COLORREF kLight = RGB(60, 200, 110);

// A colour as a captured pixel holds it, 0x00RRGGBB.
DWORD OnScreen(COLORREF colour) {
  return GetRValue(colour) << 16 | GetGValue(colour) << 8 | GetBValue(colour);
}

// The raised edge of a w × h window at one pixel of its outer two rings:
// dark shadow outside and shadow inside on the right and bottom, light
// outside and highlight inside on the left and top.
COLORREF FrameColour(int x, int y, int w, int h) {
  if (x == w - 1 || y == h - 1) return kDarkShadow;
  if (x == 0 || y == 0) return kLight;
  if (x == w - 2 || y == h - 2) return kButtonShadow;
  return kButtonHighlight;
}

// Where the captured window's outer two rings differ from the frame, the
// first few of them described.
std::vector<std::string> FrameDifferences(const Pixels& pixels) {
  std::vector<std::string> differences;
  const int w = pixels.width;
  const int h = pixels.height;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if (x >= 2 && y >= 2 && x < w - 2 && y < h - 2) continue;
      const DWORD expected = OnScreen(FrameColour(x, y, w, h));
      if (pixels.At(x, y) == expected) continue;
      differences.push_back(PixelDifference(x, y, pixels.At(x, y), expected));
    }
  }
  return differences;
}

// Keeps the tallest window on the screen.
constexpr char kPlace[] = "[Window]\nTop=40\nLeft=300\n";

class Frame : public ProgramTest {
 protected:
  // Waits until the frame on the screen is the one expected; the pointer is
  // moved away first, as a tooltip's shadow may cover the edge.
  void ExpectFrame() const {
    MovePointerAway();
    std::vector<std::string> differences;
    WaitUntil([&] {
      differences = FrameDifferences(CaptureScreen(main_));
      return differences.empty();
    });
    EXPECT_TRUE(differences.empty()) << Summary(differences);
  }

 private:
  // Set before the program starts, which reads them then.
  SystemColours colours_{{L"ButtonFace", kButtonFace},
                         {L"ButtonShadow", kButtonShadow},
                         {L"ButtonHilight", kButtonHighlight},
                         {L"ButtonDkShadow", kDarkShadow},
                         {L"ButtonLight", kLight}};
};

struct FrameCase {
  const char* name;
  const char* settings;  // besides the window position
  int gestures;          // Shift + right presses on the refresh button
  int height;
};
std::ostream& operator<<(std::ostream& out, const FrameCase& c) { return out << c.name; }

class FrameAtHeight : public Frame, public testing::WithParamInterface<FrameCase> {};

TEST_P(FrameAtHeight, IsARaisedEdgeAroundTheWindow) {
  const FrameCase& frame = GetParam();
  WriteSettings(std::string(kPlace) + frame.settings);
  Start();
  for (int gesture = 1; gesture <= frame.gestures; ++gesture) {
    ASSERT_TRUE(SwitchStripTo(gesture % 2 == 1 ? 651 : 561)) << "gesture " << gesture;
  }

  EXPECT_EQ(frame.height, BoxOf(main_).height);
  ExpectFrame();
}

INSTANTIATE_TEST_SUITE_P(
    Heights, FrameAtHeight,
    testing::Values(FrameCase{"List", "", 0, 561},
                    FrameCase{"ListWithPicture", "[Picture]\nH=True\n", 0, 651},
                    FrameCase{"NoRowsWithPicture", "[Display]\n1=\n[Picture]\nH=True\n", 0, 151},
                    FrameCase{"PictureSwitchedOn", "", 1, 651},
                    FrameCase{"PictureSwitchedOnAndOff", "", 2, 561}),
    [](const testing::TestParamInfo<FrameCase>& frame) { return std::string(frame.param.name); });

// --- Dragging

class Dragging : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    Install(L"Unlha32.dll", "main=5\n");
    WriteSettings("[Window]\nTop=100\nLeft=200\n");
    Start();
  }
};

TEST_F(Dragging, LeftButtonOnTheTitleMovesTheWindow) {
  const Box box = DragTitleBy(150, 120);
  EXPECT_EQ(171, box.width);
  EXPECT_EQ(561, box.height);
}

struct StillDrag {
  const char* name;
  Button button;
  POINT (*start)(HWND form);  // where the drag starts, on the screen
};
std::ostream& operator<<(std::ostream& out, const StillDrag& c) { return out << c.name; }

POINT OnTitle(HWND form) { return CentreOf(Control(form, kPanelTitle)); }
POINT OnCell(HWND form) { return CentreOf(Control(Control(form, kPanel0), 101)); }
POINT OnRefreshButton(HWND form) { return CentreOf(Control(form, kSpeedButton2)); }
POINT OnListPanel(HWND form) {
  RECT rect{};
  GetWindowRect(Control(form, kPanel0), &rect);
  return {rect.left + 4, rect.top + 300};  // between its edge and the cells
}
POINT OnWindowEdge(HWND form) {
  RECT rect{};
  GetWindowRect(form, &rect);
  return {rect.left + 1, rect.top + 300};
}

class DragThatMovesNothing : public Dragging, public testing::WithParamInterface<StillDrag> {};

TEST_P(DragThatMovesNothing, LeavesTheWindowWhereItIs) {
  const Box before = BoxOf(main_);
  const POINT from = GetParam().start(main_);
  Drag(GetParam().button, from, {from.x + 150, from.y + 120});
  WaitForInputHandled();
  EXPECT_EQ(before, BoxOf(main_));
}

INSTANTIATE_TEST_SUITE_P(
    Starts, DragThatMovesNothing,
    testing::Values(StillDrag{"RightButtonOnTheTitle", Button::Right, OnTitle},
                    StillDrag{"LeftButtonOnACell", Button::Left, OnCell},
                    StillDrag{"LeftButtonOnTheRefreshButton", Button::Left, OnRefreshButton},
                    StillDrag{"LeftButtonOnTheListPanel", Button::Left, OnListPanel},
                    StillDrag{"LeftButtonOnTheWindowEdge", Button::Left, OnWindowEdge}),
    [](const testing::TestParamInfo<StillDrag>& drag) { return std::string(drag.param.name); });

}  // namespace
}  // namespace dorvint::window
