#!/usr/bin/env python3
"""Writes a reproducible zip: entries in sorted order, every time stamp the given one, fixed
permissions, no extra fields. The same inputs give the same bytes.

usage: make_zip.py OUT.zip EPOCH NAME=FILE...
"""
import sys
import time
import zipfile


def main(argv):
    if len(argv) < 4:
        sys.exit(__doc__)
    out, epoch, pairs = argv[1], int(argv[2]), argv[3:]
    # Zip stamps hold local date and time from 1980 on, in two-second steps; use UTC.
    stamp = time.gmtime(max(epoch, 315532800))[:6]
    entries = sorted(pair.split("=", 1) for pair in pairs)
    with zipfile.ZipFile(out, "w") as archive:
        for name, path in entries:
            info = zipfile.ZipInfo(name, date_time=stamp)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 0  # MS-DOS: no Unix owner or mode bits in the entry
            info.external_attr = 0x20  # the archive attribute, as Windows' own zip writes
            with open(path, "rb") as source:
                archive.writestr(info, source.read(), compresslevel=9)


if __name__ == "__main__":
    main(sys.argv)
