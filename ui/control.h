#pragma once
// Control: the base of every element of a skin's control tree. Holds identity, layout attributes,
// appearance attributes and the mouse state the UiManager drives; it draws nothing itself (the
// Windows edge paints from these properties).
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/geometry.h"
#include "ui/notification.h"

namespace tvui {

class UiManager;
class Container;

enum class HAlign { kLeft, kCenter, kRight };
enum class VAlign { kTop, kCenter, kBottom };
enum class Cursor { kArrow, kHand };

class Control {
 public:
  Control();
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  // Element name as written in skin files ("Label", "Button", …).
  virtual std::u16string_view GetClass() const { return u"Control"; }
  virtual Container* AsContainer() { return nullptr; }
  // Controls that act on a click (buttons, options, combos, list items). Inside a window's caption
  // band these keep the mouse instead of dragging the window.
  virtual bool TakesClicks() const { return false; }

  // Applies one skin attribute. Returns false for an unknown name or a malformed value.
  virtual bool SetAttribute(std::u16string_view name, std::u16string_view value);

  // Identity and data.
  const std::u16string& GetName() const { return name_; }
  void SetName(std::u16string name) { name_ = std::move(name); }
  const std::u16string& GetText() const { return text_; }
  virtual void SetText(std::u16string text);
  const std::u16string& GetToolTip() const { return tooltip_; }
  void SetToolTip(std::u16string text) { tooltip_ = std::move(text); }
  const std::u16string& GetUserData() const { return userdata_; }
  void SetUserData(std::u16string data) { userdata_ = std::move(data); }
  std::intptr_t GetTag() const { return tag_; }
  void SetTag(std::intptr_t tag) { tag_ = tag; }

  // Layout attributes.
  int GetFixedWidth() const { return fixedWidth_; }   // 0 = stretch
  int GetFixedHeight() const { return fixedHeight_; } // 0 = stretch
  void SetFixedWidth(int cx);
  void SetFixedHeight(int cy);
  int GetMinWidth() const { return minWidth_; }
  int GetMaxWidth() const { return maxWidth_; }
  int GetMinHeight() const { return minHeight_; }
  int GetMaxHeight() const { return maxHeight_; }
  const Rect& GetPadding() const { return padding_; }
  void SetPadding(const Rect& padding);
  bool IsFloat() const { return float_; }
  void SetFloat(bool on);
  const Rect& GetFloatPos() const { return floatPos_; }
  // Sets the position: for a floating control, l,t,r,b relative to the parent; otherwise only the
  // width and height count (as fixed sizes). Relayouts.
  void SetPos(const Rect& pos);

  // Current layout rectangle in client coordinates.
  const Rect& GetPos() const { return rect_; }
  // Places the control (called by its parent's layout); containers lay out their children.
  virtual void DoLayout(const Rect& rect);

  bool IsVisible() const { return visible_; }
  // Visible and every ancestor visible.
  bool IsShown() const;
  void SetVisible(bool visible);
  bool IsEnabled() const { return enabled_; }
  virtual void SetEnabled(bool enabled);
  bool IsMouseEnabled() const { return mouse_; }
  void SetMouseEnabled(bool on) { mouse_ = on; }
  Cursor GetCursor() const { return cursor_; }
  void SetCursor(Cursor c) { cursor_ = c; }

  // Appearance.
  Color GetBkColor() const { return bkColor_; }
  void SetBkColor(Color c);
  Color GetBkColor2() const { return bkColor2_; }
  Color GetBorderColor() const { return borderColor_; }
  int GetBorderSize() const { return borderSize_; }
  Size GetBorderRound() const { return borderRound_; }
  const std::u16string& GetBkImage() const { return bkImage_; }
  void SetBkImage(std::u16string image);
  const std::u16string& GetForeImage() const { return foreImage_; }
  void SetForeImage(std::u16string image);
  Color GetTextColor() const { return textColor_; }  // 0 with no textcolor attribute: the window's default
  void SetTextColor(Color c);
  bool HasTextColor() const { return hasTextColor_; }
  Color GetDisabledTextColor() const { return disabledTextColor_; }
  int GetFont() const { return font_; }  // -1 = the window's default font
  void SetFont(int id);
  HAlign GetAlign() const { return align_; }
  VAlign GetVAlign() const { return valign_; }
  bool IsEndEllipsis() const { return endEllipsis_; }
  bool IsWordBreak() const { return wordBreak_; }
  const Rect& GetTextPadding() const { return textPadding_; }

  // State the edge paints: which state image and text colour apply now.
  virtual const std::u16string& StateImage() const;
  virtual Color StateTextColor() const;
  bool IsHot() const { return hot_; }
  bool IsPushed() const { return pushed_; }

  // Mouse state machine hooks (driven by UiManager).
  virtual void OnMouseEnter();
  virtual void OnMouseLeave();
  virtual void OnPress();
  virtual void OnRelease();
  // A press and release inside the control. Default: nothing.
  virtual void Activate() {}


  // Tree.
  Container* GetParent() const { return parent_; }
  UiManager* GetManager() const { return manager_; }
  // Attaches this control (and its subtree) to a manager; nullptr detaches.
  virtual void SetManager(UiManager* manager, Container* parent);

  // Finds this control or a descendant by name (ASCII case-insensitive).
  virtual Control* FindByName(std::u16string_view name);
  // Deepest shown, mouse-enabled control at the point; nullptr outside.
  virtual Control* FindAt(Point p);

  // Repaint this control's rectangle / relayout the window.
  void Invalidate();
  void NeedUpdate();
  // Relayouts the parent (size or visibility changed).
  void NeedParentUpdate();

 protected:
  friend class ItemOwner;  // sends the item notifications of lists and combos
  void Notify(NotifyType type, std::uintptr_t wParam = 0, std::intptr_t lParam = 0);

  Rect rect_;
  bool hot_ = false;
  bool pushed_ = false;

 private:
  std::u16string name_;
  std::u16string text_;
  std::u16string tooltip_;
  std::u16string userdata_;
  std::intptr_t tag_ = 0;

  int fixedWidth_ = 0;
  int fixedHeight_ = 0;
  int minWidth_ = 0;
  int maxWidth_ = 100000;
  int minHeight_ = 0;
  int maxHeight_ = 100000;
  Rect padding_;
  bool float_ = false;
  Rect floatPos_;
  bool visible_ = true;
  bool enabled_ = true;
  bool mouse_ = true;
  Cursor cursor_ = Cursor::kArrow;

  Color bkColor_ = 0;
  Color bkColor2_ = 0;
  Color borderColor_ = 0;
  int borderSize_ = 0;
  Size borderRound_;
  std::u16string bkImage_;
  std::u16string foreImage_;
  Color textColor_ = 0;
  bool hasTextColor_ = false;
  Color disabledTextColor_ = 0xFFA7A6AA;
  int font_ = -1;
  HAlign align_ = HAlign::kLeft;
  VAlign valign_ = VAlign::kCenter;
  bool endEllipsis_ = false;
  bool wordBreak_ = false;
  Rect textPadding_;

  Container* parent_ = nullptr;
  UiManager* manager_ = nullptr;
};

}  // namespace tvui
