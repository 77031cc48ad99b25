// The pop-ups of the main window without windows: skins and the chooser, the settings switches,
// the feedback window's questions and layouts, where each pop-up stands, the contact links.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/logic/contact_links.h"
#include "app/logic/feedback_window.h"
#include "app/logic/popup_placement.h"
#include "app/logic/settings_switches.h"
#include "app/logic/skin_chooser.h"
#include "app/logic/skins.h"

namespace {

// The main window's side of the skin messages, with "userconfig" as a map.
struct FakeMainWindow {
  bool hasBackground = true;
  std::vector<std::u16string> backgrounds;  // every image set on "chwea", in order
  std::map<std::u16string, std::u16string> config;
  int stores = 0;
  SkinSwitcher switcher{{
      [this](const std::u16string& image) {
        if (!hasBackground) return false;
        backgrounds.push_back(image);
        return true;
      },
      [this] { return config[u"skin"]; },
      [this](const std::u16string& value) {
        config[u"skin"] = value;
        ++stores;
      },
  }};

  // What the main window does with a message the chooser posted.
  void Receive(const SkinChooserStep& step) {
    if (step.message == app::UM_SKIN_PREVIEW) switcher.Apply(static_cast<int>(step.wParam));
    if (step.message == app::UM_SKIN_RESTORE) switcher.Restore();
    if (step.message == app::UM_SKIN_APPLY) switcher.ApplyAndStore(static_cast<int>(step.wParam));
  }
  std::u16string Shown() const { return backgrounds.empty() ? u"" : backgrounds.back(); }
};

TEST(Skins, StoredChoiceIgnoresCaseAndNothingElse) {
  EXPECT_EQ(SkinImagesOf(3), (SkinImages{u"file='bg3.png' corner='1,1,1,1'", u"file='bgb3.png' corner='1,1,1,1'",
                                         u"file='DlgWeatheBk3.png' corner='1,1,1,1'"}));
  EXPECT_EQ(SkinImagesOf(0), SkinImages{});
  EXPECT_EQ(SkinImagesOf(10), SkinImages{});

  FakeMainWindow w;
  EXPECT_EQ(w.switcher.TitleImage(), u"file='bgb1.png' corner='1,1,1,1'") << "skin 1 until another is applied";
  w.config[u"skin"] = u"BG3";
  EXPECT_TRUE(w.switcher.ApplyStored());
  EXPECT_EQ(w.Shown(), u"file='bg3.png' corner='1,1,1,1'");
  EXPECT_EQ(w.switcher.ActiveSkin(), 3);
  EXPECT_EQ(w.switcher.WeatherPopupImage(), u"file='DlgWeatheBk3.png' corner='1,1,1,1'");

  for (const char16_t* foreign : {u"", u"bg0", u"bg10", u"bg", u" bg5", u"bg5 ", u"skin5", u"bg٥", u"5"}) {
    w.config[u"skin"] = foreign;
    EXPECT_FALSE(w.switcher.ApplyStored()) << "applied a stored skin from a foreign value";
    EXPECT_EQ(w.switcher.ActiveSkin(), 3);
  }
  EXPECT_EQ(w.backgrounds.size(), 1u);
  EXPECT_EQ(w.stores, 0) << "reading the choice never writes it";

  // Other numbers change nothing and store nothing.
  EXPECT_FALSE(w.switcher.ApplyAndStore(0));
  EXPECT_FALSE(w.switcher.ApplyAndStore(10));
  EXPECT_EQ(w.stores, 0);
  EXPECT_EQ(w.switcher.ActiveSkin(), 3);

  // A main skin without "chwea": its background stays, the pop-up images still follow.
  FakeMainWindow bare;
  bare.hasBackground = false;
  EXPECT_TRUE(bare.switcher.ApplyAndStore(7));
  EXPECT_TRUE(bare.backgrounds.empty());
  EXPECT_EQ(bare.switcher.TitleImage(), u"file='bgb7.png' corner='1,1,1,1'");
  EXPECT_EQ(bare.config[u"skin"], u"bg7");
}

TEST(Skins, HoverPreviewsLeaveRestoresClickStores) {
  FakeMainWindow w;
  w.config[u"skin"] = u"bg2";
  w.switcher.ApplyStored();
  SkinChooserModel chooser;

  SkinChooserStep enter = chooser.MouseEnter(u"bg5");
  EXPECT_EQ(enter.tile, 5);
  EXPECT_EQ(enter.foreImage, u"bgskin_n.png");
  EXPECT_FALSE(enter.hide);
  w.Receive(enter);
  EXPECT_EQ(w.Shown(), u"file='bg5.png' corner='1,1,1,1'");
  SkinChooserStep leave = chooser.MouseLeave(u"bg5");
  EXPECT_EQ(leave.tile, 5);
  EXPECT_EQ(leave.foreImage, u"");
  w.Receive(leave);
  EXPECT_EQ(w.Shown(), u"file='bg2.png' corner='1,1,1,1'") << "leaving the tile brings the stored skin back";
  EXPECT_EQ(w.stores, 0);
  EXPECT_EQ(w.config[u"skin"], u"bg2");

  w.Receive(chooser.MouseEnter(u"BG5"));
  SkinChooserStep click = chooser.Click(u"bg5");
  EXPECT_TRUE(click.hide);
  EXPECT_EQ(click.tile, 5) << "the hovered tile loses its frame";
  w.Receive(click);
  EXPECT_EQ(w.config[u"skin"], u"bg5");
  EXPECT_EQ(w.Shown(), u"file='bg5.png' corner='1,1,1,1'");
  // The hide that follows the click restores nothing: the clicked skin is the stored one now.
  EXPECT_EQ(chooser.Hidden().message, 0u);

  // Hidden by Escape or lost focus while a tile is hovered: the preview does not survive.
  w.Receive(chooser.MouseEnter(u"bg8"));
  EXPECT_EQ(w.Shown(), u"file='bg8.png' corner='1,1,1,1'");
  SkinChooserStep hidden = chooser.Hidden();
  EXPECT_EQ(hidden.tile, 8);
  w.Receive(hidden);
  EXPECT_EQ(w.Shown(), u"file='bg5.png' corner='1,1,1,1'");
  EXPECT_EQ(chooser.Previewing(), 0);

  // Nothing stored: the end of a preview brings back the skin shown before it.
  FakeMainWindow fresh;
  SkinChooserModel second;
  fresh.Receive(second.MouseEnter(u"bg6"));
  fresh.Receive(second.MouseLeave(u"bg6"));
  EXPECT_EQ(fresh.Shown(), u"file='bg1.png' corner='1,1,1,1'") << "the preview outlived the hover";
  EXPECT_EQ(fresh.switcher.TitleImage(), u"file='bgb1.png' corner='1,1,1,1'");
  EXPECT_EQ(fresh.stores, 0);

  // Anything but a tile counts as tile 1; other controls' hovers do nothing.
  EXPECT_EQ(chooser.MouseEnter(u"panel").message, 0u);
  EXPECT_EQ(chooser.MouseLeave(u"bg10").message, 0u);
  SkinChooserStep other = chooser.Click(u"panel");
  EXPECT_EQ(other.message, app::UM_SKIN_APPLY);
  EXPECT_EQ(other.wParam, 1u);
}

// The pictures kept decoded: those of the skin shown and of the one a preview returns to.
TEST(Skins, PicturesKeptAreTheShownAndTheSettledSkins) {
  for (int skin = 1; skin <= kSkinCount; ++skin) {
    const SkinImages images = SkinImagesOf(skin);
    for (const auto& text : {images.background, images.title, images.weatherPopup}) {
      const size_t open = text.find(u'\'') + 1;
      const std::u16string file = text.substr(open, text.find(u'\'', open) - open);
      EXPECT_EQ(SkinOfPicture(u"C:\\app\\skin15\\" + file), skin);
    }
  }
  EXPECT_EQ(SkinOfPicture(u"skin15/BG4@1.5X.PNG"), 4);
  EXPECT_EQ(SkinOfPicture(u"dlgweathebk9@2x.png"), 9);
  for (const char16_t* other : {u"bgskin_n.png", u"bg10.png", u"bg0.png", u"skin_t3.png", u"bg3.bmp", u"xbg3.png",
                                u"bg3@3x.png", u"bg@2x.png", u".png", u"", u"bg3\\panel.png"}) {
    EXPECT_EQ(SkinOfPicture(other), 0);
  }

  FakeMainWindow w;
  w.config[u"skin"] = u"bg2";
  w.switcher.ApplyStored();
  w.Receive({0, u"", app::UM_SKIN_PREVIEW, 7, false});
  for (int skin = 1; skin <= kSkinCount; ++skin) EXPECT_EQ(w.switcher.Uses(skin), skin == 2 || skin == 7) << skin;
  w.Receive({0, u"", app::UM_SKIN_APPLY, 7, false});
  for (int skin = 1; skin <= kSkinCount; ++skin) EXPECT_EQ(w.switcher.Uses(skin), skin == 7) << skin;
}

TEST(Skins, ReopenGuardSwallowsTheClickThatClosedTheChooser) {
  PopupReopenGuard guard;
  EXPECT_TRUE(guard.MayOpen(100)) << "never hidden: opens even right after boot";
  guard.Hidden(5000);
  EXPECT_FALSE(guard.MayOpen(5000));
  EXPECT_FALSE(guard.MayOpen(5299));
  EXPECT_TRUE(guard.MayOpen(5300));
  guard.Hidden(0xFFFFFF00u);
  EXPECT_FALSE(guard.MayOpen(0x00000010u)) << "across the tick's wrap";
  EXPECT_TRUE(guard.MayOpen(0x00000100u));
}

TEST(SettingsSwitches, ClickTurnsStoredValuesOverAndLeavesForeignOnes) {
  const StoredSwitch* push = FindStoredSwitch(u"TIP_ALLOWPUSH");
  ASSERT_NE(push, nullptr);
  EXPECT_EQ(push->key, u"allow_push");
  const StoredSwitch* ue = FindStoredSwitch(u"tip_joinue");
  ASSERT_NE(ue, nullptr);
  EXPECT_EQ(ue->key, u"join_ue");
  EXPECT_EQ(FindStoredSwitch(u"tip_autostart"), nullptr);

  struct Case {
    const char16_t* value;
    int pushEvent;
    int ueEvent;
    std::optional<std::u16string> store;
  };
  const Case cases[] = {
      {u"", 14004, 14006, u"true"},         // absent: turned on
      {u"false", 14003, 14005, u"true"},
      {u"FALSE", 14003, 14005, u"true"},
      {u"true", 14004, 14006, u"false"},
      {u"True", 14004, 14006, u"false"},
      {u"yes", 14004, 14006, std::nullopt},  // foreign: reported, never overwritten
      {u"0", 14004, 14006, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ClickStoredSwitch(*push, c.value), (SwitchClick{c.pushEvent, c.store}));
    EXPECT_EQ(ClickStoredSwitch(*ue, c.value), (SwitchClick{c.ueEvent, c.store}));
  }
  EXPECT_TRUE(IsSwitchOn(u"TRUE"));
  EXPECT_FALSE(IsSwitchOn(u"yes"));
  EXPECT_FALSE(IsSwitchOn(u""));

  // The taskbar clock's switch is on until turned off: absent reads on and a click turns it off.
  const StoredSwitch* clock = FindStoredSwitch(u"tip_clockclick");
  ASSERT_NE(clock, nullptr);
  EXPECT_EQ(clock->key, u"clock_click");
  EXPECT_TRUE(IsSwitchOn(*clock, u""));
  EXPECT_FALSE(IsSwitchOn(*clock, u"false"));
  EXPECT_FALSE(IsSwitchOn(*clock, u"yes"));
  EXPECT_FALSE(IsSwitchOn(*push, u""));
  EXPECT_EQ(ClickStoredSwitch(*clock, u""), (SwitchClick{14008, u"false"}));
  EXPECT_EQ(ClickStoredSwitch(*clock, u"false"), (SwitchClick{14007, u"true"}));
  EXPECT_EQ(ClickStoredSwitch(*clock, u"yes"), (SwitchClick{14008, std::nullopt}));

  EXPECT_EQ(ClickAutostartSwitch(false).usageEvent, 14001);
  EXPECT_TRUE(ClickAutostartSwitch(false).turnOn);
  EXPECT_EQ(ClickAutostartSwitch(true).usageEvent, 14002);
  EXPECT_FALSE(ClickAutostartSwitch(true).turnOn);
}

TEST(FeedbackWindow, EachQuestionKeepsOneAnswer) {
  // The options as the window holds them: ungrouped, so a click toggles the clicked one; the
  // click's rule then clears the other answers of its question.
  std::map<std::u16string, bool> selected;
  const std::vector<std::vector<std::u16string>> questions = {
      {u"opshiyonga", u"opshiyongb", u"opshiyongc"},
      {u"opjianbiana", u"opjianbianb", u"opjianbianc"},
      {u"optuijiana", u"optuijianb"},
      {u"opautostarta", u"opautostartb"}};
  selected[u"opautostarta"] = true;  // the skin's default answer
  std::vector<int> events;
  auto click = [&](const std::u16string& name) {
    selected[name] = !selected[name];
    FeedbackClick c = ClickFeedbackControl(name);
    events.push_back(c.usageEvent);
    for (std::u16string_view mate : c.clears) selected[std::u16string(mate)] = false;
  };
  const char16_t* sequence[] = {u"opshiyonga", u"opshiyongb", u"opjianbianc", u"opjianbiana", u"optuijianb",
                                u"optuijiana", u"opautostartb", u"opshiyongc", u"opjianbianb"};
  for (const char16_t* name : sequence) {
    click(name);
    for (const auto& q : questions) {
      int on = 0;
      for (const auto& o : q) on += selected[o] ? 1 : 0;
      EXPECT_LE(on, 1) << "two answers to one question";
    }
  }
  EXPECT_TRUE(selected[u"opshiyongc"]);
  EXPECT_FALSE(selected[u"opshiyongb"]) << "\"opshiyongb\" after \"opshiyonga\", then \"opshiyongc\"";
  EXPECT_TRUE(selected[u"opjianbianb"]);
  EXPECT_TRUE(selected[u"optuijiana"]);
  EXPECT_TRUE(selected[u"opautostartb"]);
  EXPECT_FALSE(selected[u"opautostarta"]);
  EXPECT_EQ(events, (std::vector<int>{15001, 15002, 15006, 15004, 15008, 15007, 15010, 15003, 15005}));

  EXPECT_EQ(ClickFeedbackControl(u"closex").action, FeedbackAction::kHide);
  EXPECT_EQ(ClickFeedbackControl(u"closex").usageEvent, 15011);
  EXPECT_EQ(ClickFeedbackControl(u"OK").action, FeedbackAction::kConfirm);
  EXPECT_EQ(ClickFeedbackControl(u"ok").usageEvent, 15012);
  EXPECT_EQ(ClickFeedbackControl(u"sendqq").action, FeedbackAction::kOpenContact);
  EXPECT_EQ(ClickFeedbackControl(u"sendqq").usageEvent, 15013);
  EXPECT_EQ(ClickFeedbackControl(u"opautostarta").usageEvent, 15009);
  EXPECT_EQ(ClickFeedbackControl(u"title").usageEvent, 0);
}

TEST(FeedbackWindow, TwoLayoutsAndPlacementBesideTheMainWindow) {
  FeedbackLayout with = FeedbackLayoutFor(true);
  EXPECT_TRUE(with.autostartQuestion);
  EXPECT_EQ(with.height, 320);
  EXPECT_EQ(with.sendqq, (tvui::Rect{10, 210, 150, 228}));
  EXPECT_EQ(with.ok, (tvui::Rect{90, 240, 180, 265}));
  FeedbackLayout without = FeedbackLayoutFor(false);
  EXPECT_FALSE(without.autostartQuestion);
  EXPECT_EQ(without.height, 290);
  EXPECT_EQ(without.sendqq, (tvui::Rect{10, 160, 150, 178}));
  EXPECT_EQ(without.ok, (tvui::Rect{90, 200, 180, 225}));

  // Taskbar at the bottom of 1920 x 1080 (anchor 1562,580), six-row month (top 534): to the left.
  Anchor bottom{1562, 580, TaskbarEdge::kBottom, true};
  EXPECT_EQ(PlaceFeedback(bottom, 534, 290), (tvui::Rect{1322, 534, 1562, 824}));
  // Taskbar at the left: to the right of the 358-pixel window.
  Anchor left{40, 620, TaskbarEdge::kLeft, true};
  EXPECT_EQ(PlaceFeedback(left, 620, 320), (tvui::Rect{398, 620, 638, 940}));

  // Below the header buttons of DlgMain.xml ("skin" 274,4,298,28; "set" 300,4,324,28).
  tvui::Rect main{1562, 580, 1920, 1040};
  EXPECT_EQ(PlaceSkinChooser(main, {274, 4, 298, 28}), (tvui::Rect{1656, 733, 1854, 873}));
  EXPECT_EQ(PlaceSettings(main, {300, 4, 324, 28}), (tvui::Rect{1622, 733, 1862, 960}));
  EXPECT_EQ(PlaceAbout(main, {300, 4, 324, 28}), (tvui::Rect{1592, 708, 1898, 906}));
}

TEST(ContactLinks, OnlyPlainNumbersAndWebAddressesReachTheShell) {
  EXPECT_EQ(ContactLink(u"800012345"), u"tencent://message/?uin=800012345");
  EXPECT_EQ(ContactLink(u" 800012345\r\n"), u"tencent://message/?uin=800012345");
  for (const char16_t* bad : {u"", u"12 34", u"123&calc", u"1234567890123456", u"８００", u"-1"}) {
    EXPECT_EQ(ContactLink(bad), u"") << "a link from a foreign account";
  }
  EXPECT_EQ(WebSiteLink(u"http://www.example.com/"), u"http://www.example.com/");
  EXPECT_EQ(WebSiteLink(u"HTTPS://example.com"), u"HTTPS://example.com");
  for (const char16_t* bad : {u"", u"http://", u"https:///x", u"file:///C:/Windows/notepad.exe",
                              u"C:\\Windows\\notepad.exe", u"www.example.com", u"http://a b",
                              u"http://x\" --flag", u"javascript:alert(1)"}) {
    EXPECT_EQ(WebSiteLink(bad), u"") << "a link from a foreign address";
  }
}

}  // namespace
