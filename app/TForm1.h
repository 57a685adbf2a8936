#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "Gdi_win.h"
#include "Layout.h"
#include "Panel_win.h"
#include "Probe.h"
#include "SpeedButton_win.h"
#include "Window_win.h"

namespace dorvint {

// The main window: a borderless window with a title strip, a close and a
// refresh button, and a table of archiver libraries with their versions.
class TForm1 final : public Window {
 public:
  TForm1() = default;

  // Creates the window, hidden, at its designed size and the platform's
  // initial placement.
  bool Create();

  // Fills the table and sizes and places the window; runs once, before the
  // window is first shown.
  void FormShow();

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  LRESULT OnCreate();
  void OnPaint();
  void OnClose();
  void OnLeftButtonDown();
  void OnLeftButtonUp();
  void OnActivate(WPARAM state);
  void OnKeyDown(WPARAM key);

  // Draws the picture strip when it is on, then the raised frame.
  void FormPaint(HDC canvas);
  // Saves what the settings file keeps across runs; a refused write raises
  // SettingsWriteError.
  void FormClose();
  void SpeedButton1Click();
  void SpeedButton2Click();
  void SpeedButton2MouseDown(MouseButton button, ShiftState shift, int x, int y);
  void PanelTitleMouseMove(ShiftState shift, int x, int y);

  // The picture strip.
  void ShowPictureAtShow();
  void EraseBottomEdge() const;
  // FormPaint on the window's own device context, outside WM_PAINT.
  void PaintNow();
  int PictureTop() const;

  // Probes row n into its version cell and the cell's tooltip.
  void ProbeRow(int n, LibraryLoader& loader);
  void SetVersionHint(int n, std::wstring hint);
  // Ctrl+C: the visible rows as tab-separated text on the clipboard.
  void CopyTable() const;

  bool CreateControls();
  void CreateTooltips();
  void AddTooltip(HWND control, std::wstring text) const;
  void PlaceWindow() const;
  Panel& NameCell(int n) { return NameCells[n - 1]; }
  Panel& VersionCell(int n) { return VersionCells[n - 1]; }

  // The picture flag as loaded, which decides whether switching the strip
  // off is saved at close.
  std::string PictureFlagAsRead;

  // The tooltip control, owned by the window and created after the first
  // paint, and the tooltip texts of the version cells.
  bool TooltipsAsked = false;
  HWND Tooltip = nullptr;
  std::array<std::wstring, kMaxRows> VersionHints;

  // Declared before the controls, which draw with them.
  Font RegularFont;
  Font BoldFont;

  Panel PanelTitle;
  SpeedButton SpeedButton1;
  SpeedButton SpeedButton2;
  Panel Panel0;
  Panel Panel31;
  Panel Panel32;
  std::array<Panel, kMaxRows> NameCells;     // Panel101 to Panel126
  std::array<Panel, kMaxRows> VersionCells;  // Panel1 to Panel26
};

}  // namespace dorvint
