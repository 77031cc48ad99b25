#pragma once
// The pop-up list of a combo box: its own top-most window under the combo (above it when there is no
// room below), with hover highlight, the current item marked, mouse-wheel scrolling and keyboard
// (Up/Down/Enter/Escape, forwarded by the owner, which keeps the focus). A click on an item closes
// the list and reports the item to the combo ("itemclick", then "itemselect"). A press anywhere
// else, or the owner losing the focus, closes it without a choice. It works in the owner's logical
// units and is drawn at the owner's scale.
#include <windows.h>

#include "ui/combo.h"
#include "ui/dpi_scale.h"

namespace tvui {

class FontCache;
class UiManager;

class DropDownWindow {
 public:
  static constexpr const wchar_t* kClassName = L"TvComboDropDown";
  DropDownWindow(UiManager& manager, FontCache& fonts, Combo* combo, HWND owner, Scale scale = Scale());
  ~DropDownWindow();
  DropDownWindow(const DropDownWindow&) = delete;
  DropDownWindow& operator=(const DropDownWindow&) = delete;

  bool IsOpen() const { return hwnd_ != nullptr; }
  HWND GetHWND() const { return hwnd_; }
  Combo* GetCombo() const { return combo_; }
  void Close();
  // In logical units.
  int ItemHeight() const { return itemHeight_; }
  int FirstVisible() const { return top_; }
  // Keys and wheel turns the owner forwards while the list is open.
  void Forward(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void Paint(HDC dc);
  int ItemAt(int y) const;
  void ScrollTo(int first);
  void Choose(int index);
  int VisibleCount() const;
  // The client area, in logical units.
  Rect ClientArea() const;
  Point LogicalPoint(LPARAM lParam) const;

  UiManager& manager_;
  FontCache& fonts_;
  Combo* combo_;
  HWND owner_;
  Scale scale_;
  HWND hwnd_ = nullptr;
  int itemHeight_ = 24;
  int top_ = 0;
  int hot_ = -1;
  bool tracking_ = false;
};

}  // namespace tvui
