#include "app/logic/skin_chooser.h"

#include "app/logic/skins.h"

int SkinTileNumber(std::u16string_view controlName) { return StoredSkinNumber(controlName); }

SkinChooserStep SkinChooserModel::MouseEnter(std::u16string_view controlName) {
  int tile = SkinTileNumber(controlName);
  if (tile == 0) return {};
  previewing_ = tile;
  return {tile, std::u16string(kSkinTileHoverImage), app::UM_SKIN_PREVIEW, static_cast<uintptr_t>(tile), false};
}

SkinChooserStep SkinChooserModel::MouseLeave(std::u16string_view controlName) {
  int tile = SkinTileNumber(controlName);
  if (tile == 0) return {};
  previewing_ = 0;
  return {tile, u"", app::UM_SKIN_RESTORE, 0, false};
}

SkinChooserStep SkinChooserModel::Click(std::u16string_view controlName) {
  int tile = SkinTileNumber(controlName);
  if (tile == 0) tile = 1;
  int hovered = previewing_;
  previewing_ = 0;  // the clicked skin is stored: nothing is left to restore
  return {hovered, u"", app::UM_SKIN_APPLY, static_cast<uintptr_t>(tile), true};
}

SkinChooserStep SkinChooserModel::Hidden() {
  int tile = previewing_;
  if (tile == 0) return {};
  previewing_ = 0;
  return {tile, u"", app::UM_SKIN_RESTORE, 0, false};
}

void PopupReopenGuard::Hidden(uint32_t tick) {
  hiddenAt_ = tick;
  hidden_ = true;
}

bool PopupReopenGuard::MayOpen(uint32_t tick) const {
  return !hidden_ || static_cast<uint32_t>(tick - hiddenAt_) >= kGapMs;
}
