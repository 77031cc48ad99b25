#pragma once
// Label and Text: a text (with optional images); Text defaults to word-wrapped, top-aligned text.
#include "ui/control.h"

namespace tvui {

class Label : public Control {
 public:
  std::u16string_view GetClass() const override { return u"Label"; }
};

class Text : public Label {
 public:
  Text();
  std::u16string_view GetClass() const override { return u"Text"; }
};

}  // namespace tvui
