// What the edge paints comes from the model's state: face images and text colours by state,
// hiding a hovered control, notifiers leaving during a dispatch.
#include <gtest/gtest.h>

#include "ui/button.h"
#include "ui/option.h"
#include "ui_test_support.h"

namespace tvui {
namespace {

using testing::TestWindow;

TEST(StateImages, FallBackToThePlainerImage) {
  StateImages all{u"n", u"h", u"p", u"d"};
  EXPECT_EQ(all.For(true, false, false), u"n");
  EXPECT_EQ(all.For(true, true, false), u"h");
  EXPECT_EQ(all.For(true, true, true), u"p");
  EXPECT_EQ(all.For(false, true, true), u"d");
  StateImages some{u"n", u"h", u"", u""};
  EXPECT_EQ(some.For(true, true, true), u"h") << "pushed without its own image looks hot";
  EXPECT_EQ(some.For(false, false, false), u"n");
  StateImages none;
  EXPECT_EQ(none.For(true, true, true), u"");
}

TEST(StateImages, ButtonsAndOptionsFollowTheMouseAndSelection) {
  TestWindow w(R"(<HorizontalLayout>
      <Button name="b" width="40" normalimage="b_n.png" hotimage="b_h.png" textcolor="#FF111111" hottextcolor="#FF222222"/>
      <Option name="o" width="40" normalimage="day_n.png" selectedimage="select.png" selectedtextcolor="#FFFFFFFF"/>
      <Label/></HorizontalLayout>)");
  auto* b = dynamic_cast<Button*>(w.Find(u"b"));
  auto* o = dynamic_cast<Option*>(w.Find(u"o"));
  EXPECT_EQ(b->StateImage(), u"b_n.png");
  w.manager.OnMouseMove(w.CenterOf(u"b"));
  EXPECT_EQ(b->StateImage(), u"b_h.png");
  EXPECT_EQ(b->StateTextColor(), 0xFF222222u);
  w.manager.OnMouseLeave();
  EXPECT_EQ(b->StateImage(), u"b_n.png");
  EXPECT_EQ(b->StateTextColor(), 0xFF111111u);
  b->SetEnabled(false);
  EXPECT_EQ(b->StateTextColor(), b->GetDisabledTextColor());

  EXPECT_EQ(o->StateImage(), u"day_n.png");
  o->Selected(true, false);
  EXPECT_EQ(o->StateImage(), u"select.png");
  EXPECT_EQ(o->StateTextColor(), 0xFFFFFFFFu);
  // Changing the normal image of a cell (as the month grid does) keeps the selected look on top.
  o->SetNormalImage(u"day_s.png");
  EXPECT_EQ(o->StateImage(), u"select.png");
  o->Selected(false, false);
  EXPECT_EQ(o->StateImage(), u"day_s.png");
}

TEST(HoverState, HidingTheHoveredControlEndsItsHoverQuietly) {
  TestWindow w(R"(<HorizontalLayout><Button name="b" width="40"/><Label name="rest"/></HorizontalLayout>)");
  w.manager.OnMouseMove(w.CenterOf(u"b"));
  ASSERT_EQ(w.manager.GetHover(), w.Find(u"b"));
  w.Find(u"b")->SetVisible(false);
  EXPECT_EQ(w.manager.GetHover(), nullptr);
  EXPECT_FALSE(w.Find(u"b")->IsHot());
  w.manager.Layout();
  w.manager.OnMouseMove({20, 10});
  EXPECT_EQ(w.manager.GetHover()->GetName(), u"rest");
  EXPECT_EQ(w.notifier.Texts().back(), u"mouseenter:rest");
}

TEST(Dispatch, ANotifierMayLeaveWhileBeingNotified) {
  TestWindow w(R"(<HorizontalLayout><Button name="b" width="40"/></HorizontalLayout>)");
  testing::RecordingNotifier second;
  w.manager.AddNotifier(&second);
  w.notifier.also = [&](Notification&) { w.manager.RemoveNotifier(&second); };
  w.manager.SendNotify(w.Find(u"b"), NotifyType::kClick);
  EXPECT_TRUE(second.seen.empty()) << "a removed notifier is not called any more";
  w.manager.SendNotify(w.Find(u"b"), NotifyType::kClick);
  EXPECT_EQ(w.notifier.seen.size(), 2u);
}

TEST(Dispatch, DetachedControlsNotifyNobody) {
  TestWindow w(R"(<HorizontalLayout><Button name="b" width="40"/></HorizontalLayout>)");
  auto loose = std::make_unique<Button>();
  loose->Activate();
  EXPECT_TRUE(w.notifier.seen.empty());
  auto option = std::make_unique<Option>();
  option->Activate();
  EXPECT_TRUE(option->IsSelected()) << "state still changes without a window";
}

}  // namespace
}  // namespace tvui
