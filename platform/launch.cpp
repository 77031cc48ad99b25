// Autostart, the date and time settings, the default browser and process launch: the rules,
// on top of the system services of launch_system.h.
#include "platform/launch.h"

#include <atomic>

#include "platform/clock.h"
#include "platform/date_time.h"
#include "platform/file_utils.h"
#include "platform/launch_system.h"
#include "platform/log.h"
#include "platform/program_dir.h"
#include "platform/text_utils.h"
#include "platform/user_config.h"

namespace {

std::atomic<LaunchSystem*> g_system{nullptr};
std::atomic<uint64_t> g_companionWindow{0};

constexpr const char16_t* kLastConfirm = u"lastconfirm";
constexpr const char16_t* kUpdaterFile = u"tvupdate.exe";

// The open commands asked for the browser after the user's own choice, in this order.
constexpr const char16_t* kBrowserKeys[] = {
    u"http\\shell\\open\\command",
    u"htmlfile\\shell\\open\\command",
    u"InternetShortcut\\shell\\opencommand",
};

}  // namespace

LaunchSystem& CurrentLaunchSystem() {
  LaunchSystem* s = g_system.load();
  return s ? *s : SystemLaunchSystem();
}

void SetLaunchSystem(LaunchSystem* system) { g_system.store(system); }

// --- The rules ---

std::u16string AutostartCommand(std::u16string_view executablePath) {
  return u"\"" + std::u16string(executablePath) + u"\" -autostart";
}

bool AutostartEntryNames(std::u16string_view entryText, std::u16string_view executablePath) {
  if (entryText.empty() || executablePath.empty()) return false;
  return LowerAsciiText(entryText).find(LowerAsciiText(executablePath)) != std::u16string::npos;
}

bool AutostartPromptDueAt(std::u16string_view lastConfirm, const SystemTime& now) {
  SystemTime stamp;
  // A date that parses but does not exist (the 31st of February) counts as malformed: whole
  // days from it are not defined, and the prompt would otherwise never come again.
  if (!ParseDateText(lastConfirm, stamp) || !IsValidDate(stamp)) return true;
  return DaysBetween(stamp, now) > 2;
}

bool HasAutostartToken(const std::vector<std::u16string>& tokens) {
  for (const std::u16string& token : tokens)
    if (TrimText(token) == u"-autostart") return true;
  return false;
}

std::u16string WindowHandleText(uint64_t handle) {
  static const char16_t digits[] = u"0123456789abcdef";
  std::u16string s(8, u'0');
  uint32_t value = static_cast<uint32_t>(handle);
  for (int i = 7; i >= 0; --i, value >>= 4) s[i] = digits[value & 15];
  return s;
}

std::u16string QuoteArgument(std::u16string_view argument) {
  // Backslashes are literal except before a double quote: there they are doubled, and the quote
  // itself is escaped; the ones before the closing quote are doubled too.
  std::u16string out = u"\"";
  size_t backslashes = 0;
  for (char16_t c : argument) {
    if (c == u'\\') {
      ++backslashes;
      continue;
    }
    if (c == u'"') {
      out.append(backslashes * 2 + 1, u'\\');
    } else {
      out.append(backslashes, u'\\');
    }
    backslashes = 0;
    out.push_back(c);
  }
  out.append(backslashes * 2, u'\\');
  out.push_back(u'"');
  return out;
}

std::u16string ProcessCommandLine(std::u16string_view path, std::u16string_view arguments) {
  std::u16string line = u"\"" + std::u16string(path) + u"\" " + std::u16string(arguments);
  if (line.size() > kMaxCommandLine) {
    size_t cut = kMaxCommandLine;
    // Never leave half of a surrogate pair at the end.
    if (line[cut - 1] >= 0xD800 && line[cut - 1] <= 0xDBFF) --cut;
    line.resize(cut);
  }
  return line;
}

std::u16string CommandProgram(std::u16string_view command) {
  std::vector<std::u16string> tokens = CommandLineTokens(command);
  return tokens.empty() ? std::u16string() : tokens.front();
}

std::u16string DateTimeSettingsParameters(std::u16string_view windowsDirectory) {
  std::u16string dir(windowsDirectory);
  if (!dir.empty() && dir.back() == u'\\') dir.pop_back();
  return u"Shell32.dll,Control_RunDLL \"" + dir + u"\\system32\\timedate.cpl\",";
}

std::u16string BrowserFallbackPath(std::u16string_view systemDirectory) {
  if (systemDirectory.empty()) return {};
  return std::u16string(1, systemDirectory.front()) + u":\\Program Files\\Internet Explorer\\iexplore.exe";
}

// --- Autostart ---

bool IsAutostartRegistered() {
  std::u16string text;
  if (!CurrentLaunchSystem().ReadRunValue(text)) return false;
  return AutostartEntryNames(text, ExecutablePath());
}

bool SetAutostart(bool on) {
  LaunchSystem& system = CurrentLaunchSystem();
  return on ? system.WriteRunValue(AutostartCommand(ExecutablePath())) : system.DeleteRunValue();
}

bool IsAutostartPromptDue() {
  if (IsAutostartRegistered()) return false;
  SystemTime now = LocalNow();
  if (!AutostartPromptDueAt(GetUserConfig(kLastConfirm), now)) return false;
  SetUserConfig(FormatTimestamp(now), kLastConfirm);
  return true;
}

bool StartedByAutostart() { return HasAutostartToken(CommandLineTokens(ProgramCommandLine())); }

// --- Settings, browser, processes ---

void OpenDateTimeSettings() {
  LaunchSystem& system = CurrentLaunchSystem();
  system.ShellOpen(u"rundll32.exe", DateTimeSettingsParameters(system.WindowsDirectory()));
}

std::u16string FindDefaultBrowser() {
  LaunchSystem& system = CurrentLaunchSystem();
  // The user's own choice first: on current systems the classes' keys often name a browser the
  // user did not choose.
  std::vector<std::u16string> keys;
  std::u16string chosen = system.UserUrlChoice(u"http");
  if (!chosen.empty()) keys.push_back(chosen + u"\\shell\\open\\command");
  for (const char16_t* key : kBrowserKeys) keys.emplace_back(key);
  for (const std::u16string& key : keys) {
    std::u16string program = CommandProgram(system.ClassesRootValue(key));
    if (!program.empty() && system.FileExists(program)) return program;
  }
  std::u16string fallback = BrowserFallbackPath(system.SystemDirectory());
  return !fallback.empty() && system.FileExists(fallback) ? fallback : std::u16string();
}

void OpenUrlInBrowser(std::u16string_view url) {
  std::u16string browser = FindDefaultBrowser();
  if (browser.empty()) {
    LogError(u"launch: no web browser is registered; not opened: " + std::u16string(url));
    return;
  }
  LaunchProcess(browser, QuoteArgument(url), true);
}

bool LaunchProcess(std::u16string_view path, std::u16string_view arguments, bool noWindow) {
  LaunchSystem& system = CurrentLaunchSystem();
  if (!system.FileExists(path)) {
    LogError(u"launch: no program at " + std::u16string(path));
    return false;
  }
  return system.StartProcess(path, ProcessCommandLine(path, arguments), noWindow);
}

void SetCompanionWindow(uint64_t handle) { g_companionWindow.store(handle); }

void LaunchUpdater() {
  uint64_t window = g_companionWindow.load();
  std::u16string updater = ProgramDirectory() + kUpdaterFile;
  if (window == 0) {
    LogError(u"launch: the updater needs the main window, which is not there");
    return;
  }
  if (!CurrentLaunchSystem().FileExists(updater)) {
    LogError(u"launch: no updater at " + updater);
    return;
  }
  LaunchProcess(updater, WindowHandleText(window), false);
}
