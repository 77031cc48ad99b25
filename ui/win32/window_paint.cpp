// WindowImplBase: the back buffer. Invalidated places are gathered and handed to the system once,
// the tree is laid out and painted into the buffer, and the buffer copied to the screen (or saved
// as PNG, or drawn at another size out of sight).
#include "ui/win32/window_impl_base.h"

#include "ui/win32/dib_section.h"
#include "ui/win32/png_writer.h"
#include "ui/win32/renderer.h"

namespace tvui {

bool WindowImplBase::EnsureBackBuffer(int cx, int cy) { return back_.Ensure(cx, cy); }

bool WindowImplBase::Render(Rect& clip) {
  const Size client = clientPx_;
  if (client.cx <= 0 || client.cy <= 0) return false;
  manager_.Layout();
  if (!EnsureBackBuffer(client.cx, client.cy)) return false;
  clip = clip.Intersect({0, 0, client.cx, client.cy});
  if (clip.IsEmpty()) return false;
  {
    const DibPixels back = back_.Pixels();
    Renderer renderer(back_.Dc(), manager_.GetWindowInfo(), fonts_, builder_ ? builder_->Folder() : u"", scale_, back);
    renderer.SetPalette(palette_);
    renderer.PaintWindow(manager_.GetRoot(), clip);
    PaintFocusMark(renderer);
  }
  GdiFlush();
  return true;
}

void WindowImplBase::Paint(HDC target, const RECT& area) {
  Rect clip{area.left, area.top, area.right, area.bottom};
  if (!Render(clip)) return;
  BitBlt(target, clip.left, clip.top, clip.Width(), clip.Height(), back_.Dc(), clip.left, clip.top,
         SRCCOPY);
  manager_.TakeDirty();
}

bool WindowImplBase::SaveClientPng(const std::u16string& path) {
  const Size client = clientPx_;
  Rect all{0, 0, client.cx, client.cy};
  if (!Render(all)) return false;
  return SavePixelsAsPng(back_.Pixels().bits, client.cx, client.cy, back_.Width() * 4, path);
}


void WindowImplBase::PrepareSize(int cx, int cy, const std::function<void(bool)>& dress) {
  if (!hwnd_ || cx <= 0 || cy <= 0) return;
  const Size own = clientPx_;
  if (own == Size{cx, cy}) return;
  // What was waiting to be painted stays waiting; what the two layouts and the dressing move there
  // and back is not painted at all.
  const Rect waiting = pendingDirty_;
  if (dress) dress(true);
  SetClientPixels({cx, cy});
  Rect all{0, 0, cx, cy};
  Render(all);
  if (dress) dress(false);
  SetClientPixels(own);
  manager_.Layout();
  manager_.TakeDirty();
  pendingDirty_ = waiting;
}


void WindowImplBase::InvalidateRect(const Rect& rect) {
  if (!hwnd_ || rect.IsEmpty()) return;
  // Gathered and handed to the system once (each call is a trip to the window server under Wine,
  // and a month change invalidates some two hundred small places).
  pendingDirty_ = pendingDirty_.IsEmpty() ? rect : pendingDirty_.Union(rect);
  LayoutNeeded();
}

void WindowImplBase::FlushInvalidation() {
  if (!hwnd_ || pendingDirty_.IsEmpty()) return;
  const Rect dirty = scale_.ToDevice(pendingDirty_);
  RECT rc{dirty.left, dirty.top, dirty.right, dirty.bottom};
  pendingDirty_ = {};
  ::InvalidateRect(hwnd_, &rc, FALSE);
}

void WindowImplBase::UpdateNow() {
  if (!hwnd_) return;
  manager_.Layout();
  FlushInvalidation();
  ::UpdateWindow(hwnd_);
}

void WindowImplBase::LayoutNeeded() {
  if (!hwnd_ || layoutPosted_) return;
  layoutPosted_ = ::PostMessageW(hwnd_, LayoutMessage(), 0, 0) != FALSE;
}


}  // namespace tvui
