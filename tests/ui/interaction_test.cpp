// Notifications driven by the mouse state machine, their notifiers, option groups, combos, lists
// and timers.
#include <gtest/gtest.h>

#include "ui/button.h"
#include "ui/combo.h"
#include "ui/container.h"
#include "ui/list.h"
#include "ui/option.h"
#include "ui_test_support.h"

namespace tvui {
namespace {

using testing::TestWindow;
using Texts = std::vector<std::u16string>;

const char kButtons[] = R"(<HorizontalLayout name="root">
    <Button name="b1" width="50"/><Button name="b2" width="50"/>
    <Button name="off" width="50" enabled="false"/><Label name="lab"/></HorizontalLayout>)";

TEST(MouseStateMachine, HoverSendsEnterAndLeaveOnce) {
  TestWindow w(kButtons);
  w.manager.OnMouseMove({10, 10});
  w.manager.OnMouseMove({12, 11});
  w.manager.OnMouseMove({60, 10});
  w.manager.OnMouseLeave();
  EXPECT_EQ(w.notifier.Texts(), (Texts{u"mouseenter:b1", u"mouseleave:b1", u"mouseenter:b2", u"mouseleave:b2"}));
  EXPECT_FALSE(w.Find(u"b2")->IsHot());
}

TEST(MouseStateMachine, ClickOnlyOnReleaseInsideThePressedControl) {
  TestWindow w(kButtons);
  w.Click({10, 10});
  w.notifier.seen.clear();
  // Press on b1, drag to b2, release: no click, and b2 gets no hover while b1 holds the mouse.
  w.manager.OnButtonDown({10, 10});
  EXPECT_TRUE(w.Find(u"b1")->IsPushed());
  w.manager.OnMouseMove({60, 10});
  EXPECT_FALSE(w.Find(u"b1")->IsPushed());
  w.manager.OnButtonUp({60, 10});
  EXPECT_EQ(w.notifier.Texts(), (Texts{u"mouseleave:b1", u"mouseenter:b2"}));
  w.notifier.seen.clear();
  // Press on a label, release on a button: no click either; then a real click.
  w.manager.OnButtonDown({160, 10});
  w.manager.OnButtonUp({60, 10});
  w.Click({60, 10});
  EXPECT_EQ(w.notifier.Texts(), (Texts{u"mouseleave:b2", u"mouseenter:lab", u"mouseleave:lab",
                                       u"mouseenter:b2", u"click:b2"}));
}

TEST(MouseStateMachine, ACancelledPressClicksNothing) {
  TestWindow w(kButtons);
  w.manager.OnButtonDown({10, 10});
  w.manager.CancelPress();
  EXPECT_FALSE(w.Find(u"b1")->IsPushed());
  w.manager.OnButtonUp({10, 10});
  EXPECT_EQ(w.notifier.Texts(), (Texts{u"mouseenter:b1"}));
}

TEST(MouseStateMachine, DisabledControlsTakeNoClickAndNoHover) {
  TestWindow w(kButtons);
  w.Click({110, 10});
  EXPECT_TRUE(w.notifier.seen.empty());
  EXPECT_EQ(w.manager.GetHover()->GetName(), u"off");
  EXPECT_FALSE(w.Find(u"off")->IsHot());
}

TEST(MouseStateMachine, AHandlerMayRemoveItsOwnSender) {
  TestWindow w(kButtons);
  int clicks = 0;
  w.notifier.also = [&](Notification& msg) {
    if (msg.type == NotifyType::kClick) {
      ++clicks;
      w.Find(u"root")->AsContainer()->RemoveAll();
      EXPECT_EQ(msg.sender->GetName(), u"b1") << "the sender stays alive during the dispatch";
    }
  };
  w.Click({10, 10});
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(w.Find(u"b1"), nullptr);
  EXPECT_EQ(w.manager.GetHover()->GetName(), u"root");
  w.manager.OnMouseMove({20, 20});  // nothing dangles
}

TEST(Notifications, EveryNotifierSeesEachInOrderUntilRemoved) {
  TestWindow w(kButtons);
  testing::RecordingNotifier second;
  w.manager.AddNotifier(&second);
  std::vector<std::u16string> order;
  w.notifier.also = [&](Notification& msg) { order.push_back(u"first:" + std::u16string(NotifyTypeName(msg.type))); };
  second.also = [&](Notification& msg) { order.push_back(u"second:" + std::u16string(NotifyTypeName(msg.type))); };
  w.Click({10, 10});
  EXPECT_EQ(second.Texts(), (Texts{u"mouseenter:b1", u"click:b1"}));
  EXPECT_EQ(order, (Texts{u"first:mouseenter", u"second:mouseenter", u"first:click", u"second:click"}));
  // Removed in the middle of a dispatch: it sees nothing more, not even the notification under way.
  w.notifier.also = [&](Notification&) { w.manager.RemoveNotifier(&second); };
  w.Click({10, 10});
  EXPECT_EQ(second.Texts(), (Texts{u"mouseenter:b1", u"click:b1"}));
  EXPECT_EQ(w.notifier.Texts().back(), u"click:b1");
}

const char kOptions[] = R"(<HorizontalLayout>
    <Option name="o1" group="g" width="20" selected="true"/><Option name="o2" group="G" width="20"/>
    <VerticalLayout width="20"><Option name="o3" group="g"/></VerticalLayout>
    <Option name="solo" width="20"/></HorizontalLayout>)";

TEST(OptionGroups, StayExclusiveAndNotifyEveryChange) {
  TestWindow w(kOptions);
  auto* o1 = dynamic_cast<Option*>(w.Find(u"o1"));
  auto* o2 = dynamic_cast<Option*>(w.Find(u"o2"));
  auto* o3 = dynamic_cast<Option*>(w.Find(u"o3"));
  std::vector<int> selectedWhenNotified;
  w.notifier.also = [&](Notification& msg) {
    if (msg.type == NotifyType::kSelectChanged) selectedWhenNotified.push_back(o1->IsSelected() + o2->IsSelected() + o3->IsSelected());
  };
  w.Click(w.CenterOf(u"o3"));
  EXPECT_FALSE(o1->IsSelected());
  EXPECT_TRUE(o3->IsSelected());
  EXPECT_EQ(w.notifier.Texts(), (Texts{u"mouseenter:o3", u"selectchanged:o1", u"selectchanged:o3", u"click:o3"}));
  EXPECT_EQ(selectedWhenNotified, (std::vector<int>{1, 1})) << "the group is consistent before anyone hears of it";

  w.notifier.seen.clear();
  w.Click(w.CenterOf(u"o3"));
  EXPECT_TRUE(o3->IsSelected()) << "clicking the selected option of a group keeps it";
  EXPECT_EQ(w.notifier.Texts(), (Texts{u"click:o3"}));

  w.notifier.seen.clear();
  o2->Selected(true, false);
  EXPECT_TRUE(w.notifier.seen.empty());
  EXPECT_FALSE(o3->IsSelected()) << "groups compare ignoring case; silent selection still clears the group";
}

TEST(OptionGroups, OptionsWithoutGroupToggle) {
  TestWindow w(kOptions);
  auto* solo = dynamic_cast<Option*>(w.Find(u"solo"));
  w.Click(w.CenterOf(u"solo"));
  EXPECT_TRUE(solo->IsSelected());
  w.Click(w.CenterOf(u"solo"));
  EXPECT_FALSE(solo->IsSelected());
  EXPECT_TRUE(dynamic_cast<Option*>(w.Find(u"o1"))->IsSelected()) << "other options are untouched";
}

TEST(OptionGroups, CellsAddedFromATemplateJoinTheGroup) {
  TestWindow w(R"(<TileLayout name="menology" columns="7"/>)", {358, 100});
  auto* grid = w.Find(u"menology")->AsContainer();
  for (int i = 0; i < 3; ++i) {
    auto cell = std::make_unique<Option>();
    cell->SetName(u"isSelect");
    cell->SetFixedWidth(47);
    cell->SetFixedHeight(46);
    cell->SetGroup(u"Menology");
    cell->SetTag(i + 1);
    grid->Add(std::move(cell));
  }
  w.manager.Layout();
  w.Click({10, 10});
  w.Click({60, 10});
  int selected = 0;
  for (int i = 0; i < grid->GetCount(); ++i) selected += dynamic_cast<Option*>(grid->GetItemAt(i))->IsSelected();
  EXPECT_EQ(selected, 1);
  EXPECT_EQ(w.manager.FindControl(Point{60, 10})->GetTag(), 2);
}

const char kCombo[] = R"(<HorizontalLayout><Combo name="CmbMonth" width="80">
    <ListLabelElement text="1月"/><ListLabelElement text="2月"/><ListLabelElement text="3月"/>
  </Combo><Label/></HorizontalLayout>)";

TEST(Combos, SelectWithOrWithoutNotification) {
  TestWindow w(kCombo);
  auto* combo = dynamic_cast<Combo*>(w.Find(u"CmbMonth"));
  EXPECT_EQ(combo->GetCount(), 3);
  EXPECT_EQ(combo->GetCurSel(), -1);
  EXPECT_TRUE(combo->SelectItem(2));
  ASSERT_EQ(w.notifier.seen.size(), 1u);
  EXPECT_EQ(w.notifier.seen[0].type, u"itemselect");
  EXPECT_EQ(w.notifier.seen[0].wParam, 2u);
  EXPECT_EQ(w.notifier.seen[0].lParam, -1);
  EXPECT_TRUE(combo->SelectItem(2));
  EXPECT_EQ(w.notifier.seen.size(), 1u) << "re-selecting the current item is no change";
  EXPECT_TRUE(combo->SelectItem(0, false));
  EXPECT_EQ(w.notifier.seen.size(), 1u);
  EXPECT_EQ(combo->GetSelectedText(), u"1月");
  EXPECT_FALSE(combo->SelectItem(3));
  EXPECT_FALSE(combo->SelectItem(-1));
  EXPECT_EQ(combo->GetCurSel(), 0);
}

TEST(Combos, RefillingResetsTheSelection) {
  TestWindow w(kCombo);
  auto* combo = dynamic_cast<Combo*>(w.Find(u"CmbMonth"));
  combo->SelectItem(2, false);
  combo->Remove(combo->GetItemAt(0));
  EXPECT_EQ(combo->GetCurSel(), 1) << "the same item stays selected";
  combo->RemoveAll();
  EXPECT_EQ(combo->GetCount(), 0);
  EXPECT_EQ(combo->GetCurSel(), -1);
  EXPECT_EQ(combo->GetSelectedText(), u"");
  combo->AddItem(u"北京");
  EXPECT_TRUE(combo->SelectItem(0));
  EXPECT_EQ(w.notifier.Texts(), (Texts{u"itemselect:CmbMonth"})) << "after a refill, index 0 is a change";
}

TEST(Combos, ClickOpensTheListAndAnItemClickSelects) {
  TestWindow w(kCombo);
  auto* combo = dynamic_cast<Combo*>(w.Find(u"CmbMonth"));
  EXPECT_EQ(w.manager.FindControl(w.CenterOf(u"CmbMonth")), combo) << "items are not hit inside the face";
  w.Click(w.CenterOf(u"CmbMonth"));
  ASSERT_EQ(w.host.dropDowns.size(), 1u);
  EXPECT_EQ(w.host.dropDowns[0], combo);
  w.notifier.seen.clear();
  combo->ItemClicked(1);
  EXPECT_EQ(w.notifier.Texts(), (Texts{u"itemclick:CmbMonth", u"itemselect:CmbMonth"}));
  EXPECT_EQ(w.notifier.seen[0].wParam, 1u);
  combo->ItemClicked(1);
  EXPECT_EQ(w.notifier.Texts().back(), u"itemclick:CmbMonth");
  combo->RemoveAll();
  w.Click(w.CenterOf(u"CmbMonth"));
  EXPECT_EQ(w.host.dropDowns.size(), 1u) << "an empty combo opens no list";
}

TEST(Lists, ClickingAnItemSelectsIt) {
  TestWindow w(R"(<List name="lst"><ListLabelElement name="i0" height="20"/>
      <ListContainerElement name="i1" height="20"><Label name="inner"/></ListContainerElement></List>)");
  auto* list = dynamic_cast<List*>(w.Find(u"lst"));
  w.Click({10, 30});
  EXPECT_EQ(list->GetCurSel(), 1) << "a plain label inside a container item lets the item take the click";
  EXPECT_EQ(w.notifier.Texts(), (Texts{u"mouseenter:i1", u"itemclick:lst", u"itemselect:lst"}));
}

TEST(Timers, OneTablePerWindowKeyedByControlAndId) {
  TestWindow w(kButtons);
  Control* root = w.manager.GetRoot();
  Control* b1 = w.Find(u"b1");
  ASSERT_TRUE(w.manager.SetTimer(root, 1000, 500));
  ASSERT_TRUE(w.manager.SetTimer(root, 1000, 500));
  ASSERT_TRUE(w.manager.SetTimer(b1, 1000, 40));
  ASSERT_EQ(w.host.started.size(), 3u);
  EXPECT_EQ(w.host.started[0].first, w.host.started[1].first) << "same control and id: one timer, restarted";
  unsigned rootHost = w.host.started[0].first;
  unsigned b1Host = w.host.started[2].first;
  EXPECT_NE(rootHost, b1Host);
  EXPECT_TRUE(w.manager.OnHostTimer(b1Host));
  EXPECT_FALSE(w.manager.OnHostTimer(12345));
  ASSERT_EQ(w.notifier.seen.size(), 1u);
  EXPECT_EQ(w.notifier.seen[0].type, u"timer");
  EXPECT_EQ(w.notifier.seen[0].sender, u"b1");
  EXPECT_EQ(w.notifier.seen[0].wParam, 1000u);

  root->AsContainer()->Remove(b1);
  EXPECT_EQ(w.host.stopped, (std::vector<unsigned>{b1Host})) << "a removed control's timers stop";
  EXPECT_FALSE(w.manager.OnHostTimer(b1Host));
  EXPECT_TRUE(w.manager.KillTimer(root, 1000));
  EXPECT_FALSE(w.manager.KillTimer(root, 1000));
  EXPECT_FALSE(w.manager.SetTimer(nullptr, 1, 1));
}

}  // namespace
}  // namespace tvui
