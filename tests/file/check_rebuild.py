#!/usr/bin/env python3
"""Builds the program twice in fresh folders and compares the files byte for byte:

    check_rebuild.py CMAKE MAKE_PROGRAM SOURCE_DIR BUILD_DIR CURRENT_EXE

The two builds lie at paths of different lengths, so that a build path written into
the file shows as a difference even where it would be cut to the same size. Both are
also compared with CURRENT_EXE, the program file of the build in BUILD_DIR; the
program's own settings (QUORVEL_* cache entries) are taken over from that build.
"""
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True  # leave no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from pe_file import PeError, PeFile  # noqa: E402

TARGET = "quorvel-downloader"
EXE_NAME = TARGET + ".exe"

# ctest kills a test that overruns its TIMEOUT outright, leaving its folders behind;
# the builds get a budget below it so that the folders are always removed.
BUDGET_SECONDS = 240


def program_settings(build_dir):
    """-D options for the QUORVEL_* settings in a build's cache."""
    options = []
    with open(os.path.join(build_dir, "CMakeCache.txt"), encoding="utf-8") as cache:
        for line in cache:
            line = line.rstrip("\n")
            if not line.startswith("QUORVEL_") or "=" not in line:
                continue
            name_type, value = line.split("=", 1)
            name, _, kind = name_type.partition(":")
            if kind not in ("INTERNAL", "STATIC"):
                options.append(f"-D{name}:{kind}={value}" if kind else f"-D{name}={value}")
    return options


def run(command, deadline):
    """Runs a command in its own process group, ended whole if it overruns."""
    process = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                               text=True, start_new_session=True)
    try:
        output, _ = process.communicate(timeout=max(1, deadline - time.monotonic()))
    except subprocess.TimeoutExpired:
        os.killpg(process.pid, signal.SIGKILL)
        process.communicate()
        raise RuntimeError(f"{' '.join(command)} ran out of the {BUDGET_SECONDS} s budget")
    if process.returncode != 0:
        print(output)
        raise RuntimeError(f"{' '.join(command)} failed with status {process.returncode}")


def build(cmake, make_program, source, folder, settings, deadline):
    run([cmake, "-S", source, "-B", folder, "-G", "Ninja",
         f"-DCMAKE_MAKE_PROGRAM={make_program}",
         f"-DCMAKE_TOOLCHAIN_FILE={source}/cmake/mingw-w64-i686.cmake",
         "-DCMAKE_BUILD_TYPE=Release", "-DBUILD_TESTING=OFF", *settings], deadline)
    run([cmake, "--build", folder, "--target", TARGET, "-j", "2"], deadline)
    with open(os.path.join(folder, EXE_NAME), "rb") as f:
        return f.read()


def difference_ranges(a, b, limit=8):
    """(start, end) of the first few runs of differing bytes in the common length."""
    ranges, start = [], None
    for i in range(min(len(a), len(b))):
        if a[i] != b[i]:
            if start is None:
                start = i
        elif start is not None:
            ranges.append((start, i))
            start = None
            if len(ranges) == limit:
                return ranges
    if start is not None:
        ranges.append((start, min(len(a), len(b))))
    return ranges


def explain(label_a, a, label_b, b, folders):
    """Why two builds differ: sizes, where the bytes differ, build paths inside."""
    differing = sum(x != y for x, y in zip(a, b)) + abs(len(a) - len(b))
    lines = [f"{label_a} ({len(a)} bytes) and {label_b} ({len(b)} bytes) differ in {differing} bytes"]
    try:
        where = PeFile(a).describe_offset
    except PeError:
        def where(offset):
            return "unreadable headers"
    for start, end in difference_ranges(a, b):
        shown = slice(start, min(end, start + 16))
        lines.append(f"  offsets {start:#x}..{end - 1:#x} ({where(start)}): {a[shown].hex()} / {b[shown].hex()}")
    for folder in folders:
        for data, label in ((a, label_a), (b, label_b)):
            for form in (folder.encode(), folder.encode("utf-16-le")):
                if form in data:
                    lines.append(f"  {label} holds the build path {folder} at {data.find(form):#x}")
    return "\n".join(lines)


def main(argv):
    if len(argv) != 6:
        print(__doc__, file=sys.stderr)
        return 2
    cmake, make_program, source, build_dir, current_exe = argv[1:]
    source = os.path.abspath(source)
    settings = program_settings(build_dir)

    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))  # clean up when stopped, too
    deadline = time.monotonic() + BUDGET_SECONDS
    root = tempfile.mkdtemp(prefix="quorvel-rebuild-")
    folders = [os.path.join(root, "a"), os.path.join(root, "second-build", "in-a-longer-path")]
    try:
        try:
            files = [build(cmake, make_program, source, folder, settings, deadline) for folder in folders]
        except RuntimeError as e:
            print("FAIL", e)
            return 1
        with open(current_exe, "rb") as f:
            current = f.read()
        failures = []
        if files[0] != files[1]:
            failures.append(explain(folders[0], files[0], folders[1], files[1], folders))
        if files[0] != current:
            failures.append(explain(folders[0], files[0], current_exe, current, folders + [build_dir]))
        for failure in failures:
            print("FAIL", failure)
        if failures:
            print("(a difference from the current build alone may mean it is older than the sources)")
            return 1
        print(f"identical: {len(current)} bytes in {folders[0]}, {folders[1]} and {current_exe}")
        return 0
    finally:
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
