#pragma once
// Shared helpers of the UI model tests: a recording host and a notifier, and a window built from
// XML text.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/skin_builder.h"
#include "ui/ui_manager.h"

namespace tvui::testing {

struct RecordingHost : UiHost {
  std::vector<Rect> invalidated;
  std::vector<std::pair<unsigned, unsigned>> started;  // host id, period
  std::vector<unsigned> stopped;
  std::vector<Combo*> dropDowns;
  void InvalidateRect(const Rect& r) override { invalidated.push_back(r); }
  bool StartTimer(unsigned id, unsigned ms) override {
    started.emplace_back(id, ms);
    return true;
  }
  void StopTimer(unsigned id) override { stopped.push_back(id); }
  void ShowDropDown(Combo* c) override { dropDowns.push_back(c); }
};

struct Recorded {
  std::u16string type;
  std::u16string sender;
  std::uintptr_t wParam;
  std::intptr_t lParam;
};

struct RecordingNotifier : INotify {
  std::vector<Recorded> seen;
  std::function<void(Notification&)> also;
  void Notify(Notification& msg) override {
    seen.push_back({std::u16string(NotifyTypeName(msg.type)), msg.sender ? msg.sender->GetName() : u"", msg.wParam, msg.lParam});
    if (also) also(msg);
  }
  // "type:sender" texts, in order, for compact expectations.
  std::vector<std::u16string> Texts() const {
    std::vector<std::u16string> out;
    for (const auto& r : seen) out.push_back(r.type + u":" + r.sender);
    return out;
  }
};

// A model window: the tree of `xml`, laid out to `size`.
struct TestWindow {
  RecordingHost host;
  RecordingNotifier notifier;
  UiManager manager;
  std::u16string error;

  explicit TestWindow(const std::string& xml, Size size = {200, 100}) {
    manager.SetHost(&host);
    manager.AddNotifier(&notifier);
    SkinBuilder builder;
    SkinResult result;
    if (builder.BuildText(xml, u"test.xml", result)) {
      manager.SetWindowInfo(result.window);
      manager.AttachRoot(std::move(result.root));
    } else {
      error = result.error;
    }
    manager.SetClientSize(size);
    manager.Layout(true);
  }
  Control* Find(std::u16string_view name) { return manager.FindControl(name); }
  Rect PosOf(std::u16string_view name) {
    Control* c = Find(name);
    return c ? c->GetPos() : Rect{-1, -1, -1, -1};
  }
  Point CenterOf(std::u16string_view name) {
    Rect r = PosOf(name);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  void Click(Point p) {
    manager.OnMouseMove(p);
    manager.OnButtonDown(p);
    manager.OnButtonUp(p);
  }
};

}  // namespace tvui::testing
