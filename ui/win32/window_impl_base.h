#pragma once
// WindowImplBase: a top-level window built from a skin file. Derive from it, name the window class,
// the skin folder and file, and override the operations you need:
//   InitWindow            after the tree is built (controls can be looked up)
//   Notify                every notification of the window's controls (the only way control events
//                         arrive); the base routes "click" to OnClick, "selectchanged" to
//                         OnSelectChanged, "itemselect" to OnItemSelect and "timer" to OnTimer (call
//                         it for what you do not consume). Handle each notification type in one
//                         place: "click" in OnClick, never in Notify too.
//   OnMessage             every window message (see below); IsDialogKey tells Escape and Enter
//                         meant for the window (no combo list open)
//   OnFinalMessage        after the window is gone
// Windows are borderless: the skin paints everything; the caption band drags the window.
// Display scale: the skin, the control tree and its notifications are in logical (96-DPI) units;
// the window itself (its size, position and client pixels, the Win32 messages) is in device
// pixels of the monitor it stands on. The base converts at the edge (GetScale), makes fonts for the
// DPI, and on WM_DPICHANGED (the window moved to a monitor of another scale, or the scale changed)
// takes the system's suggested rectangle and draws everything again at the new scale.
// "windowinit" is sent once, after InitWindow, when the window's queue is next served.
//
// A window message is answered in one place, in two steps:
//   1 the window     OnMessage, as the most derived class has it (it calls its base class's for
//                    what it leaves). Every message but WM_CREATE comes here first, the frame's, the
//                    mouse's and the program's own (UM_…, registered ones) among them. A value is the
//                    message's result (a full LRESULT, so pointers and handles survive); nullopt
//                    passes the message on, also after the window only looked at it.
//   2 the base       DefaultMessage: the borderless frame (hit testing, the size limits, the
//                    client size), and the layer itself:
//                    "windowinit", painting, mouse and keyboard for the controls (these become
//                    notifications: "click", "itemselect", …), timers, tool tips and the combo
//                    list; whatever it leaves goes to DefWindowProcW. A window may call it itself
//                    to do something around the base's answer.
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/access_node.h"
#include "ui/dpi_scale.h"
#include "ui/skin_builder.h"
#include "ui/ui_manager.h"
#include "ui/win32/back_buffer.h"
#include "ui/win32/font_cache.h"
#include "ui/win32/high_contrast.h"

namespace tvui {

class DropDownWindow;

// A window message as the window procedure got it.
struct Message {
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

class WindowImplBase : public INotify, public UiHost {
 public:
  WindowImplBase();
  ~WindowImplBase() override;
  WindowImplBase(const WindowImplBase&) = delete;
  WindowImplBase& operator=(const WindowImplBase&) = delete;

  // Creates the window. A size of 0 (or CW_USEDEFAULT) takes the skin's size (scaled for the
  // window's DPI); other sizes and the position are device pixels.
  HWND Create(HWND parent, const wchar_t* name, DWORD style, DWORD exStyle, int x = CW_USEDEFAULT,
              int y = CW_USEDEFAULT, int cx = 0, int cy = 0);
  HWND GetHWND() const { return hwnd_; }
  // The object behind a window made by this class; nullptr for any other window.
  static WindowImplBase* FromHandle(HWND hwnd);
  operator HWND() const { return hwnd_; }
  void ShowWindow(bool show = true, bool takeFocus = true);
  // Posts WM_CLOSE with the result code kept for whoever asks (GetCloseCode).
  void Close(UINT code = IDOK);
  // Destroys the window and the windows it owns at once, for a window whose closing ends the
  // program: they leave the screen (an empty region, so what lies beneath is repainted) and are
  // destroyed without the hiding pass of a visible window, which under Wine waits up to 2 s per
  // window for a window manager to acknowledge the unmap.
  void DestroyAtOnce();
  UINT GetCloseCode() const { return closeCode_; }
  // Centres on the owner window, else on the work area of the window's monitor.
  void CenterWindow();
  // Moves and sizes the window (screen coordinates, device pixels; nothing happens when it already
  // stands so).
  // A new size reshapes the window's region in the same step and paints the window at once, so
  // no frame shows the old content at the new size.
  void PlaceWindow(int x, int y, int cx, int cy);
  // Draws the window once at another size (device pixels) into its back buffer, out of sight, and
  // lays it out at its own size again: the pictures for that size are decoded and composed, and the
  // back buffer grown, before the window first takes it. dress(true) sets up what differs at that
  // size and dress(false) puts it back. Nothing changes on the screen and nothing is left to repaint.
  void PrepareSize(int cx, int cy, const std::function<void(bool)>& dress);
  // Moves and sizes the window to a rectangle worked out for the monitor it goes to (device
  // pixels, at that monitor's scale): when it crosses to a monitor of another scale, the system's
  // suggestion, which would scale the size once more, is not taken.
  void MoveWindowTo(int x, int y, int cx, int cy);
  // Sets the big and small icon from an icon resource of the module.
  void SetIcon(UINT resourceId);
  BOOL PostMessageW(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  LRESULT SendMessageW(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

  // Content.
  UiManager& GetManager() { return manager_; }
  Control* GetRoot() const { return manager_.GetRoot(); }
  Control* FindControl(std::u16string_view name) const { return manager_.FindControl(name); }
  // pt in client coordinates (device pixels, as Windows gives them).
  Control* FindControl(POINT pt) const { return manager_.FindControl(scale_.ToLogical(Point{pt.x, pt.y})); }
  // The window's display scale (logical units <-> device pixels); 96 DPI before Create.
  const Scale& GetScale() const { return scale_; }
  template <class T>
  T* FindControlAs(std::u16string_view name) const {
    return dynamic_cast<T*>(FindControl(name));
  }
  // The window's GDI font for a skin font id (-1: the default) at its current scale; owned by the
  // window.
  HFONT GetFont(int id) { return fonts_.Get(id); }
  // A new control subtree from an item template of this window's skin folder ("day.xml");
  // nullptr (and a logged reason) when the file is missing or malformed.
  std::unique_ptr<Control> CreateItem(std::u16string_view file);
  // Why the skin file could not be built (empty when it was).
  const std::u16string& GetSkinError() const { return skinError_; }
  const std::vector<std::u16string>& GetSkinWarnings() const { return skinWarnings_; }
  // The resolved skin folder (absolute).
  std::u16string GetSkinPath();

  // Window timers: each tick sends "timer" (wParam = id, sender = the root) and reaches OnTimer.
  bool SetTimer(UINT id, UINT periodMs);
  bool KillTimer(UINT id);

  // Lays out and paints what changed, now (as UpdateWindow, with the changes not yet handed to the
  // system included).
  void UpdateNow();

  // Paints the whole client area into a bitmap (device pixels) and saves it as PNG.
  bool SaveClientPng(const std::u16string& path);
  // The open combo drop-down window, if any.
  HWND GetDropDownWindow() const;
  // The tool tip shown for the control under the pointer: whether one is up, and hiding it.
  bool IsToolTipShown() const { return tooltipFor_ != nullptr; }
  void HideToolTip() { UpdateToolTip(false); }

  // Keyboard (window_keyboard.cpp). Tab and Shift+Tab walk the tab stops, Enter and Space
  // activate the focused control (Enter, else the default control), Alt+Down and F4 open a focused combo's list and the arrows choose
  // its items while it is closed (elsewhere they walk the stops, Down and Right forwards); keys a
  // window's OnKeyDown leaves come here.
  // Gives the keyboard focus to a control; fromKeyboard shows its focus mark.
  void SetKeyboardFocus(Control* control, bool fromKeyboard);
  Control* GetKeyboardFocus() const { return manager_.Focus().Current(); }
  bool IsFocusMarkShown() const { return manager_.Focus().MarkShown(); }
  // The tab stops in Tab order: by default every shown, enabled control that takes clicks, in
  // the tree's order (a combo's items not counted).
  virtual std::vector<Control*> GetTabStops();
  // What Enter does when the focus is on no control that takes it (none, hidden or disabled):
  // the window's default button, as in a dialog; nullptr for none.
  virtual Control* GetDefaultControl() { return nullptr; }
  // After a pop-up went away by key: the focus back to its owner when that is on show.
  void ReturnFocusToOwner();
  // The focus went to another control (by key, click or SetKeyboardFocus).
  virtual void OnKeyboardFocusMoved(Control* control) { (void)control; }

  // Screen readers (window_access.cpp; the objects in accessible_window.cpp). The window as a
  // tree of named parts: by default a dialog named by the first text of the skin's "title" band
  // (else by the window's title) holding DescribeControls' nodes.
  virtual AccessNode DescribeForAccess();
  // A reader's default action on a control, done from the window's queue when it is still there.
  void ActivateForAccess(const Control* control);
  // Tells the readers about a node (EVENT_OBJECT_FOCUS, EVENT_OBJECT_SELECTION, …); id 0 is the
  // window itself.
  void RaiseAccessEvent(DWORD event, int nodeId);

  // The system's high-contrast mode (read at creation and at every WM_SETTINGCHANGE): the window
  // is then drawn in the system's colours without the skin's pictures.
  bool IsHighContrast() const { return palette_.on; }
  // The mode was switched on or off (everything is drawn again after it).
  virtual void OnHighContrastChanged() {}

  // Overridables.
  virtual const wchar_t* GetWindowClassName() const = 0;
  virtual std::u16string GetSkinFolder() = 0;
  // An empty file name gives an empty tree (a Container) to fill in InitWindow.
  virtual std::u16string GetSkinFile() = 0;
  virtual void InitWindow() {}
  virtual void OnFinalMessage(HWND hwnd) { (void)hwnd; }
  void Notify(Notification& msg) override;
  virtual void OnClick(Notification& msg) { (void)msg; }
  virtual void OnSelectChanged(Notification& msg) { (void)msg; }
  virtual void OnItemSelect(Notification& msg) { (void)msg; }
  virtual void OnTimer(Notification& msg) { (void)msg; }
  // The window's scale changed (the display's scale, or a move by the user to a monitor of another
  // scale) and everything has been laid out and drawn for it; not called for MoveWindowTo's and
  // PlaceWindow's own moves.
  virtual void OnDpiChanged() {}
  // A window message, answered first by the window (nullopt: not answered) and then by the base's
  // DefaultMessage. The base class's own OnMessage answers nothing.
  virtual std::optional<LRESULT> OnMessage(const Message& message);
  LRESULT DefaultMessage(const Message& message);
  // The message is a press of `key` (Escape or Enter, a dialog's keys) with no combo list open (an
  // open list takes them itself).
  bool IsDialogKey(const Message& message, WPARAM key) const;

  // UiHost.
  void InvalidateRect(const Rect& rect) override;
  void LayoutNeeded() override;
  bool StartTimer(unsigned hostId, unsigned periodMs) override;
  void StopTimer(unsigned hostId) override;
  void ShowDropDown(Combo* combo) override;

  // The message the window posts to itself to send "windowinit".
  static UINT WindowInitMessage();
  // The message the window posts to itself to lay out after a change.
  static UINT LayoutMessage();

 private:
  // The window class and procedure (window_impl_base.cpp).
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(const Message& message);
  bool RegisterWindowClass();
  // WM_CREATE: the borderless style, the skin's tree, the scale, the skin's size and region.
  void OnCreateWindow(const CREATESTRUCTW& cs);
  // WM_NCHITTEST: the caption band (where no control takes clicks) drags the window.
  LRESULT HitTest(LPARAM lParam);
  void BuildSkin();
  // The library's own handling (paint, mouse, timers, tooltips; window_messages.cpp); true when
  // handled.
  bool HandleLibraryMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // The back buffer (window_paint.cpp).
  void Paint(HDC target, const RECT& area);
  // Lays out and paints the clip (cut to the client) into the back buffer; false when nothing was.
  bool Render(Rect& clip);
  bool EnsureBackBuffer(int cx, int cy);
  // Place, size, region and scale (window_placement.cpp).
  // Sets the window's region for a client of cx x cy (once per size).
  void UpdateRegion(int cx, int cy, bool redraw = true);
  // WM_SIZE: the client's new size (device pixels) for the model and the region.
  void SetClientSize(int cx, int cy);
  // WM_GETMINMAXINFO: the skin's smallest and largest size at the window's scale.
  void LimitTrackSize(MINMAXINFO& mmi) const;
  // WM_DPICHANGED: the new DPI and the system's suggested rectangle.
  void ChangeDpi(int dpi, const RECT& suggested);
  // The tool tip (window_tooltip.cpp).
  void UpdateToolTip(bool show);
  void DestroyToolTip();
  // The library's keys (after the window's own handlers); true when one was used.
  bool HandleLibraryKey(UINT message, WPARAM key);
  void InvalidateFocusMark();
  void StepKeyboardFocus(bool backwards);
  bool HandleAccessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  const Control* accessAction_ = nullptr;
  SystemPalette palette_;  // waiting for the window's queue
  void PaintFocusMark(class Renderer& renderer);
  // A client point of a mouse message, in logical units.
  Point ClientPoint(LPARAM lParam) const;
  // Takes a DPI: fonts, the region and every picture follow it.
  void SetDpi(int dpi);
  // The client size in device pixels; the model gets the logical size that covers it.
  void SetClientPixels(Size pixels);
  // SetWindowPos to a rectangle the caller made for the destination monitor.
  void SetPlacement(int x, int y, int cx, int cy, UINT flags);

  HWND hwnd_ = nullptr;
  UINT closeCode_ = 0;
  UiManager manager_;
  std::unique_ptr<SkinBuilder> builder_;
  std::u16string skinError_;
  std::vector<std::u16string> skinWarnings_;
  FontCache fonts_;
  Scale scale_;
  Size clientPx_;  // the client area in device pixels
  BackBuffer back_;
  Size regionSize_;  // the size the window's region was made for
  bool trackingMouse_ = false;
  HWND tooltip_ = nullptr;
  Control* tooltipFor_ = nullptr;
  std::unique_ptr<DropDownWindow> dropDown_;
  bool sentInit_ = false;
  bool layoutPosted_ = false;
  Rect pendingDirty_;  // invalidated places not yet handed to the system
  void FlushInvalidation();
  int messageDepth_ = 0;
  bool releasing_ = false;
  bool finalPending_ = false;
  bool placing_ = false;  // inside SetPlacement
};

}  // namespace tvui
