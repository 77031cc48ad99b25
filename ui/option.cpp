#include "ui/option.h"

#include "ui/attribute_values.h"
#include "ui/container.h"
#include "ui/ui_manager.h"

namespace tvui {

namespace {

void CollectOptions(Control* c, std::vector<Option*>& out) {
  if (auto* o = dynamic_cast<Option*>(c)) out.push_back(o);
  if (Container* box = c->AsContainer()) {
    for (int i = 0; i < box->GetCount(); ++i) CollectOptions(box->GetItemAt(i), out);
  }
}

}  // namespace

bool Option::SetAttribute(std::u16string_view name, std::u16string_view value) {
  if (EqualsNoCase(name, u"group")) { group_ = std::u16string(value); return true; }
  if (EqualsNoCase(name, u"selected")) return ParseBool(value, selected_);
  if (EqualsNoCase(name, u"selectedimage")) { selectedImage_ = std::u16string(value); return true; }
  if (EqualsNoCase(name, u"selectedhotimage")) { selectedHotImage_ = std::u16string(value); return true; }
  if (EqualsNoCase(name, u"selectedtextcolor")) return ParseColor(value, selectedTextColor_);
  if (EqualsNoCase(name, u"selectedbkcolor")) return ParseColor(value, selectedBkColor_);
  return Button::SetAttribute(name, value);
}

std::vector<Option*> Option::GroupMates() {
  std::vector<Option*> all;
  Control* root = this;
  if (GetManager() && GetManager()->GetRoot()) {
    root = GetManager()->GetRoot();
  } else {
    while (root->GetParent()) root = root->GetParent();
  }
  CollectOptions(root, all);
  std::vector<Option*> mates;
  for (Option* o : all) {
    if (o != this && EqualsNoCase(o->group_, group_)) mates.push_back(o);
  }
  return mates;
}

void Option::SetGroup(std::u16string group) {
  group_ = std::move(group);
  if (selected_ && !group_.empty()) {
    for (Option* o : GroupMates()) {
      if (o->selected_) o->Selected(false, false);
    }
  }
}

void Option::Selected(bool selected, bool notify) {
  if (selected == selected_) return;
  UiManager::DispatchScope scope(GetManager());
  selected_ = selected;
  std::vector<Option*> cleared;
  if (selected && !group_.empty()) {
    for (Option* o : GroupMates()) {
      if (o->selected_) {
        o->selected_ = false;
        o->Invalidate();
        cleared.push_back(o);
      }
    }
  }
  Invalidate();
  if (!notify) return;
  UiManager* manager = GetManager();
  if (!manager) return;
  for (Option* o : cleared) {
    // A handler may have removed o meanwhile; only notify controls still in the window.
    if (manager->Contains(o)) manager->SendNotify(o, NotifyType::kSelectChanged);
  }
  if (manager->Contains(this)) manager->SendNotify(this, NotifyType::kSelectChanged);
}

void Option::SetSelectedImage(std::u16string image) {
  selectedImage_ = std::move(image);
  Invalidate();
}

const std::u16string& Option::StateImage() const {
  if (selected_ && IsEnabled()) {
    if ((hot_ || pushed_) && !selectedHotImage_.empty()) return selectedHotImage_;
    if (!selectedImage_.empty()) return selectedImage_;
  }
  return Button::StateImage();
}

Color Option::StateTextColor() const {
  if (selected_ && IsEnabled() && selectedTextColor_) return selectedTextColor_;
  return Button::StateTextColor();
}

void Option::Activate() {
  UiManager* manager = GetManager();
  UiManager::DispatchScope scope(manager);
  if (group_.empty()) Selected(!selected_);
  else Selected(true);
  if (manager && manager->Contains(this)) manager->SendNotify(this, NotifyType::kClick);
}

}  // namespace tvui
