#!/usr/bin/python3
"""Reads an exported iCalendar file back with python3-icalendar and checks it against what was
stored: its lines (CRLF, at most 75 octets, no UTF-8 sequence cut), one event per occurrence with
the title, the time, the lunar date in DESCRIPTION and the alarm.

Usage: reminder_ical_check.py FILE EXPECTED_EVENTS LONG_TITLE
"""
import sys

import icalendar

path, expected_events, long_title = sys.argv[1], int(sys.argv[2]), sys.argv[3]
data = open(path, "rb").read()
assert data.endswith(b"\r\n"), "the file does not end with CRLF"
physical = data.split(b"\r\n")[:-1]
assert b"\n" not in b"".join(physical), "a bare LF"
for line in physical:
    assert len(line) <= 75, f"a line of {len(line)} octets: {line!r}"
    line.decode("utf-8")  # a sequence cut by the folding would not decode on its own
assert any(line.startswith(b" ") for line in physical), "nothing was folded"

calendar = icalendar.Calendar.from_ical(data)
events = calendar.walk("VEVENT")
assert len(events) == expected_events, f"{len(events)} events, not {expected_events}"
uids = {str(e["UID"]) for e in events}
assert len(uids) == len(events), "UIDs repeat"

by_title = {}
for e in events:
    by_title.setdefault(str(e["SUMMARY"]), []).append(e)
assert set(by_title) == {"中秋", long_title}, sorted(by_title)

moon = sorted(by_title["中秋"], key=lambda e: e["DTSTART"].dt)
assert len(moon) == 10, len(moon)
first = moon[0]
assert first["DTSTART"].dt.isoformat() == "2027-09-15T09:30:00", first["DTSTART"].dt
assert "八月十五" in str(first["DESCRIPTION"]), str(first["DESCRIPTION"])
alarms = first.walk("VALARM")
assert len(alarms) == 1 and str(alarms[0]["TRIGGER"].dt) == "-1 day, 0:00:00", alarms
print(f"{len(events)} events read back")
