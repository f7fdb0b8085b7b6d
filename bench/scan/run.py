#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""The scan benchmark: our whole tree build against find(1) on the same
trees, warm cache, both timed as whole processes, alternating, median of
RUNS runs each. With --huge, also the tree of about a million items (made
once, in a minute or so, and kept). The last line is the ratio ours/find on
the deep tree.

With --complete-sizes, instead: the count of every folder's whole content
(the folderSizes setting "complete") against du -s on the same trees, the
same way, with the ratio ours/du.

usage: run.py BUILD_DIR [TREES_DIR] [RUNS] [--huge] [--default-columns | --complete-sizes]
(--default-columns: the columns a first preview shows, without Tags, whose
reading costs a second system call an item; by default every column)"""
import os
import statistics
import subprocess
import sys
import time

huge = "--huge" in sys.argv
default_columns = "--default-columns" in sys.argv
complete_sizes = "--complete-sizes" in sys.argv
arguments = [a for a in sys.argv[1:] if a not in ("--huge", "--default-columns", "--complete-sizes")]
build = arguments[0]
trees = arguments[1] if len(arguments) > 1 else os.path.join(build, "bench-trees")
runs = int(arguments[2]) if len(arguments) > 2 else 7
here = os.path.dirname(os.path.abspath(__file__))
ours_exe = os.path.join(build, "bench", "scan_bench")

subprocess.run([sys.executable, os.path.join(here, "make_tree.py"), trees] + (["--huge"] if huge else []),
               check=True)
env = dict(os.environ, QT_QPA_PLATFORM="offscreen")


def timed(command):
    start = time.perf_counter()
    result = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, env=env)
    elapsed = time.perf_counter() - start
    if result.returncode != 0:
        sys.exit(f"failed: {' '.join(command)}")
    return elapsed, result.stdout.decode()


def measure(name):
    folder = os.path.join(trees, name)
    ours_cmd = [ours_exe, folder] + (["--default-columns"] if default_columns else [])
    find_cmd = ["find", folder, "-maxdepth", "5", "-printf", "%y %s %T@ %A@ %C@ %p\n"]
    peer = "find"
    if complete_sizes:
        ours_cmd = [ours_exe, folder, "--complete-sizes"]
        find_cmd = ["du", "-s", folder]
        peer = "du -s"
    for command in (ours_cmd, find_cmd):  # warm the cache
        timed(command)
    ours, theirs = [], []
    report = ""
    for _ in range(runs):
        seconds, report = timed(ours_cmd)
        ours.append(seconds)
        theirs.append(timed(find_cmd)[0])
    ours_median, find_median = statistics.median(ours), statistics.median(theirs)
    print(f"{name}: ours {ours_median * 1000:.0f} ms, {peer} {find_median * 1000:.0f} ms "
          f"(medians of {runs}); ratio {ours_median / find_median:.2f}")
    print(f"{name}: {report.strip()}")
    return ours_median / find_median


flat = measure("flat")
if huge:
    measure("huge")
deep = measure("deep")
print(f"ours/{'du -s' if complete_sizes else 'find'} on the deep tree: {deep:.2f}")
