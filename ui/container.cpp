#include "ui/container.h"

#include <algorithm>

#include "ui/attribute_values.h"
#include "ui/ui_manager.h"

namespace tvui {

namespace {

int Clamp(int v, int lo, int hi) { return std::max(lo, std::min(v, hi)); }

constexpr int kMaxColumns = 1000;

}  // namespace

Container::Container() = default;

Container::~Container() {
  // Children go first, while this object is still a Container.
  children_.clear();
}

bool Container::SetAttribute(std::u16string_view name, std::u16string_view value) {
  if (EqualsNoCase(name, u"inset")) return ParseRect(value, inset_);
  if (EqualsNoCase(name, u"childpadding")) {
    int v = 0;
    if (!ParseInt(value, v)) return false;
    childPadding_ = v;
    return true;
  }
  return Control::SetAttribute(name, value);
}

Control* Container::Add(std::unique_ptr<Control> child) {
  return AddAt(std::move(child), GetCount());
}

Control* Container::AddAt(std::unique_ptr<Control> child, int index) {
  if (!child) return nullptr;
  index = Clamp(index, 0, GetCount());
  Control* raw = child.get();
  children_.insert(children_.begin() + index, std::move(child));
  raw->SetManager(GetManager(), this);
  NeedUpdate();
  return raw;
}

std::unique_ptr<Control> Container::Detach(int index) {
  std::unique_ptr<Control> child = std::move(children_[index]);
  if (child->IsShown()) child->Invalidate();  // its place is painted anew
  children_.erase(children_.begin() + index);
  child->SetManager(nullptr, nullptr);
  return child;
}

bool Container::Remove(Control* child) {
  int index = GetItemIndex(child);
  if (index < 0) return false;
  UiManager* manager = GetManager();
  auto detached = Detach(index);
  if (manager) {
    manager->DeferDelete(std::move(detached));
    manager->NeedUpdate();
  }
  return true;
}

void Container::RemoveAll() {
  UiManager* manager = GetManager();
  while (!children_.empty()) {
    auto detached = Detach(GetCount() - 1);
    if (manager) manager->DeferDelete(std::move(detached));
  }
  NeedUpdate();
}

Control* Container::GetItemAt(int index) const {
  if (index < 0 || index >= GetCount()) return nullptr;
  return children_[index].get();
}

int Container::GetItemIndex(const Control* child) const {
  for (size_t i = 0; i < children_.size(); ++i) {
    if (children_[i].get() == child) return static_cast<int>(i);
  }
  return -1;
}

Control* Container::FindSubControl(std::u16string_view name) {
  for (auto& c : children_) {
    if (Control* found = c->FindByName(name)) return found;
  }
  return nullptr;
}

void Container::SetInset(const Rect& inset) {
  inset_ = inset;
  NeedUpdate();
}

void Container::SetChildPadding(int gap) {
  childPadding_ = gap;
  NeedUpdate();
}

void Container::DoLayout(const Rect& rect) {
  Control::DoLayout(rect);
  std::vector<Control*> flow;
  for (auto& c : children_) {
    if (!c->IsVisible()) continue;
    if (c->IsFloat()) PlaceFloat(c.get());
    else flow.push_back(c.get());
  }
  Rect inner = rect.Deflate(inset_);
  if (inner.right < inner.left) inner.right = inner.left;
  if (inner.bottom < inner.top) inner.bottom = inner.top;
  LayoutChildren(inner, flow);
}

void Container::PlaceFloat(Control* child) {
  const Rect& p = child->GetFloatPos();
  Rect r = p.Offset(rect_.left, rect_.top);
  if (p.Width() <= 0) r.right = r.left + child->GetFixedWidth();
  if (p.Height() <= 0) r.bottom = r.top + child->GetFixedHeight();
  child->DoLayout(r);
}

void Container::LayoutChildren(const Rect& inner, const std::vector<Control*>& flow) {
  for (Control* c : flow) {
    Rect r = inner.Deflate(c->GetPadding());
    if (c->GetFixedWidth() > 0) r.right = r.left + c->GetFixedWidth();
    if (c->GetFixedHeight() > 0) r.bottom = r.top + c->GetFixedHeight();
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
    c->DoLayout(r);
  }
}

void Container::SetManager(UiManager* manager, Container* parent) {
  Control::SetManager(manager, parent);
  for (auto& c : children_) c->SetManager(manager, this);
}

Control* Container::FindByName(std::u16string_view name) {
  if (Control* self = Control::FindByName(name)) return self;
  return FindSubControl(name);
}

Control* Container::FindAt(Point p) {
  if (!IsVisible() || !rect_.Contains(p)) return nullptr;
  for (auto it = children_.rbegin(); it != children_.rend(); ++it) {
    if (Control* hit = (*it)->FindAt(p)) return hit;
  }
  return IsMouseEnabled() ? this : nullptr;
}

// Shares `available` among children along one axis: fixed sizes are kept, stretching children
// split the rest evenly (the last one takes the rounding remainder), clamped to their min/max.
namespace {

struct AxisItem {
  int fixed;      // 0 = stretch
  int lead;       // padding before
  int trail;      // padding after
  int minSize;
  int maxSize;
  int size = 0;   // result
};

void ShareAxis(std::vector<AxisItem>& items, int available, int gap) {
  long long used = 0;
  int stretchers = 0;
  for (auto& it : items) {
    used += it.lead + it.trail;
    if (it.fixed > 0) {
      it.size = Clamp(it.fixed, it.minSize, it.maxSize);
      used += it.size;
    } else {
      ++stretchers;
    }
  }
  if (!items.empty()) used += static_cast<long long>(gap) * static_cast<long long>(items.size() - 1);
  int remain = static_cast<int>(std::max<long long>(0, available - used));
  int seen = 0;
  int given = 0;
  for (auto& it : items) {
    if (it.fixed > 0) continue;
    ++seen;
    int share = (seen == stretchers) ? remain - given : remain / stretchers;
    it.size = Clamp(share, it.minSize, it.maxSize);
    given += it.size;
  }
}

}  // namespace

void VerticalLayout::LayoutChildren(const Rect& inner, const std::vector<Control*>& flow) {
  std::vector<AxisItem> items;
  for (Control* c : flow) {
    items.push_back({c->GetFixedHeight(), c->GetPadding().top, c->GetPadding().bottom,
                     c->GetMinHeight(), c->GetMaxHeight()});
  }
  ShareAxis(items, inner.Height(), GetChildPadding());
  int y = inner.top;
  for (size_t i = 0; i < flow.size(); ++i) {
    Control* c = flow[i];
    const Rect& pad = c->GetPadding();
    y += pad.top;
    int w = c->GetFixedWidth() > 0 ? c->GetFixedWidth() : inner.Width() - pad.left - pad.right;
    w = Clamp(w, c->GetMinWidth(), c->GetMaxWidth());
    int x = inner.left + pad.left;
    c->DoLayout({x, y, x + std::max(0, w), y + items[i].size});
    y += items[i].size + pad.bottom + GetChildPadding();
  }
}

void HorizontalLayout::LayoutChildren(const Rect& inner, const std::vector<Control*>& flow) {
  std::vector<AxisItem> items;
  for (Control* c : flow) {
    items.push_back({c->GetFixedWidth(), c->GetPadding().left, c->GetPadding().right,
                     c->GetMinWidth(), c->GetMaxWidth()});
  }
  ShareAxis(items, inner.Width(), GetChildPadding());
  int x = inner.left;
  for (size_t i = 0; i < flow.size(); ++i) {
    Control* c = flow[i];
    const Rect& pad = c->GetPadding();
    x += pad.left;
    int h = c->GetFixedHeight() > 0 ? c->GetFixedHeight() : inner.Height() - pad.top - pad.bottom;
    h = Clamp(h, c->GetMinHeight(), c->GetMaxHeight());
    int y = inner.top + pad.top;
    c->DoLayout({x, y, x + items[i].size, y + std::max(0, h)});
    x += items[i].size + pad.right + GetChildPadding();
  }
}

bool TileLayout::SetAttribute(std::u16string_view name, std::u16string_view value) {
  if (EqualsNoCase(name, u"columns")) {
    int v = 0;
    if (!ParseInt(value, v) || v < 0 || v > kMaxColumns) return false;
    columns_ = v;
    return true;
  }
  if (EqualsNoCase(name, u"itemsize")) return ParseSize(value, itemSize_);
  return Container::SetAttribute(name, value);
}

void TileLayout::SetColumns(int columns) {
  columns_ = Clamp(columns, 0, kMaxColumns);
  NeedUpdate();
}

void TileLayout::LayoutChildren(const Rect& inner, const std::vector<Control*>& flow) {
  const int gap = Clamp(GetChildPadding(), 0, 10000);
  int columns = columns_;
  if (columns <= 0 && itemSize_.cx > 0) columns = (inner.Width() + gap) / (itemSize_.cx + gap);
  columns = Clamp(columns, 1, kMaxColumns);
  int cellWidth = itemSize_.cx > 0 ? itemSize_.cx : (inner.Width() - gap * (columns - 1)) / columns;
  cellWidth = std::max(0, cellWidth);
  int y = inner.top;
  for (size_t rowStart = 0; rowStart < flow.size(); rowStart += columns) {
    size_t rowEnd = std::min(flow.size(), rowStart + columns);
    int rowHeight = itemSize_.cy;
    if (rowHeight <= 0) {
      for (size_t i = rowStart; i < rowEnd; ++i) {
        const Control* c = flow[i];
        int h = c->GetFixedHeight() > 0 ? c->GetFixedHeight() : cellWidth;
        rowHeight = std::max(rowHeight, h + c->GetPadding().top + c->GetPadding().bottom);
      }
    }
    int x = inner.left;
    for (size_t i = rowStart; i < rowEnd; ++i) {
      Control* c = flow[i];
      const Rect& pad = c->GetPadding();
      int w = c->GetFixedWidth() > 0 ? c->GetFixedWidth() : cellWidth - pad.left - pad.right;
      int h = c->GetFixedHeight() > 0 ? c->GetFixedHeight() : rowHeight - pad.top - pad.bottom;
      int cx = x + pad.left;
      int cy = y + pad.top;
      c->DoLayout({cx, cy, cx + std::max(0, w), cy + std::max(0, h)});
      int advance = c->GetFixedWidth() > 0 ? w + pad.left + pad.right : cellWidth;
      x += advance + gap;
    }
    y += rowHeight + gap;
  }
}

}  // namespace tvui
