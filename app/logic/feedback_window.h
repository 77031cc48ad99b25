#pragma once
// The feedback window ("surveys.xml"): a short survey whose answers are only reported as usage
// events, and the offer to turn autostart on. Portable rules: what a click does, and the two
// layouts (with and without the autostart question).
#include <string_view>
#include <vector>

#include "app/logic/placement.h"

enum class FeedbackAction {
  kNone,           // an option: only the usage event and the cleared mates
  kHide,           // "closex"
  kConfirm,        // "ok": autostart on when "opautostarta" is selected, then hide
  kOpenContact,    // "sendqq"
};

struct FeedbackClick {
  int usageEvent = 0;  // 0: not a control of the window
  FeedbackAction action = FeedbackAction::kNone;
  // Options of the same question that the click clears.
  std::vector<std::u16string_view> clears;
};
// What a click on the control does (names compared ignoring letter case).
FeedbackClick ClickFeedbackControl(std::u16string_view control);

// The options of the autostart question, and its label.
inline constexpr std::u16string_view kAutostartYes = u"opautostarta";
inline constexpr std::u16string_view kAutostartNo = u"opautostartb";
inline constexpr std::u16string_view kAutostartLabel = u"laautostart";

// Client rectangles of the two buttons and the window height, with or without the question.
struct FeedbackLayout {
  bool autostartQuestion = false;
  int height = 0;
  tvui::Rect sendqq;  // left, top, right, bottom in client coordinates
  tvui::Rect ok;
};
inline constexpr int kFeedbackWidth = 240;
FeedbackLayout FeedbackLayoutFor(bool withAutostart);
