#!/usr/bin/env python3
"""Resident memory of two processes side by side, by what it is mapped from: each library or
file, the Unix heap, and private memory ([anon]: the Windows heaps, thread stacks, pictures).
Usage: resident_by_mapping.py FLOOR_SMAPS PROGRAM_SMAPS (copies of /proc/<pid>/smaps).
Prints the mappings whose resident size differs by at least 40 KiB, largest difference first."""
import re
import sys
from collections import Counter


def resident(path):
    kib = Counter()
    name = None
    with open(path) as smaps:
        for line in smaps:
            fields = line.split()
            if re.match(r"^[0-9a-f]+-[0-9a-f]+ ", line):
                name = (fields[5] if len(fields) > 5 else "[anon]").split("/")[-1]
            elif fields and fields[0] == "Rss:":
                kib[name] += int(fields[1])
    return kib


def main():
    floor, program = resident(sys.argv[1]), resident(sys.argv[2])
    print(f"{'more KiB':>9} {'floor':>8} {'program':>8}  mapping")
    for name in sorted(set(floor) | set(program), key=lambda n: floor[n] - program[n]):
        more = program[name] - floor[name]
        if abs(more) >= 40:
            print(f"{more:9d} {floor[name]:8d} {program[name]:8d}  {name}")
    print(f"{sum(program.values()) - sum(floor.values()):9d} {sum(floor.values()):8d} "
          f"{sum(program.values()):8d}  total")


if __name__ == "__main__":
    main()
