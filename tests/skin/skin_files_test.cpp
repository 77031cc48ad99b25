// Checks the shipped skin folder against what the program's windows look up in it: every layout
// parses, every image a layout or the program names is there with the size the layouts assume,
// and every control the windows find by name exists with the right kind.
#include <gtest/gtest.h>
#include <tinyxml.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::string SkinDir() {
  std::string root = TAVRINO_SOURCE_DIR;
#ifdef _WIN32
  if (!root.empty() && root[0] == '/') root = "Z:" + root;  // Wine maps the Linux root to Z:
#endif
  return root + "/skin15/";
}

const char* const kLayouts[] = {"DlgMain.xml", "day.xml",    "tooltip.xml", "DlgWeather.xml",
                                "sevendays.xml", "DlgCity.xml", "MenuWnd.xml", "set.xml",
                                "skin.xml",    "about.xml",  "surveys.xml", "remind.xml"};

// The control names each window finds, with the element kind the code relies on ("" = any).
const std::map<std::string, std::vector<std::pair<std::string, std::string>>> kRequired = {
    {"DlgMain.xml",
     {{"CmbYear", "Combo"}, {"CmbMonth", "Combo"}, {"CmbHoliday", "Combo"}, {"hour", ""},
      {"minute", ""}, {"sec", ""}, {"weather", ""}, {"temperature", ""}, {"airQuality", ""},
      {"worldday", ""}, {"chineseday", ""}, {"refresh", "Button"}, {"curcity", ""},
      {"menology", "TileLayout"}, {"xcity", "Combo"}, {"chwea", ""}, {"skin", "Button"},
      {"set", "Button"}, {"tv_mouth_info", ""}, {"sendqq", "Button"}, {"close", "Button"},
      {"note", "Button"}, {"closebtn", "Button"}, {"city", "Button"}, {"returntoday", "Button"},
      {"remind", "Button"}, {"monLeft", "Button"}, {"monRight", "Button"}}},
    {"day.xml", {{"isSelect", "Option"}, {"img", ""}, {"day", ""}, {"ChineseDay", ""}, {"remindmark", ""}}},
    {"tooltip.xml", {{"day", ""}, {"chinsesday", ""}, {"tip", ""}, {"sword", ""}, {"svoid", ""}, {"remind", ""}}},
    {"remind.xml",
     {{"title", ""}, {"remind_day", ""}, {"closex", "Button"}, {"remind_list", "List"}, {"edit_title", ""},
      {"edit_date", ""}, {"edit_time", ""}, {"edit_notice", ""}, {"date_hint", ""}, {"problem", ""},
      {"kind0", "Option"}, {"kind1", "Option"}, {"kind2", "Option"}, {"kind3", "Option"}, {"kind4", "Option"},
      {"btn_new", "Button"}, {"btn_delete", "Button"}, {"btn_save", "Button"}}},
    {"DlgWeather.xml",
     {{"weather", ""}, {"temperature", ""}, {"city", ""}, {"wind", ""}, {"air", ""},
      {"sevenweather", ""}, {"moreweather", ""}, {"closebtn", "Button"}}},
    {"sevendays.xml", {{"LabDay", ""}, {"LabWeather", ""}, {"LabTemperature", ""}}},
    {"DlgCity.xml",
     {{"title", ""}, {"CmbProvinces", "Combo"}, {"CmbCity", "Combo"}, {"closebtn", "Button"},
      {"currentposbtn", "Button"}, {"BtnSure", "Button"}, {"addcity", ""}}},
    {"MenuWnd.xml",
     {{"menu_datetime", "Button"}, {"menu_startingup", "Option"}, {"menu_about", "Button"},
      {"menu_quit", "Button"}}},
    {"set.xml",
     {{"title", ""}, {"closex", "Button"}, {"tip_autostart", "Option"}, {"tip_allowpush", "Option"},
      {"tip_joinue", "Option"}, {"tip_clockclick", "Option"}, {"tip_modifytime", "Button"}}},
    {"skin.xml",
     {{"bg1", "Button"}, {"bg2", "Button"}, {"bg3", "Button"}, {"bg4", "Button"}, {"bg5", "Button"},
      {"bg6", "Button"}, {"bg7", "Button"}, {"bg8", "Button"}, {"bg9", "Button"}}},
    {"about.xml", {{"title", ""}, {"closex", "Button"}, {"ver", ""}, {"url", "Button"}, {"sendqq", "Button"}}},
    {"surveys.xml",
     {{"title", ""}, {"closex", "Button"}, {"ok", "Button"}, {"sendqq", "Button"}, {"laautostart", ""},
      {"opautostarta", "Option"}, {"opautostartb", "Option"}, {"opshiyonga", "Option"},
      {"opshiyongb", "Option"}, {"opshiyongc", "Option"}, {"opjianbiana", "Option"},
      {"opjianbianb", "Option"}, {"opjianbianc", "Option"}, {"optuijiana", "Option"},
      {"optuijianb", "Option"}}},
};

// Weather pictures: names with a day and a night picture, and names with one picture.
const char* const kWeatherDayNight[] = {"sunny", "cloudy", "shower", "snowShower"};
const char* const kWeatherSingle[] = {
    "overcast",  "thundershower", "thundershowerHail", "sleet",         "lightRain",
    "moderateRain", "heavyRain",  "rainstorm",         "downpour",      "heavyRainfall",
    "lightSnow", "moderateSnow",  "heavySnow",         "heavySnowfall", "fog",
    "frost",     "sandstorm",     "flyAsh",            "quicksand",     "heavySandstorm",
    "haze"};

const char* const kImageAttributes[] = {"bkimage",       "normalimage",   "hotimage",
                                        "pushedimage",   "disabledimage", "foreimage",
                                        "selectedimage", "selectedhotimage"};

struct Layout {
  std::string file;
  TiXmlDocument doc;
};

bool LoadLayout(const std::string& file, TiXmlDocument& doc) {
  return doc.LoadFile((SkinDir() + file).c_str(), TIXML_ENCODING_UTF8);
}

void Walk(const TiXmlElement* e, const std::function<void(const TiXmlElement&)>& f) {
  for (; e; e = e->NextSiblingElement()) {
    f(*e);
    Walk(e->FirstChildElement(), f);
  }
}

// "file='a\b.png' corner='1,1,1,1'" or a bare "a.png" -> "a/b.png".
std::string ImageFile(const std::string& value) {
  std::string file = value;
  size_t at = value.find("file='");
  if (at != std::string::npos) {
    size_t end = value.find('\'', at + 6);
    file = value.substr(at + 6, end == std::string::npos ? std::string::npos : end - at - 6);
  }
  for (char& c : file)
    if (c == '\\') c = '/';
  return file;
}

bool PngSize(const std::string& path, int& w, int& h) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  unsigned char b[24] = {};
  size_t n = std::fread(b, 1, sizeof b, f);
  std::fclose(f);
  static const unsigned char sig[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  if (n != sizeof b || std::memcmp(b, sig, 8) != 0 || std::memcmp(b + 12, "IHDR", 4) != 0) return false;
  w = (b[16] << 24) | (b[17] << 16) | (b[18] << 8) | b[19];
  h = (b[20] << 24) | (b[21] << 16) | (b[22] << 8) | b[23];
  return true;
}

bool Exists(const std::string& relative) { return fs::is_regular_file(fs::path(SkinDir() + relative)); }

const TiXmlElement* FindNamed(const TiXmlElement* root, const std::string& name) {
  const TiXmlElement* found = nullptr;
  Walk(root, [&](const TiXmlElement& e) {
    const char* n = e.Attribute("name");
    if (!found && n && name == n) found = &e;
  });
  return found;
}

void ExpectPngSize(const std::string& file, int w, int h) {
  int aw = 0, ah = 0;
  ASSERT_TRUE(PngSize(SkinDir() + file, aw, ah)) << file << " is not a readable PNG";
  EXPECT_EQ(aw, w) << file;
  EXPECT_EQ(ah, h) << file;
}

int Field(const char* text, int index) {
  int v[4] = {};
  if (!text || std::sscanf(text, "%d,%d,%d,%d", &v[0], &v[1], &v[2], &v[3]) < index + 1) return -1;
  return v[index];
}

}  // namespace

TEST(SkinFiles, EveryLayoutParsesWithOneRootControl) {
  for (const char* file : kLayouts) {
    TiXmlDocument doc;
    ASSERT_TRUE(LoadLayout(file, doc)) << file << ": " << doc.ErrorDesc() << " at row " << doc.ErrorRow();
    const TiXmlElement* root = doc.RootElement();
    ASSERT_NE(root, nullptr) << file;
    if (std::string(root->Value()) == "Window") {
      int controls = 0;
      for (const TiXmlElement* c = root->FirstChildElement(); c; c = c->NextSiblingElement())
        if (std::string(c->Value()) != "Font") ++controls;
      EXPECT_EQ(controls, 1) << file << ": a window holds exactly one root control";
    }
  }
  // No stray layouts: every XML file in the folder is one the program opens.
  std::set<std::string> known(std::begin(kLayouts), std::end(kLayouts));
  for (const auto& entry : fs::directory_iterator(fs::path(SkinDir()))) {
    if (entry.path().extension() == ".xml") {
      EXPECT_TRUE(known.count(entry.path().filename().string())) << entry.path().filename().string();
    }
  }
}

TEST(SkinFiles, EveryImageALayoutNamesExists) {
  int images = 0;
  for (const char* file : kLayouts) {
    TiXmlDocument doc;
    ASSERT_TRUE(LoadLayout(file, doc)) << file;
    Walk(doc.RootElement(), [&](const TiXmlElement& e) {
      for (const char* attr : kImageAttributes) {
        const char* value = e.Attribute(attr);
        if (!value || !*value) continue;
        ++images;
        std::string image = ImageFile(value);
        EXPECT_TRUE(Exists(image)) << file << ": " << attr << " names missing " << image;
      }
    });
  }
  EXPECT_GT(images, 50);
}

TEST(SkinFiles, ImagesTheProgramComposesExist) {
  std::vector<std::string> names = {"day_n.png", "day_n46.png", "day_s.png", "select.png", "release.png",
                                    "work.png",  "bglong.png",  "bgshort.png", "bgskin_n.png"};
  for (int n = 1; n <= 9; ++n) {
    names.push_back("bg" + std::to_string(n) + ".png");
    names.push_back("bgb" + std::to_string(n) + ".png");
    names.push_back("DlgWeatheBk" + std::to_string(n) + ".png");
  }
  for (int f = 0; f <= 23; ++f) names.push_back("r" + std::to_string(f) + ".png");
  for (const char* size : {"", "small"}) {
    for (const char* w : kWeatherDayNight) {
      names.push_back(std::string("weather/day/") + w + size + ".png");
      names.push_back(std::string("weather/night/") + w + size + ".png");
    }
    for (const char* w : kWeatherSingle) names.push_back(std::string("weather/") + w + size + ".png");
  }
  for (const std::string& name : names) {
    int w = 0, h = 0;
    EXPECT_TRUE(PngSize(SkinDir() + name, w, h)) << name << " missing or not a PNG";
  }
}

TEST(SkinFiles, EachWindowHasTheControlsItLooksUp) {
  for (const auto& [file, controls] : kRequired) {
    TiXmlDocument doc;
    ASSERT_TRUE(LoadLayout(file, doc)) << file;
    std::map<std::string, int> seen;
    Walk(doc.RootElement(), [&](const TiXmlElement& e) {
      if (const char* n = e.Attribute("name")) ++seen[n];
    });
    for (const auto& [name, kind] : controls) {
      const TiXmlElement* e = FindNamed(doc.RootElement(), name);
      ASSERT_NE(e, nullptr) << file << " lacks \"" << name << "\"";
      EXPECT_EQ(seen[name], 1) << file << ": \"" << name << "\" must be unique";
      if (!kind.empty()) {
        EXPECT_EQ(std::string(e->Value()), kind) << file << ": \"" << name << "\"";
      }
    }
  }
}

TEST(SkinFiles, WindowSizesMatchThePlacementCode) {
  const std::map<std::string, std::pair<int, int>> sizes = {
      {"DlgMain.xml", {358, 460}}, {"tooltip.xml", {230, 110}}, {"DlgWeather.xml", {196, 205}},
      {"set.xml", {240, 227}},     {"skin.xml", {198, 140}},    {"about.xml", {306, 198}},
      {"surveys.xml", {240, 320}}, {"remind.xml", {400, 352}}};
  for (const auto& [file, size] : sizes) {
    TiXmlDocument doc;
    ASSERT_TRUE(LoadLayout(file, doc)) << file;
    const char* text = doc.RootElement()->Attribute("size");
    int w = 0, h = 0;
    ASSERT_TRUE(text && std::sscanf(text, "%d,%d", &w, &h) == 2) << file;
    EXPECT_EQ(w, size.first) << file;
    EXPECT_EQ(h, size.second) << file;
  }
}

TEST(SkinFiles, BackgroundsAndCellsHaveTheirDrawnSizes) {
  for (int n = 1; n <= 9; ++n) {
    ExpectPngSize("bg" + std::to_string(n) + ".png", 358, 460);
    ExpectPngSize("DlgWeatheBk" + std::to_string(n) + ".png", 196, 205);
  }
  ExpectPngSize("day_n.png", 47, 46);
  ExpectPngSize("day_n46.png", 46, 46);
  ExpectPngSize("day_s.png", 47, 46);
  ExpectPngSize("select.png", 47, 46);
  // The same picture in both sizes.
  for (const char* w : kWeatherSingle) {
    ExpectPngSize(std::string("weather/") + w + ".png", 56, 56);
    ExpectPngSize(std::string("weather/") + w + "small.png", 28, 28);
  }
}

// Windows on scaled displays draw the variant drawn for their scale, so each picture has its
// 1.5x and 2x drawings, sized as the UI rounds edges (halves up), and nothing else is a variant.
TEST(SkinFiles, EveryImageHasItsScaledDrawings) {
  int pictures = 0;
  for (const auto& entry : fs::recursive_directory_iterator(SkinDir())) {
    const fs::path& path = entry.path();
    if (path.extension() != ".png") continue;
    const std::string stem = path.stem().string();
    const size_t at = stem.find('@');
    if (at != std::string::npos) {
      const std::string tag = stem.substr(at);
      EXPECT_TRUE(tag == "@1.5x" || tag == "@2x") << path;
      const fs::path base = path.parent_path() / (stem.substr(0, at) + ".png");
      EXPECT_TRUE(fs::exists(base)) << path << " has no 1x picture";
      continue;
    }
    ++pictures;
    int w = 0, h = 0;
    ASSERT_TRUE(PngSize(path.string(), w, h)) << path;
    for (const auto& [tag, num, den] : {std::make_tuple("@1.5x", 3, 2), std::make_tuple("@2x", 2, 1)}) {
      const fs::path variant = path.parent_path() / (stem + tag + ".png");
      int vw = 0, vh = 0;
      EXPECT_TRUE(PngSize(variant.string(), vw, vh)) << variant << " missing";
      EXPECT_EQ(vw, (2 * w * num + den) / (2 * den)) << variant;
      EXPECT_EQ(vh, (2 * h * num + den) / (2 * den)) << variant;
    }
  }
  EXPECT_GT(pictures, 100);
}

TEST(SkinFiles, MonthCardImagesFillTheCardExactly) {
  // The month card is what remains of the window under the header; its picture must not stretch,
  // and six week rows make the window (and the card) one 46-pixel row taller.
  TiXmlDocument doc;
  ASSERT_TRUE(LoadLayout("DlgMain.xml", doc));
  const TiXmlElement* root = doc.RootElement();
  int windowH = Field(root->Attribute("size"), 1);
  const TiXmlElement* header = FindNamed(root, "header");
  const TiXmlElement* card = FindNamed(root, "tv_mouth_info");
  ASSERT_TRUE(header && card);
  int headerH = std::atoi(header->Attribute("height"));
  int cardW = 358 - Field(card->Attribute("padding"), 0) - Field(card->Attribute("padding"), 2);
  int cardH = windowH - headerH - Field(card->Attribute("padding"), 1) - Field(card->Attribute("padding"), 3);
  ExpectPngSize("bgshort.png", cardW, cardH);
  ExpectPngSize("bglong.png", cardW, cardH + 46);

  // Seven cells of 47 fit the grid's width.
  const char* inset = card->Attribute("inset");
  EXPECT_EQ(cardW - Field(inset, 0) - Field(inset, 2), 7 * 47);
}

TEST(SkinFiles, ControlsTheProgramMovesSitInAParentAtTheWindowOrigin) {
  // The program moves these with window-client coordinates; the skin places them with float
  // positions, which agree only when every parent starts at the window's top-left corner.
  const std::pair<const char*, const char*> moved[] = {
      {"DlgMain.xml", "airQuality"}, {"DlgWeather.xml", "air"}, {"surveys.xml", "sendqq"}, {"surveys.xml", "ok"}};
  for (const auto& [file, name] : moved) {
    TiXmlDocument doc;
    ASSERT_TRUE(LoadLayout(file, doc)) << file;
    const TiXmlElement* e = FindNamed(doc.RootElement(), name);
    ASSERT_NE(e, nullptr) << file << " " << name;
    EXPECT_STREQ(e->Attribute("float"), "true") << file << " " << name;
    for (const TiXmlNode* p = e->Parent(); p && p->ToElement() && std::string(p->Value()) != "Window";
         p = p->Parent()) {
      const TiXmlElement* a = p->ToElement();
      EXPECT_EQ(a->Attribute("padding"), nullptr) << file << ": a parent of " << name << " has padding";
      EXPECT_EQ(a->Attribute("float"), nullptr) << file << ": a parent of " << name << " floats";
      const TiXmlElement* first = p->Parent()->FirstChildElement();
      while (first && std::string(first->Value()) == "Font") first = first->NextSiblingElement();
      EXPECT_EQ(first, a) << file << ": a parent of " << name << " is not its container's first child";
      const TiXmlElement* up = p->Parent()->ToElement();
      if (up && std::string(up->Value()) != "Window") {
        EXPECT_EQ(up->Attribute("inset"), nullptr) << file << ": a parent of " << name << " is inset";
      }
    }
  }
}
