#include "app/logic/popup_placement.h"

#include "app/logic/feedback_window.h"

namespace {

ScreenRect At(int x, int y, int width, int height) { return {x, y, x + width, y + height}; }

}  // namespace

ScreenRect PlaceSkinChooser(const ScreenRect& main, const ScreenRect& skin) {
  return At(main.left + skin.left - 180, main.top + skin.bottom + 125, kSkinChooserWidth, kSkinChooserHeight);
}

ScreenRect PlaceSettings(const ScreenRect& main, const ScreenRect& set) {
  return At(main.left + set.left - 240, main.top + set.bottom + 125, kSettingsWidth, kSettingsHeight);
}

ScreenRect PlaceAbout(const ScreenRect& main, const ScreenRect& set) {
  return At(main.left + set.left - 270, main.top + set.bottom + 100, kAboutWidth, kAboutHeight);
}

ScreenRect PlaceFeedback(const Anchor& anchor, int currentTop, int height) {
  int x = anchor.edge == TaskbarEdge::kLeft ? anchor.x + kMainWindowWidth : anchor.x - kFeedbackWidth;
  return At(x, currentTop, kFeedbackWidth, height);
}
