#pragma once
// Lists and their items.
//   List                  a vertical list of items with one selected item
//   ListLabelElement      a one-line text item (also the item type of Combo)
//   ListContainerElement  an item holding other controls (laid out horizontally)
// Clicking an item sends "itemclick" (wParam = index) from the owning list or combo, then selects
// it, which sends "itemselect" (wParam = new index, lParam = previous index) when it changed.
#include "ui/container.h"
#include "ui/label.h"

namespace tvui {

// Colours and font of list items, shared by List and Combo.
struct ListItemStyle {
  int font = -1;
  Color textColor = 0;
  Color bkColor = 0;
  Color hotBkColor = 0;
  Color hotTextColor = 0;
  Color selectedBkColor = 0;
  Color selectedTextColor = 0;
  int itemHeight = 0;  // 0: the item's own height or the edge's default
  bool SetAttribute(std::u16string_view name, std::u16string_view value);
};

// Something that owns selectable items (List and Combo): the children of items, one of them
// selected or none. Removing items keeps the selection on the same item (or none).
class ItemOwner {
 public:
  explicit ItemOwner(Container& items) : items_(items) {}
  virtual ~ItemOwner() = default;
  ItemOwner(const ItemOwner&) = delete;
  ItemOwner& operator=(const ItemOwner&) = delete;

  int GetCurSel() const { return curSel_; }
  // Selects an item; notify = false selects silently. Selecting the current item again, or an
  // index out of range, sends nothing (out of range returns false).
  bool SelectItem(int index, bool notify = true);
  // An item was clicked: "itemclick", then selection (unless a handler removed the owner).
  void ItemClicked(int index);
  virtual const ListItemStyle& ItemStyle() const = 0;

 protected:
  // Before the item at index is removed / after every item was.
  void ItemRemoving(int index);
  void ItemsCleared() { curSel_ = -1; }

 private:
  Container& items_;
  int curSel_ = -1;
};

class ListLabelElement : public Label {
 public:
  std::u16string_view GetClass() const override { return u"ListLabelElement"; }
  bool TakesClicks() const override { return true; }
  // Accepts selected="true" (read by the owning combo when building).
  bool SetAttribute(std::u16string_view name, std::u16string_view value) override;
  bool IsSelected() const;
  void Activate() override;
};

class ListContainerElement : public HorizontalLayout {
 public:
  std::u16string_view GetClass() const override { return u"ListContainerElement"; }
  bool TakesClicks() const override { return true; }
  bool IsSelected() const;
  void Activate() override;
  // The item itself takes the pointer unless a child acts on clicks.
  Control* FindAt(Point p) override;
};

class List : public VerticalLayout, public ItemOwner {
 public:
  List() : ItemOwner(static_cast<Container&>(*this)) {}
  std::u16string_view GetClass() const override { return u"List"; }
  bool SetAttribute(std::u16string_view name, std::u16string_view value) override;
  const ListItemStyle& ItemStyle() const override { return style_; }
  bool Remove(Control* child) override;
  void RemoveAll() override;

 private:
  ListItemStyle style_;
};

// The item owner of an item control (its List or Combo parent), or nullptr.
ItemOwner* OwnerOf(const Control* item);

}  // namespace tvui
