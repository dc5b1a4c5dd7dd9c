#!/usr/bin/python3
"""Writes a benchmark project tree that is the same on every run.

  make_tree.py small FOLDER FILES   FILES small files, 100 to a folder, the
                                    folders grouped 100 to a parent
  make_tree.py large FOLDER COUNT MB  COUNT files of MB megabytes each

Names, sizes and contents depend only on the arguments; last-write times
are spread over the 300 days before now (nanoseconds included, as real
files have them), so a 365-day window takes every file.
"""
import os
import random
import sys
import time

DAY_NS = 86400 * 10**9
FILES_PER_FOLDER = 100
FOLDERS_PER_PARENT = 100


def pattern(size):
    """A fixed stretch of incompressible bytes to cut file contents from."""
    return random.Random(20240611).randbytes(size)


def stamp(now_ns, i):
    """A last-write time within the last 300 days, different per file."""
    return now_ns - DAY_NS - (i * 7919 * 10**9 + i * 104729) % (299 * DAY_NS)


def small(folder, files):
    data = pattern(1 << 16)
    now_ns = time.time_ns()
    folders = (files + FILES_PER_FOLDER - 1) // FILES_PER_FOLDER
    for d in range(folders):
        leaf = os.path.join(folder, "g%02d" % (d // FOLDERS_PER_PARENT), "d%04d" % d)
        os.makedirs(leaf, exist_ok=True)
        for f in range(min(FILES_PER_FOLDER, files - d * FILES_PER_FOLDER)):
            i = d * FILES_PER_FOLDER + f
            size = 64 + (i * 2654435761) % 4000  # 64 B to 4 kB, about 2 kB on average
            start = (i * 40503) % (len(data) - size)
            path = os.path.join(leaf, "file%05d.%s" % (f, ("txt", "dat", "cc")[i % 3]))
            with open(path, "wb") as out:
                out.write(data[start : start + size])
            t = stamp(now_ns, i)
            os.utime(path, ns=(t, t))


def large(folder, count, megabytes):
    block = pattern(1 << 20)
    now_ns = time.time_ns()
    os.makedirs(folder, exist_ok=True)
    for i in range(count):
        path = os.path.join(folder, "media%02d.bin" % i)
        with open(path, "wb") as out:
            for m in range(megabytes):
                # Rotate the block so no two megabytes of a file are alike.
                cut = (m * 4099 + i * 65537) % len(block)
                out.write(block[cut:] + block[:cut])
        t = stamp(now_ns, i)
        os.utime(path, ns=(t, t))


def main(argv):
    if len(argv) == 4 and argv[1] == "small":
        small(argv[2], int(argv[3]))
    elif len(argv) == 5 and argv[1] == "large":
        large(argv[2], int(argv[3]), int(argv[4]))
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv)
