#include "app/logic/skins.h"

#include "platform/text_utils.h"

namespace {

std::u16string ImageText(std::u16string_view stem, int skin) {
  return u"file='" + std::u16string(stem) + IntToText(skin) + u".png' corner='1,1,1,1'";
}

}  // namespace

bool IsSkinNumber(int skin) { return skin >= 1 && skin <= kSkinCount; }

SkinImages SkinImagesOf(int skin) {
  if (!IsSkinNumber(skin)) return {};
  return {ImageText(u"bg", skin), ImageText(u"bgb", skin), ImageText(u"DlgWeatheBk", skin)};
}

std::u16string SkinChoiceText(int skin) { return IsSkinNumber(skin) ? u"bg" + IntToText(skin) : u""; }

int StoredSkinNumber(std::u16string_view stored) {
  for (int skin = 1; skin <= kSkinCount; ++skin) {
    if (EqualsNoCase(stored, SkinChoiceText(skin))) return skin;
  }
  return 0;
}

int SkinOfPicture(std::u16string_view path) {
  const size_t slash = path.find_last_of(u"\\/");
  std::u16string_view name = slash == std::u16string_view::npos ? path : path.substr(slash + 1);
  for (std::u16string_view variant : {u"@1.5x.png", u"@2x.png", u".png"}) {
    if (name.size() > variant.size() && EqualsNoCase(name.substr(name.size() - variant.size()), variant)) {
      name.remove_suffix(variant.size());
      break;
    }
    if (variant == u".png") return 0;
  }
  if (name.empty() || name.back() < u'1' || name.back() > u'9') return 0;
  const int skin = name.back() - u'0';
  name.remove_suffix(1);
  for (std::u16string_view stem : {u"bg", u"bgb", u"DlgWeatheBk"}) {
    if (EqualsNoCase(name, stem)) return skin;
  }
  return 0;
}

SkinSwitcher::SkinSwitcher(Effects effects) : effects_(std::move(effects)), images_(SkinImagesOf(1)) {}

bool SkinSwitcher::Apply(int skin) {
  if (!IsSkinNumber(skin)) return false;
  images_ = SkinImagesOf(skin);
  active_ = skin;
  // A window without "chwea" keeps its background; the pop-up images change all the same.
  if (effects_.setBackground) effects_.setBackground(images_.background);
  return true;
}

bool SkinSwitcher::ApplyStored() {
  int skin = StoredSkinNumber(effects_.readStored ? effects_.readStored() : std::u16string());
  if (skin == 0 || !Apply(skin)) return false;
  settled_ = skin;
  return true;
}

void SkinSwitcher::Restore() {
  // With nothing stored, re-applying "the stored skin" would change nothing and leave the
  // previewed skin on the window for good.
  if (!ApplyStored()) Apply(settled_);
}

bool SkinSwitcher::ApplyAndStore(int skin) {
  if (!Apply(skin)) return false;
  settled_ = skin;
  if (effects_.store) effects_.store(SkinChoiceText(skin));
  return true;
}
