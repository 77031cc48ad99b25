#include "ui/label.h"

namespace tvui {

Text::Text() {
  SetAttribute(u"wordbreak", u"true");
  SetAttribute(u"valign", u"top");
}

}  // namespace tvui
