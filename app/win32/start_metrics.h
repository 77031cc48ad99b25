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
// "entry_to_paint_ms=…\ncreate_to_paint_ms=…\n" (-1 before the first paint).
std::u16string StartMetricsText();
// Microseconds from a fixed point (the performance counter).
int64_t MicrosecondsNow();
// The process's working set in KiB.
int64_t WorkingSetKiB();

}  // namespace app
