#!/usr/bin/python3
"""Writes a benchmark project tree that is the same on every run, and checks
a copy of one.

  make_tree.py small FOLDER FILES   FILES small files, 100 to a folder, the
                                    folders grouped 100 to a parent
  make_tree.py large FOLDER COUNT MB  COUNT files of MB megabytes each
  make_tree.py check FROM TO SECONDS  every file of FROM is in TO with the
                                    same bytes and a last-write time less
                                    than SECONDS away; names what is not

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


def check(origin, copy, slack_seconds):
    """Compares every file of `origin` with its copy; returns the count of
    files that are missing, differ in bytes, or moved in time."""
    files, faults, shown = 0, 0, 0
    for folder, _, names in os.walk(origin):
        for name in names:
            files += 1
            path = os.path.join(folder, name)
            other = os.path.join(copy, os.path.relpath(path, origin))
            fault = compare(path, other, slack_seconds)
            if fault:
                faults += 1
                if shown < 3:
                    shown += 1
                    print("  %s: %s" % (other, fault))
    print("%s: %d files, %d missing, changed or moved in time" % (copy, files, faults))
    return faults


def compare(path, other, slack_seconds):
    try:
        theirs = os.stat(other)
    except OSError as error:
        return error.strerror
    ours = os.stat(path)
    if theirs.st_size != ours.st_size:
        return "%d bytes instead of %d" % (theirs.st_size, ours.st_size)
    off = abs(theirs.st_mtime_ns - ours.st_mtime_ns) / 1e9
    if off >= slack_seconds:
        return "last write %s, %.2f s away from the original's" % (
            time.strftime("%Y-%m-%d %H:%M:%S", time.gmtime(theirs.st_mtime)), off)
    with open(path, "rb") as a, open(other, "rb") as b:
        while True:
            block = a.read(1 << 20)
            if block != b.read(1 << 20):
                return "other bytes"
            if not block:
                return None


def main(argv):
    if len(argv) == 4 and argv[1] == "small":
        small(argv[2], int(argv[3]))
    elif len(argv) == 5 and argv[1] == "large":
        large(argv[2], int(argv[3]), int(argv[4]))
    elif len(argv) == 5 and argv[1] == "check":
        sys.exit(1 if check(argv[2], argv[3], float(argv[4])) else 0)
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv)
