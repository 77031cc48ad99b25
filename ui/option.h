#pragma once
// Option: a button with a selected state. Options sharing a group name (within one window) are
// exclusive: selecting one clears the others; clicking a selected grouped option keeps it selected.
// An option without a group toggles. Every change of state sends "selectchanged" to the option
// whose state changed, after the whole group is consistent.
#include "ui/button.h"

namespace tvui {

class Option : public Button {
 public:
  std::u16string_view GetClass() const override { return u"Option"; }
  bool SetAttribute(std::u16string_view name, std::u16string_view value) override;

  const std::u16string& GetGroup() const { return group_; }
  void SetGroup(std::u16string group);
  bool IsSelected() const { return selected_; }
  // Selects or clears; notify = false changes the state silently.
  void Selected(bool selected, bool notify = true);

  const std::u16string& GetSelectedImage() const { return selectedImage_; }
  void SetSelectedImage(std::u16string image);

  const std::u16string& StateImage() const override;
  Color StateTextColor() const override;
  Color GetSelectedBkColor() const { return selectedBkColor_; }
  void Activate() override;

 private:
  // Other options of the same group in this window (or this detached subtree).
  std::vector<Option*> GroupMates();
  std::u16string group_;
  bool selected_ = false;
  std::u16string selectedImage_;
  std::u16string selectedHotImage_;
  Color selectedTextColor_ = 0;
  Color selectedBkColor_ = 0;
};

}  // namespace tvui
