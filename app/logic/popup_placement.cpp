#include "app/logic/popup_placement.h"

#include <algorithm>

#include "app/logic/feedback_window.h"

namespace {

// The window of width x height (96-DPI units) at dx, dy (96-DPI units) from the main window's
// top-left corner.
tvui::Rect Below(const tvui::Rect& main, int dx, int dy, int width, int height, const tvui::Scale& scale) {
  const int x = main.left + scale.ToDevice(dx);
  const int y = main.top + scale.ToDevice(dy);
  return {x, y, x + scale.ToDevice(width), y + scale.ToDevice(height)};
}

}  // namespace

tvui::Rect PlaceSkinChooser(const tvui::Rect& main, const tvui::Rect& skin, const tvui::Scale& scale) {
  return Below(main, skin.left - 180, skin.bottom + 125, kSkinChooserWidth, kSkinChooserHeight, scale);
}

tvui::Rect PlaceSettings(const tvui::Rect& main, const tvui::Rect& set, const tvui::Scale& scale) {
  return Below(main, set.left - 240, set.bottom + 125, kSettingsWidth, kSettingsHeight, scale);
}

tvui::Rect PlaceAbout(const tvui::Rect& main, const tvui::Rect& set, const tvui::Scale& scale) {
  return Below(main, set.left - 270, set.bottom + 100, kAboutWidth, kAboutHeight, scale);
}

tvui::Rect PlaceFeedback(const Anchor& anchor, int currentTop, int height, const tvui::Scale& scale) {
  const int width = scale.ToDevice(kFeedbackWidth);
  int x = anchor.edge == TaskbarEdge::kLeft ? anchor.x + scale.ToDevice(kMainWindowWidth) : anchor.x - width;
  return {x, currentTop, x + width, currentTop + scale.ToDevice(height)};
}

tvui::Rect PlaceReminders(const tvui::Rect& mainWindow, const tvui::Rect& workArea, const tvui::Scale& scale) {
  const int width = scale.ToDevice(kRemindersWidth), height = scale.ToDevice(kRemindersHeight);
  const int gap = scale.ToDevice(8);
  int x = mainWindow.left - gap - width;
  if (x < workArea.left) x = mainWindow.right + gap;
  if (x + width > workArea.right) x = mainWindow.left + (mainWindow.Width() - width) / 2;
  x = std::max(workArea.left, std::min(x, workArea.right - width));
  int y = std::max(workArea.top, std::min(mainWindow.bottom - height, workArea.bottom - height));
  return {x, y, x + width, y + height};
}
