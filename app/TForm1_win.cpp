#include <windows.h>
// Common controls, declared on top of windows.h.
#include <commctrl.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <type_traits>

#include "CellHint_win.h"
#include "Loader_win.h"
#include "Paint_win.h"
#include "PictureTable.h"
#include "Probe.h"
#include "Settings.h"
#include "Settings_win.h"
#include "TForm1.h"
#include "TableText.h"
#include "Text_win.h"
#include "Texts.h"

namespace dorvint {

// Program-wide state of the main window's module, alive for the whole run.
namespace form1 {
namespace {

Settings Settings;          // filled at show
std::int32_t RowCount = 0;  // rows in use, 0 to 26
int PictureChanged = 0;     // 1: the picture strip was switched on in this run

}  // namespace
}  // namespace form1

namespace {

constexpr wchar_t kClassName[] = L"TForm1";
constexpr int kIconId = 1;  // the application icon in the resources
// Posted by the first paint: time to create the tooltips.
constexpr UINT kCreateTooltipsMessage = WM_APP + 1;

// The controls: IDs and bounds, cells relative to Panel0.
constexpr int kPanel0Id = 1000;
constexpr int kPanelTitleId = 1001;
constexpr int kSpeedButton1Id = 1002;
constexpr int kSpeedButton2Id = 1003;
constexpr int kPanel31Id = 31;
constexpr int kPanel32Id = 32;
constexpr int NameCellId(int n) { return 100 + n; }
constexpr int VersionCellId(int n) { return n; }

constexpr Bounds kSpeedButton1Bounds{150, 4, 17, 15};
constexpr Bounds kSpeedButton2Bounds{133, 4, 17, 15};
constexpr Bounds kPanelTitleBounds{3, 3, 130, 18};
constexpr Bounds kPanel0Bounds{kPanel0Left, kPanel0Top, kPanel0Width, kDesignedPanel0Height};
constexpr int kCellHeight = 17;
constexpr int kNameLeft = 8;
constexpr int kNameWidth = 81;
constexpr int kVersionLeft = 92;
constexpr int kVersionWidth = 65;
constexpr int kHeaderTop = 8;
constexpr Bounds NameCellBounds(int top) { return {kNameLeft, top, kNameWidth, kCellHeight}; }
constexpr Bounds VersionCellBounds(int top) {
  return {kVersionLeft, top, kVersionWidth, kCellHeight};
}

constexpr PanelLook kTitleLook{Bevel::None, Bevel::None, DT_LEFT, COLOR_BTNTEXT};
constexpr PanelLook kListLook{Bevel::Lowered, Bevel::Raised, DT_CENTER, COLOR_WINDOWTEXT};
constexpr PanelLook kCellLook{Bevel::Lowered, Bevel::None, DT_CENTER, COLOR_WINDOWTEXT};

Font CreateWindowFont(int weight) {
  return Font(CreateFontW(-12, 0, 0, 0, weight, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                          OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                          Widen(kFontFace, 932).c_str()));
}

// The picture strip under the table: the window's extra height, and where the
// picture's column 1, row 1 sits (x) and how far below Panel0 (y).
constexpr int kPictureStripHeight = 90;
constexpr int kPictureLeft = 10;
constexpr int kPictureGap = 9;

bool PictureShown() { return form1::Settings.PictureFlag == "True"; }

// Entry n (1 to 26) of the display list.
const std::string& DisplayName(int n) { return form1::Settings.DisplayNames[n - 1]; }

// The clipboard, open for the lifetime of this object.
class OpenedClipboard {
 public:
  explicit OpenedClipboard(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
  ~OpenedClipboard() {
    if (open_) CloseClipboard();
  }
  OpenedClipboard(const OpenedClipboard&) = delete;
  OpenedClipboard& operator=(const OpenedClipboard&) = delete;
  bool IsOpen() const { return open_; }

 private:
  bool open_;
};

struct GlobalRelease {
  void operator()(HGLOBAL memory) const { GlobalFree(memory); }
};
using GlobalOwner = std::unique_ptr<std::remove_pointer_t<HGLOBAL>, GlobalRelease>;

// Moveable memory holding `text` with its terminating zero, for the clipboard.
GlobalOwner GlobalText(const std::wstring& text) {
  const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  GlobalOwner memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
  if (!memory) return memory;
  void* target = GlobalLock(memory.get());
  if (target == nullptr) return nullptr;
  std::memcpy(target, text.c_str(), bytes);
  GlobalUnlock(memory.get());
  return memory;
}

// The common controls, which the tooltips need and the window itself does
// not.  They stay loaded for the rest of the run, as an imported library
// would: the tooltip control's code lives in them.
bool LoadCommonControls() {
  const HMODULE library = LoadLibraryW(L"comctl32.dll");
  if (library == nullptr) return false;
  using Initialise = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  const auto initialise = reinterpret_cast<Initialise>(
      reinterpret_cast<void*>(GetProcAddress(library, "InitCommonControlsEx")));
  const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
  return initialise != nullptr && initialise(&classes) != FALSE;
}

}  // namespace

bool TForm1::Create() {
  const HICON icon = LoadIconW(Instance(), MAKEINTRESOURCEW(kIconId));
  if (!Register(kClassName, CS_HREDRAW | CS_VREDRAW, icon) || !Panel::Register() ||
      !SpeedButton::Register()) {
    return false;
  }
  return CreateHandle(WS_EX_APPWINDOW, kClassName, Widen(kApplicationTitle, 932),
                      WS_POPUP | WS_CLIPCHILDREN,
                      {CW_USEDEFAULT, CW_USEDEFAULT, kFormWidth, kDesignedFormHeight}, nullptr, 0);
}

void TForm1::FormShow() {
  form1::Settings = ReadSettingsFile();
  PictureFlagAsRead = form1::Settings.PictureFlag;
  form1::RowCount = CountRows(form1::Settings.DisplayNames);
  Win32LibraryLoader loader;
  for (int n = 1; n <= form1::RowCount; ++n) {
    NameCell(n).SetText(Widen(DisplayName(n), CP_ACP));
    ProbeRow(n, loader);
  }
  if (form1::RowCount < kMaxRows) {
    NameCell(form1::RowCount + 1).Hide();
    VersionCell(form1::RowCount + 1).Hide();
  }
  const ListHeights heights = HeightsFor(form1::RowCount);
  SetHeight(heights.form);
  Panel0.SetHeight(heights.panel0);
  ShowPictureAtShow();
  form1::PictureChanged = 0;
  PlaceWindow();
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return OnCreate();
    case WM_PAINT:
      OnPaint();
      return 0;
    case kCreateTooltipsMessage:
      CreateTooltips();
      return 0;
    case WM_CLOSE:
      OnClose();
      return 0;
    case WM_LBUTTONDOWN:
      OnLeftButtonDown();
      return 0;
    case WM_LBUTTONUP:
      OnLeftButtonUp();
      return 0;
    case WM_ACTIVATE:
      OnActivate(wParam);
      return 0;
    case WM_KEYDOWN:
      OnKeyDown(wParam);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return Default(message, wParam, lParam);
  }
}

LRESULT TForm1::OnCreate() {
  RegularFont = CreateWindowFont(FW_NORMAL);
  BoldFont = CreateWindowFont(FW_BOLD);
  return CreateControls() ? 0 : -1;
}

void TForm1::OnPaint() {
  {
    const PaintDc paint(Handle());
    FormPaint(paint.get());
  }
  // Loading the common controls takes longer than everything else the
  // window does to show, so the tooltips come once it has been painted.
  if (!TooltipsAsked) {
    TooltipsAsked = true;
    PostMessageW(Handle(), kCreateTooltipsMessage, 0, 0);
  }
}

void TForm1::OnClose() {
  // A refused write leaves FormClose with an error: the error report shows it
  // and the window stays open, so the next close tries again.
  FormClose();
  DestroyWindow(Handle());
}

// A left press on the window itself holds the mouse until its release, so a
// drag that starts here never reaches the title strip.
void TForm1::OnLeftButtonDown() { SetCapture(Handle()); }

void TForm1::OnLeftButtonUp() {
  if (GetCapture() == Handle()) ReleaseCapture();
}

// None of the controls takes the keyboard: the window itself does, for the
// copy and refresh keys.
void TForm1::OnActivate(WPARAM state) {
  if (LOWORD(state) != WA_INACTIVE) SetFocus(Handle());
}

void TForm1::OnKeyDown(WPARAM key) {
  if (key == VK_F5) {
    SpeedButton2Click();
  } else if (key == 'C' && GetKeyState(VK_CONTROL) < 0) {
    CopyTable();
  }
}

// The window's own drawing; the controls paint themselves.
void TForm1::FormPaint(HDC canvas) {
  if (PictureShown()) DrawPicture(canvas, PictureTable, kPictureLeft, PictureTop());
  const RECT bounds = ScreenBounds();
  const int w = bounds.right - bounds.left;
  const int h = bounds.bottom - bounds.top;
  DrawStrokes(canvas, COLOR_BTNSHADOW, {{w - 2, 1}, {w - 2, h - 2}, {0, h - 2}});
  DrawStrokes(canvas, COLOR_BTNHIGHLIGHT, {{1, h - 3}, {1, 1}, {w - 2, 1}});
  DrawStrokes(canvas, COLOR_3DDKSHADOW, {{w - 1, 0}, {w - 1, h - 1}, {-1, h - 1}});
  DrawStrokes(canvas, COLOR_3DLIGHT, {{0, h - 2}, {0, 0}, {w - 1, 0}});
}

void TForm1::FormClose() {
  const RECT bounds = ScreenBounds();
  WriteSettingsFile(CloseWrites(form1::Settings, PictureFlagAsRead, form1::PictureChanged,
                                bounds.top, bounds.left));
}

void TForm1::SpeedButton1Click() { SendMessageW(Handle(), WM_CLOSE, 0, 0); }

void TForm1::SpeedButton2Click() {
  Win32LibraryLoader loader;
  for (int n = 1; n <= form1::RowCount; ++n) ProbeRow(n, loader);
}

// A fault inside the library leaves the row's text and tooltip as they were.
void TForm1::ProbeRow(int n, LibraryLoader& loader) {
  const ProbeReport report = ProbeLibrary(DisplayName(n), form1::Settings.SubVersionType, loader);
  VersionCell(n).SetText(Widen(report.text, CP_ACP));
  SetVersionHint(n, HintText(report, DisplayName(n)));
}

void TForm1::SetVersionHint(int n, std::wstring hint) {
  VersionHints[n - 1] = std::move(hint);
  // Until the tooltips exist, they take the text when they are created.
  if (Tooltip == nullptr) return;
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.hwnd = Handle();
  tool.uId = reinterpret_cast<UINT_PTR>(VersionCell(n).Handle());
  tool.lpszText = VersionHints[n - 1].data();
  SendMessageW(Tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void TForm1::CopyTable() const {
  std::wstring table;
  for (int n = 1; n <= form1::RowCount; ++n) {
    const int i = n - 1;
    table += TableLine(WindowText(NameCells[i].Handle()), WindowText(VersionCells[i].Handle()),
                       VersionHints[i]);
  }
  GlobalOwner memory = GlobalText(table);
  const OpenedClipboard clipboard(Handle());
  if (!memory || !clipboard.IsOpen() || !EmptyClipboard()) return;
  // The clipboard owns the memory once it has taken it.
  if (SetClipboardData(CF_UNICODETEXT, memory.get()) != nullptr)
    static_cast<void>(memory.release());
}

// Shift with the right button toggles the picture strip, whichever button
// was pressed.
void TForm1::SpeedButton2MouseDown(MouseButton /*button*/, ShiftState shift, int /*x*/, int /*y*/) {
  if ((shift & MK_SHIFT) == 0 || (shift & MK_RBUTTON) == 0) return;
  const int listHeight = HeightsFor(form1::RowCount).form;
  if (form1::Settings.PictureFlag == "False") {
    EraseBottomEdge();
    SetHeight(listHeight + kPictureStripHeight);
    PaintNow();
    form1::Settings.PictureFlag = "True";
    form1::PictureChanged = 1;
  } else {
    SetHeight(listHeight);
    PaintNow();
    form1::Settings.PictureFlag = "False";
    form1::PictureChanged = 0;
  }
}

// A move with the left button held hands the window to the platform's own
// move loop, which follows the pointer until the button is released.
void TForm1::PanelTitleMouseMove(ShiftState shift, int /*x*/, int /*y*/) {
  if ((shift & MK_LBUTTON) == 0) return;
  ReleaseCapture();
  SendMessageW(Handle(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

void TForm1::ShowPictureAtShow() {
  if (!PictureShown()) return;
  EraseBottomEdge();
  SetHeight(HeightsFor(form1::RowCount).form + kPictureStripHeight);
  PaintNow();
}

// Paints over the frame's bottom lines, which would otherwise stay inside the
// window when it grows.
void TForm1::EraseBottomEdge() const {
  const WindowDc canvas(Handle());
  const RECT bounds = ScreenBounds();
  const int w = bounds.right - bounds.left;
  const int h = bounds.bottom - bounds.top;
  DrawStrokes(canvas.get(), COLOR_BTNFACE, {{0, h - 2}, {w, h - 2}});
  DrawStrokes(canvas.get(), COLOR_BTNFACE, {{0, h - 1}, {w, h - 1}});
}

void TForm1::PaintNow() {
  const WindowDc canvas(Handle());
  FormPaint(canvas.get());
}

// The window has no border, so its client area starts at its top-left corner.
int TForm1::PictureTop() const {
  return Panel0.ScreenBounds().bottom - ScreenBounds().top + kPictureGap;
}

bool TForm1::CreateControls() {
  const HFONT regular = RegularFont.get();
  const HFONT bold = BoldFont.get();
  bool created =
      SpeedButton1.Create(Handle(), kSpeedButton1Id, kSpeedButton1Bounds, kCloseCaption, bold) &&
      SpeedButton2.Create(Handle(), kSpeedButton2Id, kSpeedButton2Bounds, kRefreshCaption, bold) &&
      PanelTitle.Create(Handle(), kPanelTitleId, kPanelTitleBounds, kTitleText, kTitleLook,
                        regular) &&
      Panel0.Create(Handle(), kPanel0Id, kPanel0Bounds, "", kListLook, regular) &&
      Panel31.Create(Panel0.Handle(), kPanel31Id, NameCellBounds(kHeaderTop), kNameHeader,
                     kCellLook, bold) &&
      Panel32.Create(Panel0.Handle(), kPanel32Id, VersionCellBounds(kHeaderTop), kVersionHeader,
                     kCellLook, bold);
  for (int n = 1; created && n <= kMaxRows; ++n) {
    created = NameCell(n).Create(Panel0.Handle(), NameCellId(n), NameCellBounds(RowTop(n)), "",
                                 kCellLook, regular) &&
              VersionCell(n).Create(Panel0.Handle(), VersionCellId(n), VersionCellBounds(RowTop(n)),
                                    "", kCellLook, regular);
  }
  if (!created) return false;

  SpeedButton1.OnClick = [this] { SpeedButton1Click(); };
  SpeedButton2.OnClick = [this] { SpeedButton2Click(); };
  SpeedButton2.OnMouseDown = [this](MouseButton button, ShiftState shift, int x, int y) {
    SpeedButton2MouseDown(button, shift, x, y);
  };
  PanelTitle.OnMouseMove = [this](ShiftState shift, int x, int y) {
    PanelTitleMouseMove(shift, x, y);
  };
  return true;
}

void TForm1::CreateTooltips() {
  if (!LoadCommonControls()) return;
  // Owned by the main window, so destroyed with it.
  Tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                            WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, Handle(), nullptr, Instance(), nullptr);
  if (Tooltip == nullptr) return;
  // The hints are Japanese: show them in the window's own font.
  SendMessageW(Tooltip, WM_SETFONT, reinterpret_cast<WPARAM>(RegularFont.get()), FALSE);
  AddTooltip(SpeedButton1.Handle(), Widen(kCloseHint, 932));
  AddTooltip(SpeedButton2.Handle(), Widen(kRefreshHint, 932));
  AddTooltip(PanelTitle.Handle(), Widen(kTitleHint, 932));
  // The texts of the probes so far; each later probe updates its own.
  for (int n = 1; n <= kMaxRows; ++n) AddTooltip(VersionCell(n).Handle(), VersionHints[n - 1]);
}

void TForm1::AddTooltip(HWND control, std::wstring text) const {
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = Handle();
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = text.data();
  SendMessageW(Tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void TForm1::PlaceWindow() const {
  const Settings& settings = form1::Settings;
  if (settings.WindowTop < 0 && settings.WindowLeft < 0) {
    const RECT bounds = ScreenBounds();
    const Position centre =
        CentredPosition(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                        bounds.right - bounds.left, bounds.bottom - bounds.top);
    MoveTo(centre.left, centre.top);
  } else {
    MoveTo(settings.WindowLeft, settings.WindowTop);
  }
}

}  // namespace dorvint
