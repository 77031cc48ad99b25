#pragma once
// What a screen reader is told of a window: a tree of named parts with roles, states and places,
// made from the control tree (DescribeControls) or by the window itself. The Windows edge serves it
// as the window's accessible objects.
#include <cstdint>
#include <string>
#include <vector>

#include "ui/geometry.h"

namespace tvui {

class Control;

enum class AccessRole { kDialog, kGrouping, kTable, kCell, kPushButton, kComboBox, kList, kListItem, kText, kGraphic };

namespace access_state {
inline constexpr uint32_t kSelected = 1u << 0;
inline constexpr uint32_t kFocused = 1u << 1;
inline constexpr uint32_t kFocusable = 1u << 2;
inline constexpr uint32_t kSelectable = 1u << 3;
inline constexpr uint32_t kMarked = 1u << 4;  // today's cell
inline constexpr uint32_t kUnavailable = 1u << 5;
inline constexpr uint32_t kCollapsed = 1u << 6;
inline constexpr uint32_t kExpanded = 1u << 7;
inline constexpr uint32_t kReadOnly = 1u << 8;
}  // namespace access_state

struct AccessNode {
  int id = 0;  // unique within the window, above 0 (the window itself is 0)
  AccessRole role = AccessRole::kGrouping;
  std::u16string name;
  std::u16string description;
  std::u16string value;
  std::u16string defaultAction;  // "按下", "打开", …; empty: none
  uint32_t states = 0;
  Rect rect;  // logical client coordinates
  const Control* control = nullptr;  // the control it stands for, if any
  std::vector<AccessNode> children;

  // The node with that id in this subtree, or nullptr.
  const AccessNode* Find(int wanted) const;
  // The node standing for a control in this subtree, or nullptr.
  const AccessNode* FindControl(const Control* wanted) const;
};

// The window's parts as a person reads them: every shown control that takes clicks (buttons
// named by their text or tool tip, combos with their chosen item as value) and every shown text,
// in the tree's order; ids from `firstId` on. `focus` is the control holding the keyboard focus.
std::vector<AccessNode> DescribeControls(const Control* root, const Control* focus, int firstId);
// One control's node (without children); false for a control a reader need not see.
bool DescribeControl(const Control& control, const Control* focus, AccessNode& node);

}  // namespace tvui
