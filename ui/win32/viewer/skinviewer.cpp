// skinviewer: opens one skin file in a real window (or an item template inside a plain host window
// with --item), lets it lay out and paint, saves the client area as PNG and exits.
//   skinviewer.exe <skin folder> <xml file> <out.png> [--item] [--wait ms] [--hover name] [--drop name]
// --hover puts the pointer over a control (to see its hot look); --drop opens a combo's list and
// saves the screen around the window, list included.
// Exit codes: 0 saved; 1 bad command line; 2 skin file missing or malformed; 3 window or PNG failure.
// Missing images, skin warnings and lint findings (text that does not fit, controls with no room or
// outside the window) are listed on stderr; they do not fail the run.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "platform/text_codec.h"
#include "platform/win32/scoped_gdi.h"
#include "ui/combo.h"
#include "ui/container.h"
#include "ui/skin_builder.h"
#include "ui/win32/font_cache.h"
#include "ui/win32/image_cache.h"
#include "ui/win32/png_writer.h"
#include "ui/win32/ui_app.h"
#include "ui/win32/window_impl_base.h"

namespace {

using tvui::FromWide;

void Print(const std::u16string& text) {
  std::string narrow = WideToUtf8(text);
  std::fprintf(stderr, "%s\n", narrow.c_str());
}

std::u16string FullPath(const std::u16string& path) {
  wchar_t buffer[MAX_PATH * 4] = {};
  DWORD n = GetFullPathNameW(tvui::WidePtr(path), static_cast<DWORD>(std::size(buffer)), buffer, nullptr);
  return n ? FromWide(buffer) : path;
}

std::u16string Describe(tvui::Control* c) {
  std::u16string name = c->GetName().empty() ? u"(unnamed)" : c->GetName();
  return u"<" + std::u16string(c->GetClass()) + u" " + name + u">";
}

std::u16string Number(long v) { return Utf8ToWide(std::to_string(v)); }

// Lists what a user would find broken: text that does not fit its control, and visible
// controls squeezed to nothing or lying outside the window.
void Lint(tvui::WindowImplBase& window, tvui::FontCache& fonts, tvui::Control* c, int depth = 0) {
  if (!c || !c->IsVisible() || depth > 64) return;
  tvui::Rect r = c->GetPos();
  tvui::Size client = window.GetManager().GetClientSize();
  bool hasLook = !c->GetText().empty() || !c->GetBkImage().empty() || !c->StateImage().empty();
  if (hasLook && (r.Width() <= 0 || r.Height() <= 0))
    Print(u"skinviewer: lint: " + Describe(c) + u" has no room (" + Number(r.Width()) + u"x" +
          Number(r.Height()) + u")");
  else if (hasLook && (r.right > client.cx || r.bottom > client.cy || r.left < 0 || r.top < 0))
    Print(u"skinviewer: lint: " + Describe(c) + u" reaches outside the window");
  if (!c->GetText().empty() && r.Width() > 0 && !dynamic_cast<tvui::Combo*>(c)) {
    tvui::Rect box = r.Deflate(c->GetTextPadding());
    RECT calc{0, 0, box.Width(), 0};
    {
      ScopedWindowDc dc(window.GetHWND());
      ScopedSelection font(dc.get(), fonts.Get(c->GetFont()));
      UINT flags = DT_NOPREFIX | DT_CALCRECT | (c->IsWordBreak() ? DT_WORDBREAK | DT_EDITCONTROL : DT_SINGLELINE);
      DrawTextW(dc.get(), tvui::WidePtr(c->GetText()), -1, &calc, flags);
    }
    if (!c->IsWordBreak() && !c->IsEndEllipsis() && calc.right > box.Width())
      Print(u"skinviewer: lint: text of " + Describe(c) + u" is " + Number(calc.right) +
            u" px wide, the control gives " + Number(box.Width()));
    else if (calc.bottom > box.Height())
      Print(u"skinviewer: lint: text of " + Describe(c) + u" is " + Number(calc.bottom) +
            u" px high, the control gives " + Number(box.Height()));
  }
  if (dynamic_cast<tvui::Combo*>(c)) return;
  if (tvui::Container* box = c->AsContainer()) {
    for (int i = 0; i < box->GetCount(); ++i) Lint(window, fonts, box->GetItemAt(i), depth + 1);
  }
}

class ViewerWindow : public tvui::WindowImplBase {
 public:
  ViewerWindow(std::u16string folder, std::u16string file, bool item)
      : folder_(std::move(folder)), file_(std::move(file)), item_(item) {}
  const wchar_t* GetWindowClassName() const override { return L"TvSkinViewer"; }
  std::u16string GetSkinFolder() override { return folder_; }
  // For an item the host window itself has no skin file; an empty tree is built instead.
  std::u16string GetSkinFile() override { return item_ ? u"" : file_; }
  void InitWindow() override {
    if (!item_) return;
    auto item = CreateItem(file_);
    if (!item) return;
    tvui::Control* root = GetRoot();
    int cx = item->GetFixedWidth() > 0 ? item->GetFixedWidth() : 200;
    int cy = item->GetFixedHeight() > 0 ? item->GetFixedHeight() : 60;
    if (auto* box = root ? root->AsContainer() : nullptr) box->Add(std::move(item));
    SetWindowPos(GetHWND(), nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  void OnFinalMessage(HWND) override { PostQuitMessage(0); }
  void LintAll() {
    GetManager().Layout();
    tvui::FontCache fonts(&GetManager().GetWindowInfo());
    Lint(*this, fonts, GetRoot());
  }

 private:
  std::u16string folder_;
  std::u16string file_;
  bool item_;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 4) {
    std::fprintf(stderr,
                 "usage: skinviewer <skin folder> <xml file> <out.png> [--item] [--wait ms]\n");
    return 1;
  }
  std::u16string folder = FullPath(FromWide(argv[1]));
  std::u16string file = FromWide(argv[2]);
  std::u16string out = FromWide(argv[3]);
  bool item = false;
  int waitMs = 300;
  std::u16string hover;
  std::u16string drop;
  for (int i = 4; i < argc; ++i) {
    if (std::wcscmp(argv[i], L"--item") == 0) {
      item = true;
    } else if (std::wcscmp(argv[i], L"--wait") == 0 && i + 1 < argc) {
      waitMs = _wtoi(argv[++i]);
    } else if (std::wcscmp(argv[i], L"--hover") == 0 && i + 1 < argc) {
      hover = FromWide(argv[++i]);
    } else if (std::wcscmp(argv[i], L"--drop") == 0 && i + 1 < argc) {
      drop = FromWide(argv[++i]);
    } else {
      std::fprintf(stderr, "skinviewer: unknown option %s\n", WideToUtf8(FromWide(argv[i])).c_str());
      return 1;
    }
  }

  // Check the file first so that problems come out as one clear line.
  tvui::SkinBuilder builder(folder);
  tvui::SkinResult result;
  if (!builder.BuildFile(file, result)) {
    Print(u"skinviewer: " + result.error);
    return 2;
  }
  if (item && result.isWindow) Print(u"skinviewer: note: " + file + u" is a window file, shown as an item");
  if (!item && !result.isWindow) Print(u"skinviewer: note: " + file + u" has no <Window> root; use --item for item templates");
  for (const auto& w : result.warnings) Print(u"skinviewer: warning: " + w);

  tvui::UiApp::SetInstance(GetModuleHandleW(nullptr));
  ViewerWindow window(folder, file, item);
  HWND hwnd = window.Create(nullptr, L"skinviewer", WS_POPUP | WS_CLIPCHILDREN, 0, 20, 20, 0, 0);
  if (!hwnd) {
    std::fprintf(stderr, "skinviewer: cannot create the window\n");
    return 3;
  }
  window.ShowWindow(true, false);  // no activation: nothing to type into, and quicker to close
  UpdateWindow(hwnd);
  tvui::UiApp::PumpPending();
  for (int step = 0; step < 2; ++step) {
    const std::u16string& name = step == 0 ? hover : drop;
    if (name.empty()) continue;
    tvui::Control* c = window.FindControl(name);
    if (!c) {
      Print(u"skinviewer: no control named " + name);
      DestroyWindow(hwnd);
      return 1;
    }
    tvui::Rect r = c->GetPos();
    LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageW(hwnd, WM_MOUSEMOVE, 0, at);
    if (step == 1) {
      SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
      SendMessageW(hwnd, WM_LBUTTONUP, 0, at);
    }
  }
  DWORD until = GetTickCount() + static_cast<DWORD>(waitMs);
  while (static_cast<int>(until - GetTickCount()) > 0) {
    if (!tvui::UiApp::PumpPending()) break;
    Sleep(10);
  }
  int code = 0;
  HWND list = window.GetDropDownWindow();
  if (!drop.empty() && !list) Print(u"skinviewer: " + drop + u" opened no list (not a combo, or empty)");
  if (list) {
    RECT a, b, both;
    GetWindowRect(hwnd, &a);
    GetWindowRect(list, &b);
    UnionRect(&both, &a, &b);
    if (!tvui::SaveScreenRectPng(both, out)) {
      Print(u"skinviewer: cannot save " + out);
      code = 3;
    }
  } else if (!window.SaveClientPng(out)) {
    Print(u"skinviewer: cannot save " + out);
    code = 3;
  } else {
    RECT rc;
    GetClientRect(hwnd, &rc);
    std::fprintf(stderr, "skinviewer: saved %ldx%ld\n", rc.right, rc.bottom);
  }
  window.LintAll();
  for (const auto& missing : tvui::ImageCache::Instance().MissingFiles())
    Print(u"skinviewer: missing image " + missing);
  DestroyWindow(hwnd);
  return code;
}
