#include "ui/access_node.h"

#include "ui/combo.h"
#include "ui/container.h"
#include "ui/control.h"

namespace tvui {

const AccessNode* AccessNode::Find(int wanted) const {
  if (id == wanted) return this;
  for (const AccessNode& child : children) {
    if (const AccessNode* found = child.Find(wanted)) return found;
  }
  return nullptr;
}

const AccessNode* AccessNode::FindControl(const Control* wanted) const {
  if (wanted && control == wanted) return this;
  for (const AccessNode& child : children) {
    if (const AccessNode* found = child.FindControl(wanted)) return found;
  }
  return nullptr;
}

bool DescribeControl(const Control& control, const Control* focus, AccessNode& node) {
  using namespace access_state;
  node.control = &control;
  node.rect = control.GetPos();
  if (!control.IsEnabled()) node.states |= kUnavailable;
  if (const auto* combo = dynamic_cast<const Combo*>(&control)) {
    node.role = AccessRole::kComboBox;
    node.name = !control.GetToolTip().empty() ? control.GetToolTip() : combo->GetSelectedText();
    node.value = combo->GetSelectedText();
    node.defaultAction = u"打开";
    node.states |= kFocusable | kCollapsed;
  } else if (control.TakesClicks()) {
    node.role = AccessRole::kPushButton;
    node.name = !control.GetText().empty() ? control.GetText() : control.GetToolTip();
    node.defaultAction = u"按下";
    node.states |= kFocusable;
  } else if (!control.GetText().empty()) {
    node.role = AccessRole::kText;
    node.name = control.GetText();
    node.states |= kReadOnly;
  } else {
    return false;
  }
  if (focus == &control) node.states |= kFocused;
  return !node.name.empty() || node.role == AccessRole::kComboBox;
}

namespace {

void Collect(const Control* control, const Control* focus, int& nextId, std::vector<AccessNode>& out) {
  if (!control || !control->IsVisible()) return;
  AccessNode node;
  if (DescribeControl(*control, focus, node)) {
    node.id = nextId++;
    out.push_back(std::move(node));
    if (control->TakesClicks()) return;  // a combo's items and a button's insides are its own
  }
  if (const Container* box = const_cast<Control*>(control)->AsContainer()) {
    for (int i = 0; i < box->GetCount(); ++i) Collect(box->GetItemAt(i), focus, nextId, out);
  }
}

}  // namespace

std::vector<AccessNode> DescribeControls(const Control* root, const Control* focus, int firstId) {
  std::vector<AccessNode> nodes;
  int nextId = firstId;
  Collect(root, focus, nextId, nodes);
  return nodes;
}

}  // namespace tvui
