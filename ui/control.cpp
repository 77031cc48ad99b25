#include "ui/control.h"

#include "ui/attribute_values.h"
#include "ui/container.h"
#include "ui/ui_manager.h"

namespace tvui {

namespace {
const std::u16string kNoImage;
}

Control::Control() = default;

Control::~Control() {
  if (manager_) manager_->ControlGone(this);
}

bool Control::SetAttribute(std::u16string_view name, std::u16string_view value) {
  auto is = [&](std::u16string_view n) { return EqualsNoCase(name, n); };
  if (is(u"name")) { name_ = std::u16string(value); return true; }
  if (is(u"text")) { text_ = std::u16string(value); return true; }
  if (is(u"tooltip")) { tooltip_ = std::u16string(value); return true; }
  if (is(u"userdata")) { userdata_ = std::u16string(value); return true; }
  if (is(u"tag")) {
    int t = 0;
    if (!ParseInt(value, t)) return false;
    tag_ = t;
    return true;
  }
  if (is(u"pos")) {
    Rect r;
    if (!ParseRect(value, r)) return false;
    floatPos_ = r;
    if (r.Width() > 0) fixedWidth_ = r.Width();
    if (r.Height() > 0) fixedHeight_ = r.Height();
    return true;
  }
  if (is(u"float")) return ParseBool(value, float_);
  auto intAttr = [&](int& target) {
    int v = 0;
    if (!ParseInt(value, v) || v < 0) return false;
    target = v;
    return true;
  };
  if (is(u"width")) return intAttr(fixedWidth_);
  if (is(u"height")) return intAttr(fixedHeight_);
  if (is(u"minwidth")) return intAttr(minWidth_);
  if (is(u"maxwidth")) return intAttr(maxWidth_);
  if (is(u"minheight")) return intAttr(minHeight_);
  if (is(u"maxheight")) return intAttr(maxHeight_);
  if (is(u"padding")) return ParseRect(value, padding_);
  if (is(u"visible")) return ParseBool(value, visible_);
  if (is(u"enabled")) return ParseBool(value, enabled_);
  if (is(u"mouse")) return ParseBool(value, mouse_);
  if (is(u"cursor")) {
    if (EqualsNoCase(value, u"hand")) cursor_ = Cursor::kHand;
    else if (EqualsNoCase(value, u"arrow")) cursor_ = Cursor::kArrow;
    else return false;
    return true;
  }
  if (is(u"bkcolor")) return ParseColor(value, bkColor_);
  if (is(u"bkcolor2")) return ParseColor(value, bkColor2_);
  if (is(u"bordercolor")) return ParseColor(value, borderColor_);
  if (is(u"bordersize")) return intAttr(borderSize_);
  if (is(u"borderround")) return ParseSize(value, borderRound_);
  if (is(u"bkimage")) { bkImage_ = std::u16string(value); return true; }
  if (is(u"foreimage")) { foreImage_ = std::u16string(value); return true; }
  if (is(u"textcolor")) {
    if (!ParseColor(value, textColor_)) return false;
    hasTextColor_ = true;
    return true;
  }
  if (is(u"disabledtextcolor")) return ParseColor(value, disabledTextColor_);
  if (is(u"font")) {
    int f = 0;
    if (!ParseInt(value, f)) return false;
    font_ = f;
    return true;
  }
  if (is(u"align")) {
    if (EqualsNoCase(value, u"left")) align_ = HAlign::kLeft;
    else if (EqualsNoCase(value, u"center")) align_ = HAlign::kCenter;
    else if (EqualsNoCase(value, u"right")) align_ = HAlign::kRight;
    else return false;
    return true;
  }
  if (is(u"valign")) {
    if (EqualsNoCase(value, u"top")) valign_ = VAlign::kTop;
    else if (EqualsNoCase(value, u"vcenter") || EqualsNoCase(value, u"center")) valign_ = VAlign::kCenter;
    else if (EqualsNoCase(value, u"bottom")) valign_ = VAlign::kBottom;
    else return false;
    return true;
  }
  if (is(u"endellipsis")) return ParseBool(value, endEllipsis_);
  if (is(u"wordbreak")) return ParseBool(value, wordBreak_);
  if (is(u"textpadding")) return ParseRect(value, textPadding_);
  return false;
}

void Control::SetText(std::u16string text) {
  if (text == text_) return;
  text_ = std::move(text);
  Invalidate();
}

void Control::SetFixedWidth(int cx) {
  if (cx < 0) cx = 0;
  if (cx == fixedWidth_) return;
  fixedWidth_ = cx;
  NeedParentUpdate();
}

void Control::SetFixedHeight(int cy) {
  if (cy < 0) cy = 0;
  if (cy == fixedHeight_) return;
  fixedHeight_ = cy;
  NeedParentUpdate();
}

void Control::SetPadding(const Rect& padding) {
  padding_ = padding;
  NeedParentUpdate();
}

void Control::SetFloat(bool on) {
  float_ = on;
  NeedParentUpdate();
}

void Control::SetPos(const Rect& pos) {
  floatPos_ = pos;
  fixedWidth_ = pos.Width() > 0 ? pos.Width() : 0;
  fixedHeight_ = pos.Height() > 0 ? pos.Height() : 0;
  NeedParentUpdate();
}

void Control::DoLayout(const Rect& rect) {
  if (manager_ && !(rect == rect_)) {
    manager_->Invalidate(rect_);
    manager_->Invalidate(rect);
  }
  rect_ = rect;
}

bool Control::IsShown() const {
  for (const Control* c = this; c; c = c->parent_) {
    if (!c->visible_) return false;
  }
  return true;
}

void Control::SetVisible(bool visible) {
  if (visible == visible_) return;
  Invalidate();  // where it stood (a shown control is laid out, which repaints it if it moves)
  visible_ = visible;
  if (!visible && manager_) manager_->ControlHidden(this);
  NeedParentUpdate();
}

void Control::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  if (!enabled) {
    hot_ = false;
    pushed_ = false;
  }
  Invalidate();
}

void Control::SetBkColor(Color c) {
  bkColor_ = c;
  Invalidate();
}

void Control::SetBkImage(std::u16string image) {
  if (image == bkImage_) return;
  bkImage_ = std::move(image);
  Invalidate();
}

void Control::SetForeImage(std::u16string image) {
  if (image == foreImage_) return;
  foreImage_ = std::move(image);
  Invalidate();
}

void Control::SetTextColor(Color c) {
  if (hasTextColor_ && c == textColor_) return;
  textColor_ = c;
  hasTextColor_ = true;
  Invalidate();
}

void Control::SetFont(int id) {
  font_ = id;
  Invalidate();
}

const std::u16string& Control::StateImage() const { return kNoImage; }

Color Control::StateTextColor() const {
  if (!enabled_) return disabledTextColor_;
  return textColor_;
}

void Control::OnMouseEnter() {
  hot_ = true;
  Invalidate();
}

void Control::OnMouseLeave() {
  hot_ = false;
  Invalidate();
}

void Control::OnPress() {
  pushed_ = true;
  Invalidate();
}

void Control::OnRelease() {
  pushed_ = false;
  Invalidate();
}

void Control::SetManager(UiManager* manager, Container* parent) {
  if (manager_ && manager_ != manager) manager_->ControlGone(this);
  manager_ = manager;
  parent_ = parent;
}

Control* Control::FindByName(std::u16string_view name) {
  return EqualsNoCase(name_, name) ? this : nullptr;
}

Control* Control::FindAt(Point p) {
  if (!visible_ || !mouse_ || !rect_.Contains(p)) return nullptr;
  return this;
}

void Control::Invalidate() {
  if (manager_) manager_->Invalidate(rect_);
}

void Control::NeedUpdate() {
  if (manager_) manager_->NeedUpdate();
}

void Control::NeedParentUpdate() {
  if (manager_) manager_->NeedUpdate();
}

void Control::Notify(NotifyType type, std::uintptr_t wParam, std::intptr_t lParam) {
  if (manager_) manager_->SendNotify(this, type, wParam, lParam);
}

}  // namespace tvui
