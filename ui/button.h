#pragma once
// Button: a label with state images (normal, hot, pushed, disabled) and state text colours.
// A press and release inside it sends "click".
#include "ui/label.h"

namespace tvui {

// The four face images of clickable controls, chosen by state.
struct StateImages {
  std::u16string normal;
  std::u16string hot;
  std::u16string pushed;
  std::u16string disabled;
  // The image for the state, falling back to the next plainer one (pushed → hot → normal).
  const std::u16string& For(bool enabled, bool hot, bool pushed) const;
  bool SetAttribute(std::u16string_view name, std::u16string_view value);
};

class Button : public Label {
 public:
  Button();
  std::u16string_view GetClass() const override { return u"Button"; }
  bool TakesClicks() const override { return true; }
  bool SetAttribute(std::u16string_view name, std::u16string_view value) override;

  const std::u16string& GetNormalImage() const { return images_.normal; }
  void SetNormalImage(std::u16string image);
  const std::u16string& GetHotImage() const { return images_.hot; }
  void SetHotImage(std::u16string image);
  const std::u16string& GetPushedImage() const { return images_.pushed; }
  void SetPushedImage(std::u16string image);
  const std::u16string& GetDisabledImage() const { return images_.disabled; }
  void SetDisabledImage(std::u16string image);
  Color GetHotBkColor() const { return hotBkColor_; }

  const std::u16string& StateImage() const override;
  Color StateTextColor() const override;
  void Activate() override;

 protected:
  StateImages images_;
  Color hotTextColor_ = 0;
  Color pushedTextColor_ = 0;
  Color hotBkColor_ = 0;
};

}  // namespace tvui
