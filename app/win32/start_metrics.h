#pragma once
// Timings of the program's own start: from the entry point (after the system loaded the program)
// to the first painting of the main window, and from the process's creation. Read back through the
// window's state text by tests and the start-up benchmark.
#include <cstdint>
#include <string>

namespace app {

void MarkProgramEntry();
// The main window painted while visible (the first call counts).
void MarkFirstVisiblePaint();
// A step of the start done (name: a literal): its time since the entry point, and with
// MeasureStartSteps the working set then. Steps after the first painting has ended are not kept.
void MarkStartStep(const char16_t* name);
// The first painting of the visible window has ended (the last step of the start).
void MarkFirstPaintDone();
// Has every step also read the working set (a system call each: the test build only).
void MeasureStartSteps(bool withWorkingSet);
// "entry_to_paint_ms=…\ncreate_to_paint_ms=…\n" (-1 before the first paint), then one
// "start_step=<name> <µs since entry> <KiB or -1>" line per step in order.
std::u16string StartMetricsText();
// Microseconds from a fixed point (the performance counter).
int64_t MicrosecondsNow();
// The process's working set in KiB.
int64_t WorkingSetKiB();

}  // namespace app
