// Renderer: the skin's pictures. Each is taken in the drawing nearest to the window's scale, drawn
// 1:1 where it fits, else stretched (nine-grid) or faded once per size and then blended; in high
// contrast some are left out or drawn as silhouettes in the system's colours.
#include "ui/win32/renderer.h"

#include "ui/win32/gdiplus_include.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>

#include "ui/alpha_blend.h"
#include "ui/contrast_picture.h"
#include "ui/image_spec.h"
#include "ui/nine_grid.h"
#include "ui/option.h"
#include "ui/win32/image_cache.h"

namespace tvui {

namespace {

void AppendNumber(std::u16string& key, int v) {
  key += u'|';
  for (char ch : std::to_string(v)) key += static_cast<char16_t>(ch);
}

}  // namespace

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
