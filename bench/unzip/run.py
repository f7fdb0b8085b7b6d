#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""The unzip benchmark: our extraction against bsdtar and Info-ZIP unzip on
the same archives, warm cache, each timed as a whole process into a fresh
empty folder, alternating, median of RUNS runs each. Our output is checked
once per archive against bsdtar's. The last line is the worst ratio
ours/bsdtar.

Every output stays until the end: ext4 without a journal will not hand out
an inode freed in the last minute (six, while its table block is dirty) and
scans past each such inode on every file it creates, so extracting 20,000
files after deleting 20,000 took ten times as long, for every tool alike.
Outputs take about 10 GB; for the same reason, numbers from a run started
minutes after a mass deletion on the same file system are not to be trusted.
A fresh file system avoids it, for instance (as root):
    truncate -s 40G /work/bench.img && mkfs.ext4 -q -F /work/bench.img
    mkdir -p /mnt/bench && mount -o loop /work/bench.img /mnt/bench
    bench/unzip/run.py build /mnt/bench/data

The zip64 archive (5 GiB out) runs fewer times, and its outputs go as soon
as they are timed; Info-ZIP unzip reads no tar.

usage: run.py BUILD_DIR [DATA_DIR] [RUNS] [ARCHIVE,...]"""
import os
import shutil
import statistics
import subprocess
import sys
import time

build = sys.argv[1]
data = os.path.abspath(sys.argv[2] if len(sys.argv) > 2 else os.path.join(build, "bench-archives"))
runs = int(sys.argv[3]) if len(sys.argv) > 3 else 7
here = os.path.dirname(os.path.abspath(__file__))
ours_exe = os.path.join(build, "bench", "unzip_bench")
# Under the archives' folder, so that every tool writes to the same file system.
scratch = os.path.join(data, "out")

subprocess.run([sys.executable, os.path.join(here, "make_archives.py"), data], check=True)

TOOLS = {
    "ours": lambda archive, dest: [ours_exe, archive, dest],
    "bsdtar": lambda archive, dest: ["bsdtar", "-xf", archive, "-C", dest],
    "unzip": lambda archive, dest: ["unzip", "-qo", archive, "-d", dest],
}


def fresh(archive, tool, run):
    dest = os.path.join(scratch, os.path.basename(archive), f"{tool}-{run}")
    shutil.rmtree(dest, ignore_errors=True)
    os.makedirs(dest)
    # Write-back of the previous run's output would otherwise be charged to this one.
    os.sync()
    return dest


def timed(tool, archive, run):
    command = TOOLS[tool](archive, fresh(archive, tool, run))
    start = time.perf_counter()
    result = subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    elapsed = time.perf_counter() - start
    if result.returncode != 0:
        sys.exit(f"failed ({result.returncode}): {' '.join(command)}\n{result.stderr.decode()}")
    return elapsed


def verify(name):
    ours, bsdtar = (os.path.join(scratch, name, tool + "-warm") for tool in ("ours", "bsdtar"))
    result = subprocess.run(["diff", "-r", "-q", ours, bsdtar], stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    if result.returncode != 0:
        lines = result.stdout.decode().splitlines()
        sys.exit(f"{name}: OUR OUTPUT DIFFERS FROM BSDTAR'S ({len(lines)} differences):\n" + "\n".join(lines[:20]))


def drop(name, tool, run):
    shutil.rmtree(os.path.join(scratch, name, f"{tool}-{run}"))


def measure(name, count=runs, keep=True):
    archive = os.path.join(data, name)
    tools = [tool for tool in TOOLS if name.endswith(".zip") or tool != "unzip"]
    for tool in tools:  # warm the cache
        timed(tool, archive, "warm")
        if not keep and tool not in ("ours", "bsdtar"):
            drop(name, tool, "warm")
    verify(name)
    if not keep:
        drop(name, "ours", "warm")
        drop(name, "bsdtar", "warm")
    times = {tool: [] for tool in tools}
    for run in range(count):
        for tool in tools:
            times[tool].append(timed(tool, archive, run))
            if not keep:
                drop(name, tool, run)
    medians = {tool: statistics.median(seconds) * 1000 for tool, seconds in times.items()}
    ratio_bsdtar = medians["ours"] / medians["bsdtar"]
    others = ", ".join(f"{tool} {medians[tool]:.0f} ms" for tool in tools if tool != "ours")
    unzip = f", ours/unzip {medians['ours'] / medians['unzip']:.2f}" if "unzip" in medians else ""
    print(f"{name}: ours {medians['ours']:.0f} ms, {others} (medians of {count}); "
          f"ours/bsdtar {ratio_bsdtar:.2f}{unzip}", flush=True)
    return ratio_bsdtar


only = sys.argv[4].split(",") if len(sys.argv) > 4 else None
shutil.rmtree(scratch, ignore_errors=True)  # left by an interrupted run
ratios = [measure(name) for name in ("small.zip", "big.zip", "tiny.zip", "small.tar.gz") if not only or name in only]
if not only or "zip64.zip" in only:
    ratios.append(measure("zip64.zip", count=3, keep=False))
worst = max(ratios)
shutil.rmtree(scratch)
print(f"worst ours/bsdtar: {worst:.2f}")
