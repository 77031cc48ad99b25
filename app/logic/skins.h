#pragma once
// The nine skins: the images that make up skin N, the stored choice in "skin", and the switcher
// the main window applies them through. Portable; the window supplies the three effects.
#include <functional>
#include <string>
#include <string_view>

inline constexpr int kSkinCount = 9;

// The three images of one skin, as image attribute texts ("file='bg3.png' corner='1,1,1,1'").
struct SkinImages {
  std::u16string background;    // the main window's "chwea"
  std::u16string title;         // "title" of the settings, about, prompt and city-picker windows
  std::u16string weatherPopup;  // "weather" of the seven-day pop-up
  friend bool operator==(const SkinImages&, const SkinImages&) = default;
};

bool IsSkinNumber(int skin);
// Images of skin 1 … 9; empty texts for any other number.
SkinImages SkinImagesOf(int skin);
// The stored text of skin 1 … 9 ("bg5"); empty for any other number.
std::u16string SkinChoiceText(int skin);
// The skin a stored "skin" value names: "bg1" … "bg9" in any letter case; 0 for anything else
// (absent, "bg0", "bg10", " bg3", "skin3").
int StoredSkinNumber(std::u16string_view stored);
// The skin whose picture the file at path is, by its name ("bg3.png", "skin15\\bgb3@2x.png",
// "DlgWeatheBk3@1.5x.png", any letter case): 1 … 9; 0 for any other file ("bgskin_n.png", "bg10.png").
int SkinOfPicture(std::u16string_view path);

// The main window's skin. Skin 1's images are active until another is applied.
class SkinSwitcher {
 public:
  struct Effects {
    // Sets the main window's background image; false when the window has no "chwea".
    std::function<bool(const std::u16string& image)> setBackground;
    // The stored "skin" value, and storing one.
    std::function<std::u16string()> readStored;
    std::function<void(const std::u16string& value)> store;
  };
  explicit SkinSwitcher(Effects effects);

  // Applies skin 1 … 9: the background (when the window has one) and the active title and
  // weather pop-up images. False, and nothing changed, for any other number.
  bool Apply(int skin);
  // Applies the stored skin; false (nothing changed) when none is stored.
  bool ApplyStored();
  // Ends a preview: the stored skin, or with none stored the skin shown before the preview
  // began (skin 1, the skin file's own, until one was stored or applied from storage).
  void Restore();
  // Applies skin 1 … 9 and stores it as "bgN"; any other number changes and stores nothing.
  bool ApplyAndStore(int skin);

  int ActiveSkin() const { return active_; }
  // Whether skin's pictures may be drawn soon: the skin shown, or the one a preview returns to.
  // Those of any other skin can be let go.
  bool Uses(int skin) const { return skin == active_ || skin == settled_; }
  const std::u16string& TitleImage() const { return images_.title; }
  const std::u16string& WeatherPopupImage() const { return images_.weatherPopup; }

 private:
  Effects effects_;
  int active_ = 1;
  int settled_ = 1;  // the last skin not merely previewed
  SkinImages images_;
};
