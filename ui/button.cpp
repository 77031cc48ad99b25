#include "ui/button.h"

#include "ui/attribute_values.h"

namespace tvui {

const std::u16string& StateImages::For(bool enabled, bool isHot, bool isPushed) const {
  if (!enabled) return disabled.empty() ? normal : disabled;
  if (isPushed && !pushed.empty()) return pushed;
  if ((isPushed || isHot) && !hot.empty()) return hot;
  return normal;
}

bool StateImages::SetAttribute(std::u16string_view name, std::u16string_view value) {
  if (EqualsNoCase(name, u"normalimage")) normal = std::u16string(value);
  else if (EqualsNoCase(name, u"hotimage")) hot = std::u16string(value);
  else if (EqualsNoCase(name, u"pushedimage")) pushed = std::u16string(value);
  else if (EqualsNoCase(name, u"disabledimage")) disabled = std::u16string(value);
  else return false;
  return true;
}

Button::Button() { SetAttribute(u"align", u"center"); }

bool Button::SetAttribute(std::u16string_view name, std::u16string_view value) {
  if (images_.SetAttribute(name, value)) return true;
  if (EqualsNoCase(name, u"hottextcolor")) return ParseColor(value, hotTextColor_);
  if (EqualsNoCase(name, u"pushedtextcolor")) return ParseColor(value, pushedTextColor_);
  if (EqualsNoCase(name, u"hotbkcolor")) return ParseColor(value, hotBkColor_);
  return Label::SetAttribute(name, value);
}

void Button::SetNormalImage(std::u16string image) {
  if (image == images_.normal) return;
  images_.normal = std::move(image);
  Invalidate();
}
void Button::SetHotImage(std::u16string image) {
  images_.hot = std::move(image);
  Invalidate();
}
void Button::SetPushedImage(std::u16string image) {
  images_.pushed = std::move(image);
  Invalidate();
}
void Button::SetDisabledImage(std::u16string image) {
  images_.disabled = std::move(image);
  Invalidate();
}

const std::u16string& Button::StateImage() const {
  return images_.For(IsEnabled(), hot_, pushed_);
}

Color Button::StateTextColor() const {
  if (IsEnabled()) {
    if (pushed_ && pushedTextColor_) return pushedTextColor_;
    if ((hot_ || pushed_) && hotTextColor_) return hotTextColor_;
  }
  return Label::StateTextColor();
}

void Button::Activate() { Notify(NotifyType::kClick); }

}  // namespace tvui
