#include "ui/win32/renderer.h"

#include "ui/win32/gdiplus_include.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "ui/button.h"
#include "ui/combo.h"
#include "ui/container.h"
#include "ui/list.h"
#include "ui/option.h"
#include "ui/win32/font_cache.h"

namespace tvui {

namespace {

// Some CJK fonts map symbols such as ℃ to an empty outline, so GDI neither draws them nor falls
// back to another font. Such a symbol is then written with plain characters instead.
bool FontDrawsGlyph(HDC dc, wchar_t ch) {
  static std::map<std::pair<HGDIOBJ, wchar_t>, bool> known;  // UI thread only
  const auto key = std::make_pair(GetCurrentObject(dc, OBJ_FONT), ch);
  if (auto it = known.find(key); it != known.end()) return it->second;
  GLYPHMETRICS gm{};
  const MAT2 identity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};
  const DWORD size = GetGlyphOutlineW(dc, ch, GGO_NATIVE, &gm, 0, nullptr, &identity);
  const bool draws = size != GDI_ERROR && size > 0;
  known.emplace(key, draws);
  return draws;
}

std::u16string WithDrawableSymbols(HDC dc, const std::u16string& text) {
  if (text.find(u'\u2103') == std::u16string::npos || FontDrawsGlyph(dc, L'\u2103')) return text;
  std::u16string out;
  for (char16_t c : text) {
    if (c == u'\u2103') out += u"\u00B0C";
    else out += c;
  }
  return out;
}

Gdiplus::Color ToGdip(Color c) { return Gdiplus::Color(static_cast<Gdiplus::ARGB>(c)); }

COLORREF ToColorRef(Color c) { return RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF); }

void RoundRectPath(Gdiplus::GraphicsPath& path, const Rect& r, Size round) {
  int w = std::min(round.cx, r.Width());
  int h = std::min(round.cy, r.Height());
  if (w <= 0 || h <= 0) {
    path.AddRectangle(Gdiplus::Rect(r.left, r.top, r.Width(), r.Height()));
    return;
  }
  path.AddArc(r.left, r.top, w, h, 180, 90);
  path.AddArc(r.right - w, r.top, w, h, 270, 90);
  path.AddArc(r.right - w, r.bottom - h, w, h, 0, 90);
  path.AddArc(r.left, r.bottom - h, w, h, 90, 90);
  path.CloseFigure();
}

}  // namespace

Renderer::Renderer(HDC dc, const WindowInfo& info, FontCache& fonts, std::u16string skinFolder,
                   Scale scale, const DibPixels& backBuffer)
    : dc_(dc), info_(info), fonts_(fonts), folder_(std::move(skinFolder)), scale_(scale),
      g_(std::make_unique<Gdiplus::Graphics>(dc)), target_(backBuffer), clip_{0, 0, backBuffer.width, backBuffer.height} {
  g_->SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
  g_->SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  SetBkMode(dc_, TRANSPARENT);
}

Renderer::~Renderer() {
  g_->Flush(Gdiplus::FlushIntentionSync);
}

void Renderer::SetClip(const Rect& clip) {
  clip_ = clip;
  g_->SetClip(Gdiplus::Rect(clip.left, clip.top, clip.Width(), clip.Height()),
              Gdiplus::CombineModeReplace);
  ScopedRegion rgn(CreateRectRgn(clip.left, clip.top, clip.right, clip.bottom));
  SelectClipRgn(dc_, rgn.get());  // the DC keeps a copy
}

void Renderer::FillRect(const Rect& logical, Color color) {
  if (!(color >> 24)) return;
  const Rect rect = scale_.ToDevice(logical);
  Gdiplus::SolidBrush brush(ToGdip(color));
  g_->FillRectangle(&brush, rect.left, rect.top, rect.Width(), rect.Height());
}

void Renderer::FrameRect(const Rect& r, int w, Color color) {
  g_->ResetClip();  // over the whole picture, whatever control was drawn last
  FillRect({r.left, r.top, r.right, r.top + w}, color);
  FillRect({r.left, r.bottom - w, r.right, r.bottom}, color);
  FillRect({r.left, r.top + w, r.left + w, r.bottom - w}, color);
  FillRect({r.right - w, r.top + w, r.right, r.bottom - w}, color);
  g_->Flush(Gdiplus::FlushIntentionSync);
}

void Renderer::PaintWindow(Control* root, const Rect& clip) {
  SetClip(clip);
  // An opaque fill: GDI's, which only writes the pixels (GDI+ would blend them, a cost that grows
  // with the window's pixels, four times over at 200 %).
  if (ScopedBrush brush(CreateSolidBrush(ToColorRef(palette_.on ? palette_.window : info_.bkColor))); brush) {
    RECT rc{clip.left, clip.top, clip.right, clip.bottom};
    ::FillRect(dc_, &rc, brush.get());
  }
  if (root) Paint(root, clip);
  g_->Flush(Gdiplus::FlushIntentionSync);
  SelectClipRgn(dc_, nullptr);
}

void Renderer::Paint(Control* c, const Rect& parentClip) {
  if (!c->IsVisible()) return;
  const Rect pos = scale_.ToDevice(c->GetPos());
  Rect clip = parentClip.Intersect(pos);
  if (clip.IsEmpty()) return;
  SetClip(clip);
  PaintBackground(c, pos);
  PaintPicture(c, c->GetBkImage(), false);
  PaintPicture(c, c->StateImage(), false);
  PaintPicture(c, c->GetForeImage(), true);
  if (dynamic_cast<Combo*>(c) && (palette_.on || c->StateImage().empty())) PaintComboArrow(c, pos);
  PaintText(c);
  // High contrast: a control that takes clicks shows its outline (its picture is not drawn).
  auto* option = dynamic_cast<Option*>(c);
  const bool outline = palette_.on && ((c->TakesClicks() && !option && !OwnerOf(c)) || (option && option->IsSelected()));
  const int borderSize = outline ? std::max(1, c->GetBorderSize()) : c->GetBorderSize();
  if (borderSize > 0 && (outline || (c->GetBorderColor() >> 24))) {
    // Whole device pixels: a 1-unit border stays one sharp line at 150 %.
    const int width = std::max(1, scale_.ToDevice(borderSize));
    Gdiplus::Pen pen(ToGdip(palette_.on ? palette_.text : c->GetBorderColor()), static_cast<Gdiplus::REAL>(width));
    pen.SetAlignment(Gdiplus::PenAlignmentInset);
    const Rect& r = pos;
    Gdiplus::GraphicsPath path;
    RoundRectPath(path, {r.left, r.top, r.right - 1, r.bottom - 1}, DeviceRound(c->GetBorderRound()));
    g_->DrawPath(&pen, &path);
  }
  if (dynamic_cast<Combo*>(c)) return;  // its items live in the drop-down window
  if (Container* box = c->AsContainer()) {
    for (int i = 0; i < box->GetCount(); ++i) Paint(box->GetItemAt(i), clip);
    SetClip(clip);
  }
}

bool Renderer::Highlighted(Control* c) const {
  if (dynamic_cast<Option*>(c)) return false;  // a chosen option is outlined: its texts may lie beside it
  if (auto* button = dynamic_cast<Button*>(c); button && button->IsEnabled() && (c->IsHot() || c->IsPushed()))
    return true;
  if (ItemOwner* owner = OwnerOf(c); owner && dynamic_cast<List*>(c->GetParent())) {
    return c->GetParent()->GetItemIndex(c) == owner->GetCurSel() || c->IsHot();
  }
  return false;
}

void Renderer::PaintBackground(Control* c, const Rect& r) {
  if (palette_.on) {
    if (!Highlighted(c)) return;  // the window's own colour lies beneath already
    Gdiplus::GraphicsPath path;
    RoundRectPath(path, r, DeviceRound(c->GetBorderRound()));
    Gdiplus::SolidBrush brush(ToGdip(palette_.highlight));
    g_->FillPath(&brush, &path);
    return;
  }
  Color color = c->GetBkColor();
  if (auto* option = dynamic_cast<Option*>(c); option && option->IsSelected() && option->GetSelectedBkColor())
    color = option->GetSelectedBkColor();
  else if (auto* button = dynamic_cast<Button*>(c);
           button && button->IsEnabled() && (c->IsHot() || c->IsPushed()) && button->GetHotBkColor())
    color = button->GetHotBkColor();
  if (ItemOwner* owner = OwnerOf(c); owner && dynamic_cast<List*>(c->GetParent())) {
    const ListItemStyle& st = owner->ItemStyle();
    bool selected = c->GetParent()->GetItemIndex(c) == owner->GetCurSel();
    if (selected && st.selectedBkColor) color = st.selectedBkColor;
    else if (c->IsHot() && st.hotBkColor) color = st.hotBkColor;
    else if (!color && st.bkColor) color = st.bkColor;
  }
  if (!(color >> 24)) return;
  Gdiplus::GraphicsPath path;
  RoundRectPath(path, r, DeviceRound(c->GetBorderRound()));
  if (c->GetBkColor2() >> 24) {
    Gdiplus::LinearGradientBrush brush(Gdiplus::Point(r.left, r.top - 1),
                                       Gdiplus::Point(r.left, r.bottom), ToGdip(color),
                                       ToGdip(c->GetBkColor2()));
    g_->FillPath(&brush, &path);
  } else {
    Gdiplus::SolidBrush brush(ToGdip(color));
    g_->FillPath(&brush, &path);
  }
}

void Renderer::PaintComboArrow(Control* c, const Rect& r) {
  Color color = palette_.on ? palette_.text : c->HasTextColor() ? c->GetTextColor() : info_.textColor;
  Gdiplus::Pen pen(ToGdip(color | 0xFF000000), scale_.ToDeviceF(1.5f));
  const float cx = static_cast<float>(r.right) - scale_.ToDeviceF(11);
  const float cy = static_cast<float>(r.top + r.Height() / 2);
  const float w = scale_.ToDeviceF(4);
  const float h = scale_.ToDeviceF(2);
  Gdiplus::PointF pts[3] = {{cx - w, cy - h}, {cx, cy + h}, {cx + w, cy - h}};
  g_->DrawLines(&pen, pts, 3);
}

void Renderer::PaintText(Control* c) {
  std::u16string text = c->GetText();
  if (auto* combo = dynamic_cast<Combo*>(c)) {
    text = combo->GetSelectedText();
    if (text.empty()) text = c->GetText();
  }
  if (text.empty()) return;
  Color color = c->StateTextColor();
  if (c->IsEnabled() && !c->HasTextColor() && color == c->GetTextColor()) color = info_.textColor;
  int font = c->GetFont();
  if (ItemOwner* owner = OwnerOf(c); owner && dynamic_cast<List*>(c->GetParent())) {
    const ListItemStyle& st = owner->ItemStyle();
    bool selected = c->GetParent()->GetItemIndex(c) == owner->GetCurSel();
    if (selected && st.selectedTextColor) color = st.selectedTextColor;
    else if (c->IsHot() && st.hotTextColor) color = st.hotTextColor;
    else if (!c->HasTextColor() && st.textColor) color = st.textColor;
    if (font < 0) font = st.font;
  }
  if (palette_.on) {
    color = !c->IsEnabled() ? palette_.grayText : Highlighted(c) ? palette_.highlightText : palette_.text;
  }
  Rect r = c->GetPos().Deflate(c->GetTextPadding());
  PaintString(text, r, color, font, c->GetAlign(), c->GetVAlign(), c->IsWordBreak(), c->IsEndEllipsis());
}

void Renderer::PaintString(const std::u16string& text, const Rect& logical, Color color, int font,
                        HAlign align, VAlign valign, bool wordBreak, bool endEllipsis) {
  if (text.empty() || logical.IsEmpty()) return;
  const Rect rect = scale_.ToDevice(logical);
  g_->Flush(Gdiplus::FlushIntentionSync);
  // Alpha 00 counts as opaque (skins commonly give text as 00RRGGBB); alpha 01…FE blends the text
  // over what is already drawn, in the back buffer's own pixels. (Those are known from the back
  // buffer itself: what the system reports of a DIB section's row order differs between systems.)
  unsigned alpha = color >> 24;
  std::vector<std::uint32_t> under;
  Rect area;
  if (alpha > 0 && alpha < 255 && target_.bits) {
    area = rect.Intersect({0, 0, target_.width, target_.height}).Intersect(clip_);
    GdiFlush();
    for (int y = area.top; y < area.bottom; ++y) {
      const std::uint32_t* row = target_.bits + static_cast<std::ptrdiff_t>(y) * target_.width;
      under.insert(under.end(), row + area.left, row + area.right);
    }
  }
  if (HFONT wanted = fonts_.Get(font); wanted != font_) {
    // The first selection keeps the DC's own font, which goes back when the renderer ends.
    if (!fontSelection_) fontSelection_.emplace(dc_, wanted);
    else SelectObject(dc_, wanted);
    font_ = wanted;
  }
  const std::u16string shown = WithDrawableSymbols(dc_, text);
  SetTextColor(dc_, ToColorRef(color));
  UINT flags = DT_NOPREFIX;
  flags |= align == HAlign::kCenter ? DT_CENTER : align == HAlign::kRight ? DT_RIGHT : DT_LEFT;
  if (endEllipsis) flags |= DT_END_ELLIPSIS;
  RECT rc{rect.left, rect.top, rect.right, rect.bottom};
  if (wordBreak) {
    flags |= DT_WORDBREAK | DT_EDITCONTROL;
    RECT calc = rc;
    ::DrawTextW(dc_, reinterpret_cast<const wchar_t*>(shown.c_str()), -1, &calc, flags | DT_CALCRECT);
    int h = calc.bottom - calc.top;
    if (h < rect.Height()) {
      if (valign == VAlign::kCenter) rc.top += (rect.Height() - h) / 2;
      else if (valign == VAlign::kBottom) rc.top = rc.bottom - h;
    }
  } else {
    flags |= DT_SINGLELINE;
    flags |= valign == VAlign::kTop ? DT_TOP : valign == VAlign::kBottom ? DT_BOTTOM : DT_VCENTER;
  }
  ::DrawTextW(dc_, reinterpret_cast<const wchar_t*>(shown.c_str()), -1, &rc, flags);
  if (!under.empty()) {
    GdiFlush();
    size_t i = 0;
    for (int y = area.top; y < area.bottom; ++y) {
      std::uint32_t* row = target_.bits + static_cast<std::ptrdiff_t>(y) * target_.width;
      for (int x = area.left; x < area.right; ++x, ++i) {
        std::uint32_t& now = row[x];
        const std::uint32_t was = under[i];
        if (now == was) continue;
        std::uint32_t out = 0xFF000000u;
        for (int shift = 0; shift < 24; shift += 8) {
          int a = (was >> shift) & 0xFF;
          int b = (now >> shift) & 0xFF;
          out |= static_cast<std::uint32_t>(a + (b - a) * static_cast<int>(alpha) / 255) << shift;
        }
        now = out;
      }
    }
  }
}

}  // namespace tvui
