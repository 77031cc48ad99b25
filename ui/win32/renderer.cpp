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

#include "ui/alpha_blend.h"
#include "ui/button.h"
#include "ui/combo.h"
#include "ui/contrast_picture.h"
#include "ui/container.h"
#include "ui/image_spec.h"
#include "ui/list.h"
#include "ui/nine_grid.h"
#include "ui/option.h"
#include "ui/win32/font_cache.h"
#include "ui/win32/image_cache.h"

namespace tvui {

namespace {

void AppendNumber(std::u16string& key, int v) {
  key += u'|';
  for (char ch : std::to_string(v)) key += static_cast<char16_t>(ch);
}

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

void Renderer::PaintPicture(Control* c, const std::u16string& image, bool foreground) {
  if (image.empty()) return;
  if (!palette_.on) {
    DrawImage(image, c->GetPos());
    return;
  }
  const bool framing = c->AsContainer() || dynamic_cast<Option*>(c) || !c->GetText().empty();
  const Color shape = !c->IsEnabled() ? palette_.grayText : Highlighted(c) ? palette_.highlightText : palette_.text;
  const Contrast contrast{PictureUse{foreground, c->TakesClicks(), framing, false}, shape};
  DrawImage(image, c->GetPos(), &contrast);
}

bool Renderer::DrawImage(const std::u16string& imageText, const Rect& rect) { return DrawImage(imageText, rect, nullptr); }

bool Renderer::DrawImage(const std::u16string& imageText, const Rect& rect, const Contrast* contrast) {
  ImageSpec image;
  if (!ParseImageSpec(imageText, image) || image.file.empty()) return false;
  ImageCache& cache = ImageCache::Instance();
  // The picture's drawing nearest to the window's scale; source rectangles and nine-grid corners
  // are written for the 1x picture and convert by the drawing's own scale.
  int drawnDpi = kBaseDpi;
  const std::u16string path = cache.ResolveForDpi(JoinSkinPath(folder_, image.file), scale_.Dpi(), drawnDpi);
  const Scale drawn(drawnDpi);
  Gdiplus::Bitmap* bmp = cache.Get(path);
  if (!bmp) return false;
  bool silhouette = false;
  if (contrast) {
    PictureUse use = contrast->use;
    use.opaque = PictureIsOpaque(path);
    const ContrastPicture how = ContrastPictureFor(use);
    if (how == ContrastPicture::Hidden) return true;
    silhouette = how == ContrastPicture::Silhouette;
  }
  int iw = static_cast<int>(bmp->GetWidth());
  int ih = static_cast<int>(bmp->GetHeight());
  Rect src = image.hasSource ? drawn.ToDevice(image.source) : Rect{0, 0, iw, ih};
  src = src.Intersect({0, 0, iw, ih});
  if (src.IsEmpty()) return false;
  Rect dst = scale_.ToDevice(image.hasDest ? image.dest.Offset(rect.left, rect.top) : rect);
  if (dst.IsEmpty()) return true;
  const Rect& k = image.corner;
  const bool nineGrid = k.left || k.top || k.right || k.bottom;
  const Rect srcCorner{drawn.ToDevice(k.left), drawn.ToDevice(k.top), drawn.ToDevice(k.right), drawn.ToDevice(k.bottom)};
  const Rect dstCorner{scale_.ToDevice(k.left), scale_.ToDevice(k.top), scale_.ToDevice(k.right), scale_.ToDevice(k.bottom)};

  bool sameSize = dst.Width() == src.Width() && dst.Height() == src.Height();
  // Drawn for this very scale but a pixel off where edge rounding made the place a pixel narrower
  // or wider (a 47-unit cell is 70 or 71 pixels at 150 %): drawn 1:1, never resampled for a pixel.
  if (!sameSize && !nineGrid && drawnDpi == scale_.Dpi() && std::abs(dst.Width() - src.Width()) <= 1 &&
      std::abs(dst.Height() - src.Height()) <= 1) {
    const int w = std::min(dst.Width(), src.Width());
    const int h = std::min(dst.Height(), src.Height());
    src = {src.left, src.top, src.left + w, src.top + h};
    dst = {dst.left, dst.top, dst.left + w, dst.top + h};
    sameSize = true;
  }
  if (sameSize && image.fade >= 255) {
    // Drawn as it is (a nine-grid at its own size is the image itself): one alpha blend of the
    // premultiplied pixels, no scaling and no image attributes.
    const DibPixels* dib = cache.GetDib(path);
    if (!dib) return false;
    if (silhouette) {
      std::u16string key = path + u"|shape";
      for (int v : {src.left, src.top, dst.Width(), dst.Height()}) AppendNumber(key, v);
      BlendSilhouette(key, *dib, src.left, src.top, dst, contrast->color);
    } else {
      Blend(*dib, src.left, src.top, dst);
    }
    return true;
  }
  // Scaled or faded: composed once and then blended 1:1 on every paint.
  std::u16string key = path;
  for (int v : {src.left, src.top, src.right, src.bottom, srcCorner.left, srcCorner.top, srcCorner.right,
                srcCorner.bottom, dstCorner.left, dstCorner.top, dstCorner.right, dstCorner.bottom,
                image.fade, dst.Width(), dst.Height()}) {
    AppendNumber(key, v);
  }
  const DibPixels* dib = nullptr;
  const DibPixels* picture = image.fade >= 255 ? cache.GetDib(path) : nullptr;
  if (picture) {
    // Stretched by the program itself (the same at any place): one drawing per size.
    dib = cache.FindComposed(key);
    if (!dib) {
      dib = cache.ComposePixels(key, dst.Width(), dst.Height(), [&](PixelSurface& surface) {
        const PixelSource source{picture->bits, picture->width, picture->height, picture->width};
        DrawNineGrid(source, src, srcCorner, surface, {0, 0, dst.Width(), dst.Height()}, dstCorner);
      });
    }
  } else {
    // Faded, through GDI+ with the same interpolation a direct draw would use. The place counts
    // too: GDI+ samples stretched parts from device coordinates.
    AppendNumber(key, dst.left);
    AppendNumber(key, dst.top);
    dib = cache.FindComposed(key);
  }
  if (!dib) {
    dib = cache.Compose(key, dst.left, dst.top, dst.Width(), dst.Height(), [&](Gdiplus::Graphics& g) {
      g.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
      g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
      g.SetClip(Gdiplus::Rect(dst.left, dst.top, dst.Width(), dst.Height()));
      ComposeImage(g, bmp, image, src, dst, srcCorner, dstCorner);
    });
    if (!dib) {
      // Not composable (partly left of or above the window): drawn directly.
      ComposeImage(*g_, bmp, image, src, dst, srcCorner, dstCorner);
      return true;
    }
  }
  if (silhouette) BlendSilhouette(key + u"|shape", *dib, 0, 0, dst, contrast->color);
  else Blend(*dib, 0, 0, dst);
  return true;
}

bool Renderer::PictureIsOpaque(const std::u16string& path) {
  static std::map<std::u16string, bool> known;  // UI thread only; a picture's pixels never change
  if (auto it = known.find(path); it != known.end()) return it->second;
  const DibPixels* dib = ImageCache::Instance().GetDib(path);
  const bool opaque = dib && IsMostlyOpaque({dib->bits, dib->width, dib->height, dib->width});
  known.emplace(path, opaque);
  return opaque;
}

void Renderer::BlendSilhouette(std::u16string key, const DibPixels& picture, int sx, int sy, const Rect& dst,
                               Color color) {
  if (sx < 0 || sy < 0 || sx + dst.Width() > picture.width || sy + dst.Height() > picture.height) return;
  AppendNumber(key, static_cast<int>(color & 0xFFFFFF));
  ImageCache& cache = ImageCache::Instance();
  const DibPixels* shape = cache.FindComposed(key);
  if (!shape) {
    shape = cache.ComposePixels(key, dst.Width(), dst.Height(), [&](PixelSurface& surface) {
      const PixelSource part{picture.bits + sy * picture.width + sx, dst.Width(), dst.Height(), picture.width};
      PaintSilhouette(part, surface, color);
    });
  }
  if (shape) Blend(*shape, 0, 0, dst);
}

void Renderer::Blend(const DibPixels& picture, int sx, int sy, const Rect& dst) {
  g_->Flush(Gdiplus::FlushIntentionSync);  // what GDI+ drew so far lies underneath
  if (target_.bits) {
    // In the back buffer's own pixels: GDI's result, without its cost where the picture is opaque
    // or transparent.
    if (sx < 0 || sy < 0 || sx + dst.Width() > picture.width || sy + dst.Height() > picture.height) return;
    const Rect area = dst.Intersect(clip_).Intersect({0, 0, target_.width, target_.height});
    if (area.IsEmpty()) return;
    GdiFlush();
    const std::uint32_t* from = picture.bits + (sy + area.top - dst.top) * picture.width + (sx + area.left - dst.left);
    BlendPremultiplied(from, picture.width, target_.bits + area.top * target_.width + area.left, target_.width,
                       area.Width(), area.Height());
    return;
  }
  if (!memDc_) memDc_ = ScopedMemoryDc(dc_);
  if (!memDc_) return;
  ScopedSelection selected(memDc_.get(), picture.bitmap);
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  GdiAlphaBlend(dc_, dst.left, dst.top, dst.Width(), dst.Height(), memDc_.get(), sx, sy, dst.Width(),
                dst.Height(), blend);
}

void Renderer::ComposeImage(Gdiplus::Graphics& g, Gdiplus::Bitmap* bmp, const ImageSpec& image,
                            const Rect& src, const Rect& dst, const Rect& srcCorner, const Rect& dstCorner) {
  Gdiplus::ImageAttributes attrs;
  attrs.SetWrapMode(Gdiplus::WrapModeTileFlipXY);
  if (image.fade < 255) {
    Gdiplus::ColorMatrix m = {{{1, 0, 0, 0, 0},
                               {0, 1, 0, 0, 0},
                               {0, 0, 1, 0, 0},
                               {0, 0, 0, static_cast<float>(image.fade) / 255.0f, 0},
                               {0, 0, 0, 0, 1}}};
    attrs.SetColorMatrix(&m);
  }
  auto part = [&](int dl, int dt, int dr, int db, int sl, int st, int sr, int sb) {
    if (dr <= dl || db <= dt || sr <= sl || sb <= st) return;
    // Each part on its own: what keeps its size is copied pixel for pixel, what stretches is
    // interpolated.
    const bool sameSize = dr - dl == sr - sl && db - dt == sb - st;
    g.SetInterpolationMode(sameSize ? Gdiplus::InterpolationModeNearestNeighbor
                                    : Gdiplus::InterpolationModeHighQualityBilinear);
    g.DrawImage(bmp, Gdiplus::Rect(dl, dt, dr - dl, db - dt), sl, st, sr - sl, sb - st,
                Gdiplus::UnitPixel, &attrs);
  };
  const Rect& k = srcCorner;
  const Rect& kd = dstCorner;
  if (k.left == 0 && k.top == 0 && k.right == 0 && k.bottom == 0) {
    part(dst.left, dst.top, dst.right, dst.bottom, src.left, src.top, src.right, src.bottom);
    return;
  }
  // Nine-grid: corners keep their size, edges stretch along one axis, the middle along both.
  int xs[4] = {src.left, src.left + k.left, src.right - k.right, src.right};
  int ys[4] = {src.top, src.top + k.top, src.bottom - k.bottom, src.bottom};
  int xd[4] = {dst.left, dst.left + kd.left, dst.right - kd.right, dst.right};
  int yd[4] = {dst.top, dst.top + kd.top, dst.bottom - kd.bottom, dst.bottom};
  for (int row = 0; row < 3; ++row) {
    for (int col = 0; col < 3; ++col) {
      const bool wide = xd[col + 1] - xd[col] != xs[col + 1] - xs[col];
      const bool tall = yd[row + 1] - yd[row] != ys[row + 1] - ys[row];
      if (!wide && !tall) {
        part(xd[col], yd[row], xd[col + 1], yd[row + 1], xs[col], ys[row], xs[col + 1], ys[row + 1]);
        continue;
      }
      // A stretched part reaches one pixel into its neighbours and is clipped to its own place:
      // the outermost pixels of a stretched drawing come out partly transparent under Wine's
      // GDI+, which would show as a seam at the joint.
      const int l = wide && col > 0, r = wide && col < 2, t = tall && row > 0, b = tall && row < 2;
      Gdiplus::Region outer;
      g.GetClip(&outer);
      g.SetClip(Gdiplus::Rect(xd[col], yd[row], xd[col + 1] - xd[col], yd[row + 1] - yd[row]),
                Gdiplus::CombineModeIntersect);
      part(xd[col] - l, yd[row] - t, xd[col + 1] + r, yd[row + 1] + b, xs[col] - l, ys[row] - t,
           xs[col + 1] + r, ys[row + 1] + b);
      g.SetClip(&outer, Gdiplus::CombineModeReplace);
    }
  }
}

}  // namespace tvui
