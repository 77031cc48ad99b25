#pragma once
// The running program's state as its test hook tells it (app/README.md): "key=value" lines, read
// by the program's window tests and by the whole-program benchmarks. Windows only.
#include <windows.h>

#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>

#include "app/win32/test_hook_reader.h"

namespace tvtest {

inline std::string Narrow(const std::u16string& s) {
  std::string out;
  int n = WideCharToMultiByte(CP_UTF8, 0, reinterpret_cast<const wchar_t*>(s.c_str()), static_cast<int>(s.size()),
                              nullptr, 0, nullptr, nullptr);
  out.resize(n);
  WideCharToMultiByte(CP_UTF8, 0, reinterpret_cast<const wchar_t*>(s.c_str()), static_cast<int>(s.size()),
                      out.data(), n, nullptr, nullptr);
  return out;
}

// One state text, with its values picked out.
class State {
 public:
  explicit State(std::u16string text = {}) : text_(std::move(text)) {
    std::u16string_view rest = text_;
    while (!rest.empty()) {
      size_t end = rest.find(u'\n');
      std::u16string_view l = rest.substr(0, end);
      size_t eq = l.find(u'=');
      if (eq != std::u16string_view::npos) values_[std::u16string(l.substr(0, eq))] = std::u16string(l.substr(eq + 1));
      if (end == std::u16string_view::npos) break;
      rest = rest.substr(end + 1);
    }
  }
  // The whole text, as the program sent it ("" when it did not answer).
  const std::u16string& Raw() const { return text_; }
  bool Empty() const { return values_.empty(); }
  std::u16string Text(const std::u16string& key) const {
    auto it = values_.find(key);
    return it == values_.end() ? std::u16string() : it->second;
  }
  std::string operator[](const std::u16string& key) const { return Narrow(Text(key)); }
  int Int(const std::u16string& key) const { return std::atoi((*this)[key].c_str()); }
  // The number a value begins with; -1 for a missing key or a value that begins with none.
  long long Number(const std::u16string& key) const {
    std::string digits;
    for (char16_t c : Text(key)) {
      if (c != u'-' && (c < u'0' || c > u'9')) break;
      digits += static_cast<char>(c);
    }
    return digits.empty() ? -1 : std::atoll(digits.c_str());
  }
  // The n-th comma-separated number of a value.
  int Field(const std::u16string& key, int n) const {
    std::stringstream ss((*this)[key]);
    std::string part;
    for (int i = 0; std::getline(ss, part, ','); ++i)
      if (i == n) return std::atoi(part.c_str());
    return -1;
  }
  // Cell values: "image|day|lunar|x,y,w,h|data|badge".
  std::u16string CellPart(int cell, int part) const {
    std::string number = std::to_string(cell);
    std::u16string v = Text(u"cell." + std::u16string(number.begin(), number.end()));
    size_t start = 0;
    for (int i = 0; i < part; ++i) {
      start = v.find(u'|', start);
      if (start == std::u16string::npos) return {};
      ++start;
    }
    size_t end = v.find(u'|', start);
    return v.substr(start, end == std::u16string::npos ? std::u16string::npos : end - start);
  }

 private:
  std::u16string text_;
  std::map<std::u16string, std::u16string> values_;
};

// Asks a running program's main window for its state through the test hook.
class StateReader {
 public:
  // The state now (empty when the window did not answer within five seconds).
  const State& Read(HWND mainWindow) {
    last_ = State(hook_.Read(mainWindow));
    return last_;
  }
  const State& Last() const { return last_; }
  // The hook's registered message, for the commands sent beside the state requests.
  static UINT Hook() { return app::TestHookReader::HookMessage(); }

 private:
  app::TestHookReader hook_;
  State last_;
};

}  // namespace tvtest
