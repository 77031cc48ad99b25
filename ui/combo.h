#pragma once
// Combo: a closed face drawn like a button, showing the selected item's text, and a drop-down list
// of ListLabelElement items that the Windows edge opens as its own pop-up window. Items are the
// combo's children but are not laid out inside the face.
#include "ui/button.h"
#include "ui/list.h"

namespace tvui {

class Combo : public Container, public ItemOwner {
 public:
  Combo();
  std::u16string_view GetClass() const override { return u"Combo"; }
  bool TakesClicks() const override { return true; }
  bool SetAttribute(std::u16string_view name, std::u16string_view value) override;

  // Items.
  int GetCount() const { return Container::GetCount(); }
  const ListItemStyle& ItemStyle() const override { return style_; }
  // Adds a text item and returns it.
  ListLabelElement* AddItem(std::u16string text);
  // Text of the selected item (empty with none).
  std::u16string GetSelectedText() const;

  Size GetDropBoxSize() const { return dropBoxSize_; }
  const StateImages& Images() const { return images_; }
  void SetNormalImage(std::u16string image);

  const std::u16string& StateImage() const override;
  void DoLayout(const Rect& rect) override;
  Control* FindAt(Point p) override;
  Control* FindByName(std::u16string_view name) override;
  // Opens the drop-down list (through the window's host).
  void Activate() override;

  bool Remove(Control* child) override;
  void RemoveAll() override;

 private:
  StateImages images_;
  ListItemStyle style_;
  Size dropBoxSize_;
};

}  // namespace tvui
