#!/usr/bin/env python3
"""What dorvint.exe is made of, from the linker's map file and the symbols of
an unstripped link, as markdown.

    SizeReport.py MAP_FILE UNSTRIPPED_EXE NM_PROGRAM

Counts the input sections that take room in the file (code, read-only and
initialised data, exception tables, resources), grouped by library and by
archive member, and lists the largest symbols."""

import collections
import os
import re
import subprocess
import sys

# Output sections that are stored in the file; .bss and friends take none.
STORED = {".text", ".data", ".rdata", ".eh_frame", ".pdata", ".xdata", ".CRT", ".tls",
          ".rsrc", ".idata", ".gcc_except_table"}

INPUT = re.compile(r"^ (\S+)?\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(\S.*)$")
OUTPUT = re.compile(r"^(\.\S+)\s")


def origin(path):
    """(library, member) for an input file of the map."""
    match = re.match(r"^(.*)\((.*)\)$", path)
    if match:
        return os.path.basename(match.group(1)), match.group(2)
    return "program objects" if "CMakeFiles" in path else os.path.basename(path), \
        os.path.basename(path)


def contributions(map_path):
    by_library = collections.Counter()
    by_member = collections.Counter()
    section = None
    pending = False
    with open(map_path, encoding="utf-8", errors="replace") as lines:
        started = False
        for line in lines:
            if not started:
                started = line.startswith("Linker script and memory map")
                continue
            line = line.rstrip("\n")
            output = OUTPUT.match(line)
            if output:
                section = output.group(1)
                continue
            if section not in STORED:
                continue
            # A long input section name stands alone; its figures follow.
            if re.match(r"^ \S+$", line):
                pending = True
                continue
            match = INPUT.match(line)
            if not match or (match.group(1) is None and not pending):
                pending = False
                continue
            pending = False
            size = int(match.group(3), 16)
            if size == 0:
                continue
            library, member = origin(match.group(4).strip())
            by_library[library] += size
            by_member[f"{library}({member})" if library != member else member] += size
    return by_library, by_member


def largest_symbols(exe, nm, count):
    out = subprocess.run([nm, "--size-sort", "-S", "-C", "--reverse-sort", exe],
                         check=True, capture_output=True, text=True).stdout
    rows = []
    for line in out.splitlines():
        fields = line.split(maxsplit=3)
        # Section symbols (".text", ".eh_frame$...") name whole sections, not code.
        if len(fields) == 4 and fields[2].lower() in "tdr" and not fields[3].startswith("."):
            rows.append((int(fields[1], 16), fields[3]))
        if len(rows) == count:
            break
    return rows


def main():
    map_path, exe, nm = sys.argv[1:4]
    by_library, by_member = contributions(map_path)
    total = sum(by_library.values())
    print(f"Stored sections in the map: {total:,} bytes before file alignment.\n")
    print("| Library | Bytes | Share |\n|---|---:|---:|")
    for library, size in by_library.most_common(12):
        print(f"| {library} | {size:,} | {100 * size / total:.1f} % |")
    print("\n| Largest archive members and objects | Bytes |\n|---|---:|")
    for member, size in by_member.most_common(15):
        print(f"| {member} | {size:,} |")
    print("\n| Largest symbols | Bytes |\n|---|---:|")
    for size, name in largest_symbols(exe, nm, 15):
        shown = name if len(name) <= 90 else name[:87] + "..."
        print(f"| `{shown}` | {size:,} |")


if __name__ == "__main__":
    main()
