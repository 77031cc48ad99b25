#include "app/logic/feedback_window.h"

#include "platform/text_utils.h"

namespace {

struct FeedbackControl {
  std::u16string_view name;
  int usageEvent;
  FeedbackAction action;
  std::u16string_view clears[2];
};

// The three survey questions and the autostart question are groups of exclusive options.
constexpr FeedbackControl kControls[] = {
    {u"closex", 15011, FeedbackAction::kHide, {}},
    {u"ok", 15012, FeedbackAction::kConfirm, {}},
    {u"sendqq", 15013, FeedbackAction::kOpenContact, {}},
    {u"opshiyonga", 15001, FeedbackAction::kNone, {u"opshiyongb", u"opshiyongc"}},
    {u"opshiyongb", 15002, FeedbackAction::kNone, {u"opshiyonga", u"opshiyongc"}},
    {u"opshiyongc", 15003, FeedbackAction::kNone, {u"opshiyonga", u"opshiyongb"}},
    {u"opjianbiana", 15004, FeedbackAction::kNone, {u"opjianbianb", u"opjianbianc"}},
    {u"opjianbianb", 15005, FeedbackAction::kNone, {u"opjianbiana", u"opjianbianc"}},
    {u"opjianbianc", 15006, FeedbackAction::kNone, {u"opjianbiana", u"opjianbianb"}},
    {u"optuijiana", 15007, FeedbackAction::kNone, {u"optuijianb"}},
    {u"optuijianb", 15008, FeedbackAction::kNone, {u"optuijiana"}},
    {kAutostartYes, 15009, FeedbackAction::kNone, {kAutostartNo}},
    {kAutostartNo, 15010, FeedbackAction::kNone, {kAutostartYes}},
};

}  // namespace

FeedbackClick ClickFeedbackControl(std::u16string_view control) {
  for (const FeedbackControl& c : kControls) {
    if (!EqualsNoCase(control, c.name)) continue;
    FeedbackClick click{c.usageEvent, c.action, {}};
    for (std::u16string_view mate : c.clears) {
      if (!mate.empty()) click.clears.push_back(mate);
    }
    return click;
  }
  return {};
}

FeedbackLayout FeedbackLayoutFor(bool withAutostart) {
  if (withAutostart) return {true, 320, {10, 210, 150, 228}, {90, 240, 180, 265}};
  return {false, 290, {10, 160, 150, 178}, {90, 200, 180, 225}};
}
