#!/usr/bin/env bash
# Records the screen while tavrino.exe changes month back and forth under wine64 + Xvfb, and
# counts the recorded frames that show neither finished month (a half-built frame). The clock's
# place is left out of the comparison (it ticks). Frames that differ are kept as PNG.
# Usage: bench/app/month_change_frames.sh [build dir] [YEAR MONTH] [changes] [period ms] [out dir] [DPI]
# The default, February 2025 and March 2025, is a 5 <-> 6 row change.
set -uo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
BUILD="${1:-$ROOT/build/win64}"
YEAR="${2:-2025}"; MONTH="${3:-2}"; CHANGES="${4:-20}"; PERIOD="${5:-400}"
OUT="${6:-$BUILD/month-frames}"
DPI="${7:-}"
PROBE="$BUILD/bin/app_bench_probe.exe"
[ -f "$PROBE" ] || { echo "build app_bench_probe in $BUILD first"; exit 1; }
# With a DPI, on a screen of that scale's size: on a smaller one the window reaches under the
# pointer in the screen's middle, and a day's tool tip would come and go.
source "$ROOT/bench/app/wine_session.sh"
wine_session_start "$DPI"
rm -rf "$OUT"; mkdir -p "$OUT/raw"
log="$OUT/probe.log"
timeout 300 wine "$PROBE" frames "$YEAR" "$MONTH" "$CHANGES" "$PERIOD" >"$log" 2>&1 </dev/null &
probe=$!
# Record from "go" to "done".
for _ in $(seq 600); do grep -q '^go' "$log" 2>/dev/null && break; sleep 0.1; done
n=0
while ! grep -q '^done' "$log" 2>/dev/null && kill -0 $probe 2>/dev/null; do
  import -display "$DISPLAY" -window root -depth 8 "$OUT/raw/$(printf %04d $n).ppm" 2>/dev/null
  n=$((n + 1))
done
wait $probe
rc=$?
python3 - "$OUT" "$log" <<'PY'
import os, sys
out, log = sys.argv[1], sys.argv[2]
rects = {}
for line in open(log, errors="replace"):
    parts = line.split()
    if len(parts) == 2 and parts[0] in ("A", "B"):
        rects[parts[0]] = [int(v) for v in parts[1].split(",")]
def read(path):
    data = open(path, "rb").read()
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace(): pos += 1
        end = pos
        while not data[end:end + 1].isspace(): end += 1
        fields.append(data[pos:end]); pos = end
    w, h = int(fields[1]), int(fields[2])
    return w, h, (2 if int(fields[3]) > 255 else 1) * 3, data[pos + 1:]
# The clock (client 0..160 x 30..86 in 96-DPI units, the window being 358 wide) at either window
# top is masked.
def clock(r):
    s = r[2] / 358.0
    return (r[0], r[1] + int(30 * s), r[0] + int(160 * s + 0.5), r[1] + int(86 * s + 0.5))
masks = [clock(r) for r in rects.values()]
def key(path):
    w, h, bpp, px = read(path)
    rows = []
    for y in range(h):
        row = bytearray(px[y * w * bpp:(y + 1) * w * bpp])
        for (x0, y0, x1, y1) in masks:
            if y0 <= y < y1:
                row[x0 * bpp:x1 * bpp] = bytes((x1 - x0) * bpp)
        rows.append(bytes(row))
    return hash(b"".join(rows))
frames = sorted(f for f in os.listdir(os.path.join(out, "raw")))
groups = {}
for f in frames:
    groups.setdefault(key(os.path.join(out, "raw", f)), []).append(f)
ranked = sorted(groups.values(), key=len, reverse=True)
print("frames recorded: %d; distinct pictures (clock masked): %d" % (len(frames), len(ranked)))
for i, g in enumerate(ranked):
    print("  picture %d: %d frames (first %s)" % (i + 1, len(g), g[0]))
    os.system("convert %s %s" % (os.path.join(out, "raw", g[0]), os.path.join(out, "picture%d.png" % (i + 1))))
print("half-built frames (neither finished month): %d" % sum(len(g) for g in ranked[2:]))
PY
wine_session_stop
exit $rc
