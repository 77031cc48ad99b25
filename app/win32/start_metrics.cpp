#include "app/win32/start_metrics.h"

#include <windows.h>
#include <psapi.h>

#include "platform/text_utils.h"

namespace app {

namespace {
int64_t g_entryUs = -1;
int64_t g_paintUs = -1;
int64_t g_createToPaintMs = -1;

struct StartStep {
  const char16_t* name;
  int64_t us;
  int64_t kib;
};
constexpr int kMaxSteps = 24;
StartStep g_steps[kMaxSteps];
int g_stepCount = 0;
bool g_startDone = false;
bool g_stepWorkingSet = false;

int64_t FileTimeValue(const FILETIME& ft) {
  return (static_cast<int64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}
}  // namespace

int64_t MicrosecondsNow() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<int64_t>(static_cast<double>(now.QuadPart) * 1000000.0 / static_cast<double>(frequency.QuadPart));
}

void MarkProgramEntry() { g_entryUs = MicrosecondsNow(); }

void MarkFirstVisiblePaint() {
  if (g_paintUs >= 0) return;
  g_paintUs = MicrosecondsNow();
  MarkStartStep(u"paint");
  FILETIME created, exited, kernel, user, now;
  if (GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) {
    GetSystemTimeAsFileTime(&now);
    g_createToPaintMs = (FileTimeValue(now) - FileTimeValue(created)) / 10000;
  }
}

void MarkStartStep(const char16_t* name) {
  if (g_startDone || g_entryUs < 0 || g_stepCount == kMaxSteps) return;
  g_steps[g_stepCount++] = {name, MicrosecondsNow() - g_entryUs, g_stepWorkingSet ? WorkingSetKiB() : -1};
}

void MarkFirstPaintDone() {
  if (g_startDone || g_paintUs < 0) return;
  MarkStartStep(u"painted");
  g_startDone = true;
}

void MeasureStartSteps(bool withWorkingSet) { g_stepWorkingSet = withWorkingSet; }

std::u16string StartMetricsText() {
  int64_t entryToPaint = g_paintUs >= 0 && g_entryUs >= 0 ? (g_paintUs - g_entryUs) / 1000 : -1;
  std::u16string text = u"entry_to_paint_ms=" + IntToText(entryToPaint) + u"\ncreate_to_paint_ms=" +
                        IntToText(g_createToPaintMs) + u"\n";
  for (int i = 0; i < g_stepCount; ++i) {
    text += u"start_step=" + std::u16string(g_steps[i].name) + u" " + IntToText(g_steps[i].us) + u" " +
            IntToText(g_steps[i].kib) + u"\n";
  }
  return text;
}

int64_t WorkingSetKiB() {
  PROCESS_MEMORY_COUNTERS pmc{};
  pmc.cb = sizeof(pmc);
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof(pmc))) return -1;
  return static_cast<int64_t>(pmc.WorkingSetSize / 1024);
}

}  // namespace app
