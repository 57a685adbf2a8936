"""Packs the release zip the same way every time.

    make-zip.py VERSION ZIP FILE...

Each FILE goes in under its own name, in the order given.  Every entry has
the same date (1980-01-01, the earliest a zip can hold) and no owner or
permission bits, so the zip's bytes depend only on the files' contents.  The
text files (*.txt) are made for Windows' Notepad: "@VERSION@" becomes VERSION,
lines end in CR LF, and the guides (README-*.txt) start with a UTF-8 byte
order mark, so that every Windows version reads them as UTF-8.
"""

import os
import sys
import zipfile

FIXED_TIME = (1980, 1, 1, 0, 0, 0)
BOM = b"\xef\xbb\xbf"


def content(path, version):
    with open(path, "rb") as file:
        data = file.read()
    if not path.endswith(".txt"):
        return data
    data = data.replace(b"@VERSION@", version.encode("ascii"))
    data = data.replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")
    if os.path.basename(path).startswith("README-"):
        data = BOM + data
    return data


def main():
    version, target, files = sys.argv[1], sys.argv[2], sys.argv[3:]
    partial = target + ".partial"
    with zipfile.ZipFile(partial, "w") as archive:
        for path in files:
            entry = zipfile.ZipInfo(os.path.basename(path), FIXED_TIME)
            entry.create_system = 0  # MS-DOS: no Unix owner or permissions
            entry.external_attr = 0
            entry.compress_type = zipfile.ZIP_DEFLATED
            archive.writestr(entry, content(path, version), compresslevel=9)
    os.replace(partial, target)


if __name__ == "__main__":
    main()
