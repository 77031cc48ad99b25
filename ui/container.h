#pragma once
// Containers: controls that own and lay out children.
//   Container        every child fills the inner rectangle (or keeps its fixed size, top-left)
//   VerticalLayout   children stacked top to bottom; fixed heights kept, the rest share what remains
//   HorizontalLayout children side by side; fixed widths kept, the rest share what remains
//   TileLayout       children in rows of `columns` (or as many `itemsize` cells as fit)
// A child with float="true" is placed at its pos (l,t,r,b) relative to the container's top-left.
#include <memory>
#include <vector>

#include "ui/control.h"

namespace tvui {

class Container : public Control {
 public:
  Container();
  ~Container() override;
  std::u16string_view GetClass() const override { return u"Container"; }
  Container* AsContainer() override { return this; }
  bool SetAttribute(std::u16string_view name, std::u16string_view value) override;

  // Children. Add/AddAt take ownership and return the added control (nullptr for a null one).
  Control* Add(std::unique_ptr<Control> child);
  Control* AddAt(std::unique_ptr<Control> child, int index);
  // Removes and destroys a child. Destruction is deferred to the end of the current message when
  // the container belongs to a window, so a notification handler may remove its own sender.
  virtual bool Remove(Control* child);
  virtual void RemoveAll();
  int GetCount() const { return static_cast<int>(children_.size()); }
  Control* GetItemAt(int index) const;
  int GetItemIndex(const Control* child) const;
  // Finds a descendant (not this control) by name.
  Control* FindSubControl(std::u16string_view name);

  const Rect& GetInset() const { return inset_; }
  void SetInset(const Rect& inset);
  int GetChildPadding() const { return childPadding_; }
  void SetChildPadding(int gap);

  void DoLayout(const Rect& rect) override;
  void SetManager(UiManager* manager, Container* parent) override;
  Control* FindByName(std::u16string_view name) override;
  Control* FindAt(Point p) override;

 protected:
  // Lays out the non-floating, visible children inside `inner`.
  virtual void LayoutChildren(const Rect& inner, const std::vector<Control*>& flow);
  void PlaceFloat(Control* child);
  std::vector<std::unique_ptr<Control>> children_;

 private:
  std::unique_ptr<Control> Detach(int index);
  Rect inset_;
  int childPadding_ = 0;
};

class VerticalLayout : public Container {
 public:
  std::u16string_view GetClass() const override { return u"VerticalLayout"; }

 protected:
  void LayoutChildren(const Rect& inner, const std::vector<Control*>& flow) override;
};

class HorizontalLayout : public Container {
 public:
  std::u16string_view GetClass() const override { return u"HorizontalLayout"; }

 protected:
  void LayoutChildren(const Rect& inner, const std::vector<Control*>& flow) override;
};

class TileLayout : public Container {
 public:
  std::u16string_view GetClass() const override { return u"TileLayout"; }
  bool SetAttribute(std::u16string_view name, std::u16string_view value) override;
  int GetColumns() const { return columns_; }
  void SetColumns(int columns);
  Size GetItemSize() const { return itemSize_; }

 protected:
  void LayoutChildren(const Rect& inner, const std::vector<Control*>& flow) override;

 private:
  int columns_ = 0;
  Size itemSize_;
};

}  // namespace tvui
