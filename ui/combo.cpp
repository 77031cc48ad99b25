#include "ui/combo.h"

#include "ui/attribute_values.h"
#include "ui/ui_manager.h"

namespace tvui {

Combo::Combo() : ItemOwner(static_cast<Container&>(*this)) { SetAttribute(u"textpadding", u"6,0,20,0"); }

bool Combo::SetAttribute(std::u16string_view name, std::u16string_view value) {
  if (images_.SetAttribute(name, value)) return true;
  if (style_.SetAttribute(name, value)) return true;
  if (EqualsNoCase(name, u"dropboxsize")) return ParseSize(value, dropBoxSize_);
  if (EqualsNoCase(name, u"childpadding")) return Container::SetAttribute(name, value);
  return Container::SetAttribute(name, value);
}

ListLabelElement* Combo::AddItem(std::u16string text) {
  auto item = std::make_unique<ListLabelElement>();
  item->SetText(std::move(text));
  return static_cast<ListLabelElement*>(Add(std::move(item)));
}

std::u16string Combo::GetSelectedText() const {
  Control* item = GetItemAt(GetCurSel());
  return item ? item->GetText() : std::u16string();
}

void Combo::SetNormalImage(std::u16string image) {
  images_.normal = std::move(image);
  Invalidate();
}

const std::u16string& Combo::StateImage() const { return images_.For(IsEnabled(), hot_, pushed_); }

void Combo::DoLayout(const Rect& rect) {
  // Only the face; the items live in the drop-down window.
  Control::DoLayout(rect);
}

Control* Combo::FindAt(Point p) { return Control::FindAt(p); }

Control* Combo::FindByName(std::u16string_view name) { return Control::FindByName(name); }

void Combo::Activate() {
  if (GetManager()) GetManager()->OpenDropDown(this);
}

bool Combo::Remove(Control* child) {
  int index = GetItemIndex(child);
  if (index < 0) return false;
  ItemRemoving(index);
  Invalidate();
  return Container::Remove(child);
}

void Combo::RemoveAll() {
  Container::RemoveAll();
  ItemsCleared();
  Invalidate();
}

}  // namespace tvui
