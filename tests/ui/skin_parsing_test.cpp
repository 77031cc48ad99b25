// Skin texts: attribute values, image attribute texts, whole files, and how bad input fails.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

#include "platform/file_utils.h"
#include "platform/text_codec.h"
#include "ui/attribute_values.h"
#include "ui/button.h"
#include "ui/combo.h"
#include "ui/image_spec.h"
#include "ui/skin_builder.h"
#include "ui_test_support.h"

namespace tvui {
namespace {

TEST(AttributeValues, ParseNumbersRectsAndColours) {
  Rect r;
  EXPECT_TRUE(ParseRect(u" 1, 2 ,3,4 ", r));
  EXPECT_EQ(r, (Rect{1, 2, 3, 4}));
  EXPECT_FALSE(ParseRect(u"1,2,3", r));
  EXPECT_FALSE(ParseRect(u"1,2,x,4", r));
  EXPECT_FALSE(ParseRect(u"1,2,3,4,5", r));
  EXPECT_EQ(r, (Rect{1, 2, 3, 4})) << "a failed parse leaves the output alone";
  int v = 0;
  EXPECT_FALSE(ParseInt(u"99999999999999", v));
  EXPECT_TRUE(ParseInt(u"-12", v));
  EXPECT_EQ(v, -12);

  Color c = 0;
  EXPECT_TRUE(ParseColor(u"#FF81BA2F", c));
  EXPECT_EQ(c, 0xFF81BA2Fu);
  EXPECT_TRUE(ParseColor(u"#00B7B7B7", c));
  EXPECT_EQ(c, 0x00B7B7B7u);
  EXPECT_TRUE(ParseColor(u"#336699", c));
  EXPECT_EQ(c, 0xFF336699u) << "six digits are opaque";
  EXPECT_TRUE(ParseColor(u"0xffffbb17", c));
  EXPECT_EQ(c, 0xFFFFBB17u);
  EXPECT_FALSE(ParseColor(u"#12345", c));
  EXPECT_FALSE(ParseColor(u"#GG000000", c));

  bool b = false;
  EXPECT_TRUE(ParseBool(u"TRUE", b));
  EXPECT_TRUE(b);
  EXPECT_FALSE(ParseBool(u"yes", b));
}

TEST(ImageSpecText, KeyValueListsAndBareNames) {
  ImageSpec s;
  ASSERT_TRUE(ParseImageSpec(u"file='bg1.png' corner='1,1,1,1'", s));
  EXPECT_EQ(s.file, u"bg1.png");
  EXPECT_EQ(s.corner, (Rect{1, 1, 1, 1}));
  EXPECT_FALSE(s.hasSource);

  ASSERT_TRUE(ParseImageSpec(u"file='day_n.png' source='0,0,47,46' dest='2,2,45,44' fade='200'", s));
  EXPECT_TRUE(s.hasSource);
  EXPECT_EQ(s.source, (Rect{0, 0, 47, 46}));
  EXPECT_EQ(s.dest, (Rect{2, 2, 45, 44}));
  EXPECT_EQ(s.fade, 200);

  ASSERT_TRUE(ParseImageSpec(u"weather\\night\\sunny.png", s));
  EXPECT_EQ(s.file, u"weather\\night\\sunny.png");
  ASSERT_TRUE(ParseImageSpec(u"", s));
  EXPECT_TRUE(s.file.empty());

  EXPECT_FALSE(ParseImageSpec(u"file='bg1.png", s)) << "unbalanced quote";
  EXPECT_FALSE(ParseImageSpec(u"corner='1,1,1,1'", s)) << "no file";
  EXPECT_FALSE(ParseImageSpec(u"file='a.png' fade='300'", s));
  EXPECT_TRUE(s.file.empty());
}

TEST(ImageSpecText, SkinPathsUseOneSeparator) {
  EXPECT_EQ(JoinSkinPath(u"C:\\app\\skin15\\", u"weather\\night\\sunny.png"),
            u"C:/app/skin15/weather/night/sunny.png");
  EXPECT_EQ(JoinSkinPath(u"/opt/skin15", u"weather/day/rain.png"), u"/opt/skin15/weather/day/rain.png");
  EXPECT_EQ(JoinSkinPath(u"skin15", u"C:\\x.png"), u"C:/x.png");
}

TEST(SkinBuilding, WindowAttributesFontsAndControls) {
  testing::TestWindow w(R"(<?xml version="1.0" encoding="utf-8"?>
<Window size="358,460" caption="0,0,0,36" roundcorner="6,6" bkcolor="#FFFAFAFA" textcolor="#FF333333">
  <Font id="0" name="Microsoft YaHei" size="12"/>
  <Font id="1" name="微软雅黑" size="14" bold="true" default="true"/>
  <VerticalLayout name="chwea" bkimage="file='bg1.png' corner='1,1,1,1'">
    <Button name="closebtn" text="关闭" normalimage="close_n.png" tooltip="关闭" tag="7" userdata="x:y"/>
    <Combo name="CmbYear"><ListLabelElement text="1950年"/><ListLabelElement text="1951年" selected="true"/></Combo>
  </VerticalLayout>
</Window>)");
  ASSERT_TRUE(w.error.empty()) << std::string(w.error.begin(), w.error.end());
  const WindowInfo& info = w.manager.GetWindowInfo();
  EXPECT_EQ(info.size, (Size{358, 460}));
  EXPECT_EQ(info.caption.bottom, 36);
  EXPECT_EQ(info.roundCorner, (Size{6, 6}));
  EXPECT_EQ(info.Font(-1).name, u"微软雅黑") << "the default font";
  EXPECT_TRUE(info.Font(-1).bold);
  EXPECT_EQ(info.Font(0).size, 12);
  EXPECT_EQ(info.Font(42).id, 1) << "unknown ids fall back to the default";

  auto* close = dynamic_cast<Button*>(w.Find(u"CLOSEBTN"));
  ASSERT_NE(close, nullptr) << "names are found ignoring case";
  EXPECT_EQ(close->GetText(), u"关闭");
  EXPECT_EQ(close->GetTag(), 7);
  EXPECT_EQ(close->GetUserData(), u"x:y");
  EXPECT_EQ(close->StateImage(), u"close_n.png");
  auto* combo = dynamic_cast<Combo*>(w.Find(u"CmbYear"));
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(combo->GetCount(), 2);
  EXPECT_EQ(combo->GetCurSel(), 1);
  EXPECT_EQ(combo->GetSelectedText(), u"1951年");
}

TEST(SkinBuilding, BadInputFailsWithAReasonAndLine) {
  SkinBuilder builder;
  SkinResult r;
  EXPECT_FALSE(builder.BuildText("<Window><VerticalLayout></Window>", u"a.xml", r));
  EXPECT_NE(r.error.find(u"a.xml:1"), std::u16string::npos);
  EXPECT_NE(r.error.find(u"malformed XML"), std::u16string::npos);
  EXPECT_EQ(r.root, nullptr);

  EXPECT_FALSE(builder.BuildText("<Window>\n<VerticalLayout>\n<Slider/>\n</VerticalLayout></Window>", u"b.xml", r));
  EXPECT_NE(r.error.find(u"b.xml:3: unknown element <Slider>"), std::u16string::npos);

  EXPECT_FALSE(builder.BuildText("<Label><Label/></Label>", u"c.xml", r));
  EXPECT_NE(r.error.find(u"cannot hold"), std::u16string::npos);

  EXPECT_FALSE(builder.BuildText("<Window size=\"10,10\"><Font id=\"0\"/></Window>", u"d.xml", r));
  EXPECT_NE(r.error.find(u"no control element"), std::u16string::npos);

  EXPECT_FALSE(builder.BuildText("", u"e.xml", r));
  EXPECT_FALSE(r.error.empty());

  std::string deep;
  for (int i = 0; i < 200; ++i) deep += "<Container>";
  for (int i = 0; i < 200; ++i) deep += "</Container>";
  EXPECT_FALSE(builder.BuildText(deep, u"f.xml", r));
  EXPECT_NE(r.error.find(u"nested too deeply"), std::u16string::npos);

  // A skin file cut off part-way (a broken copy) fails at the parser's row and column.
  std::string main;
  ASSERT_TRUE(ReadWholeFile(Utf8ToWide(TAVRINO_SOURCE_DIR "/skin15/DlgMain.xml"), main));
  for (size_t cut : {main.size() / 3, main.size() / 2, main.size() - 12}) {
    EXPECT_FALSE(builder.BuildText(main.substr(0, cut), u"DlgMain.xml", r)) << cut;
    EXPECT_NE(r.error.find(u"DlgMain.xml:"), std::u16string::npos) << cut;
    EXPECT_NE(r.error.find(u"malformed XML"), std::u16string::npos) << cut;
  }

  SkinBuilder missing(u"/nonexistent/skin");
  EXPECT_FALSE(missing.BuildFile(u"DlgMain.xml", r));
  EXPECT_NE(r.error.find(u"cannot open skin file"), std::u16string::npos);
  const char16_t loneSurrogate[] = {u'a', 0xD800, u'.', u'x', u'm', u'l', 0};
  EXPECT_FALSE(missing.BuildFile(loneSurrogate, r)) << "a name that is no path fails, it does not throw";
}

TEST(SkinBuilding, BadValuesAndUnknownAttributesAreWarningsNotFailures) {
  SkinBuilder builder;
  SkinResult r;
  ASSERT_TRUE(builder.BuildText(
      "<HorizontalLayout width=\"abc\" wobble=\"1\" bkimage=\"file='x.png\"><Label name=\"a\"/></HorizontalLayout>",
      u"g.xml", r));
  ASSERT_NE(r.root, nullptr);
  EXPECT_EQ(r.root->GetFixedWidth(), 0);
  EXPECT_EQ(r.warnings.size(), 3u);
}

TEST(SkinBuilding, MangledFilesNeverCrashAndAlwaysSayWhy) {
  std::string original;
  ASSERT_TRUE(ReadWholeFile(JoinSkinPath(
      std::filesystem::path(TAVRINO_SOURCE_DIR "/tests/ui/skins").u16string(), u"basic.xml"), original));
  std::mt19937 random(20240210);
  const std::string junk = "<>/=\"' &;#x0\xE4\xB8\xAD\xFF,-9";
  int failures = 0;
  for (int round = 0; round < 300; ++round) {
    std::string text = original;
    int edits = 1 + static_cast<int>(random() % 6);
    for (int e = 0; e < edits && !text.empty(); ++e) {
      size_t at = random() % text.size();
      switch (random() % 3) {
        case 0: text.erase(at, 1 + random() % 12); break;
        case 1: text.insert(at, 1, junk[random() % junk.size()]); break;
        default: text[at] = junk[random() % junk.size()]; break;
      }
    }
    testing::TestWindow w(text, {320, 240});
    if (!w.error.empty()) {
      ++failures;
      continue;
    }
    // Whatever was built can be laid out, hit and clicked.
    for (int y = 0; y < 240; y += 17) {
      for (int x = 0; x < 320; x += 23) w.Click({x, y});
    }
  }
  EXPECT_GT(failures, 0);
  EXPECT_LT(failures, 300);
}

TEST(SkinBuilding, ItemTemplatesBuildIndependentCopiesFromOneRead) {
  auto dir = std::filesystem::temp_directory_path() / ("tvui_tpl_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
  std::filesystem::create_directories(dir);
  {
    std::ofstream f(dir / "day.xml", std::ios::binary);
    f << "\xEF\xBB\xBF<Container width=\"47\" height=\"46\"><Option name=\"isSelect\" group=\"Menology\"/>"
         "<Label name=\"day\" float=\"true\" pos=\"0,4,47,24\" mouse=\"false\"/></Container>";
  }
  SkinBuilder builder(dir.u16string());
  auto a = builder.CreateItem(u"day.xml");
  ASSERT_NE(a, nullptr);
  // The file is read once: later copies come from the cached document.
  std::filesystem::remove(dir / "day.xml");
  auto b = builder.CreateItem(u"day.xml");
  ASSERT_NE(b, nullptr);
  EXPECT_NE(a.get(), b.get());
  a->FindByName(u"day")->SetText(u"1");
  EXPECT_EQ(b->FindByName(u"day")->GetText(), u"") << "copies share nothing";
  EXPECT_EQ(a->GetFixedWidth(), 47);
  std::u16string error;
  EXPECT_EQ(builder.CreateItem(u"nothere.xml", &error), nullptr);
  EXPECT_FALSE(error.empty());
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace tvui
