#include "ui/list.h"

#include "ui/attribute_values.h"
#include "ui/combo.h"
#include "ui/ui_manager.h"

namespace tvui {

bool ListItemStyle::SetAttribute(std::u16string_view name, std::u16string_view value) {
  auto is = [&](std::u16string_view n) { return EqualsNoCase(name, n); };
  if (is(u"itemfont")) return ParseInt(value, font);
  if (is(u"itemtextcolor")) return ParseColor(value, textColor);
  if (is(u"itembkcolor")) return ParseColor(value, bkColor);
  if (is(u"itemhotbkcolor")) return ParseColor(value, hotBkColor);
  if (is(u"itemhottextcolor")) return ParseColor(value, hotTextColor);
  if (is(u"itemselectedbkcolor")) return ParseColor(value, selectedBkColor);
  if (is(u"itemselectedtextcolor")) return ParseColor(value, selectedTextColor);
  if (is(u"itemheight")) return ParseInt(value, itemHeight);
  return false;
}

ItemOwner* OwnerOf(const Control* item) {
  if (!item) return nullptr;
  Container* parent = item->GetParent();
  if (!parent) return nullptr;
  if (auto* list = dynamic_cast<List*>(parent)) return list;
  if (auto* combo = dynamic_cast<Combo*>(parent)) return combo;
  return nullptr;
}

namespace {

int IndexIn(const Control* item) {
  return item->GetParent() ? item->GetParent()->GetItemIndex(item) : -1;
}

bool ItemSelected(const Control* item) {
  ItemOwner* owner = OwnerOf(item);
  return owner && owner->GetCurSel() == IndexIn(item) && IndexIn(item) >= 0;
}

void ClickItem(Control* item) {
  ItemOwner* owner = OwnerOf(item);
  if (owner) owner->ItemClicked(IndexIn(item));
}

}  // namespace

bool ListLabelElement::SetAttribute(std::u16string_view name, std::u16string_view value) {
  bool on = false;
  if (EqualsNoCase(name, u"selected")) return ParseBool(value, on);
  return Label::SetAttribute(name, value);
}

bool ListLabelElement::IsSelected() const { return ItemSelected(this); }
void ListLabelElement::Activate() { ClickItem(this); }

bool ListContainerElement::IsSelected() const { return ItemSelected(this); }
void ListContainerElement::Activate() { ClickItem(this); }

Control* ListContainerElement::FindAt(Point p) {
  Control* hit = HorizontalLayout::FindAt(p);
  if (hit && hit != this && !hit->TakesClicks()) return IsMouseEnabled() ? this : hit;
  return hit;
}

bool List::SetAttribute(std::u16string_view name, std::u16string_view value) {
  if (style_.SetAttribute(name, value)) return true;
  return VerticalLayout::SetAttribute(name, value);
}

bool ItemOwner::SelectItem(int index, bool notify) {
  if (index < 0 || index >= items_.GetCount()) return false;
  if (index == curSel_) return true;
  int old = curSel_;
  curSel_ = index;
  items_.Invalidate();
  if (notify) items_.Notify(NotifyType::kItemSelect, static_cast<std::uintptr_t>(index), old);
  return true;
}

void ItemOwner::ItemClicked(int index) {
  if (index < 0 || index >= items_.GetCount()) return;
  UiManager* manager = items_.GetManager();
  UiManager::DispatchScope scope(manager);
  items_.Notify(NotifyType::kItemClick, static_cast<std::uintptr_t>(index));
  if (!manager || manager->Contains(&items_)) SelectItem(index, true);
}

void ItemOwner::ItemRemoving(int index) {
  if (index == curSel_) curSel_ = -1;
  else if (index < curSel_) --curSel_;
}

bool List::Remove(Control* child) {
  int index = GetItemIndex(child);
  if (index < 0) return false;
  ItemRemoving(index);
  return VerticalLayout::Remove(child);
}

void List::RemoveAll() {
  VerticalLayout::RemoveAll();
  ItemsCleared();
}

}  // namespace tvui
