#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""The inner archive benchmark: the time to open a zip of 10,000 entries that
lies inside a tar.gz, trellin-preview --dump of the tar.gz with expandArchives
on (the tar.gz listed, the zip's entry extracted alone into a new empty cache,
its 10,001 rows listed and printed) against tar -xzf of the same zip followed
by bsdtar -tf of it, each timed as a whole process, warm page cache,
alternating, medians of RUNS runs and of the runs' ratios.

Ours runs with archiveExtraction set to whenNeeded and depthLimit 3 (the zip's
row is on level 2), its own XDG_CONFIG_HOME, and a new empty XDG_CACHE_HOME
each run; its first output is checked to hold every entry of the zip.

usage: run.py BUILD_DIR [DATA_DIR] [RUNS]   (needs bsdtar and tar)"""
import json
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

build = os.path.abspath(sys.argv[1])
data = os.path.abspath(sys.argv[2] if len(sys.argv) > 2 else os.path.join(build, "bench-inner"))
runs = int(sys.argv[3]) if len(sys.argv) > 3 else 11
here = os.path.dirname(os.path.abspath(__file__))
host = os.path.join(build, "host", "trellin-preview")
settings = os.path.join(build, "settings", "trellin-settings")
make_archive = os.path.join(here, "..", "..", "tests", "support", "make_archive.py")
count = 10000

for tool in ["bsdtar", "tar"]:
    if not shutil.which(tool):
        sys.exit(f"needs {tool}")
os.makedirs(data, exist_ok=True)
archive = os.path.join(data, "inner-10k.tar.gz")
if not os.path.exists(archive):
    subprocess.run([sys.executable, make_archive, "zip-in-tar", archive, str(count)], check=True)

work = tempfile.mkdtemp(prefix="trellin-bench-inner-")
environment = dict(os.environ, XDG_CONFIG_HOME=os.path.join(work, "config"), QT_QPA_PLATFORM="offscreen")
for key, value in [("expandArchives", "true"), ("archiveExtraction", "whenNeeded"), ("depthLimit", "3")]:
    subprocess.run([settings, "set", key, value], env=environment, check=True)


def ours():
    cache = tempfile.mkdtemp(dir=work)
    start = time.monotonic()
    out = subprocess.run([host, "--dump", archive], env=dict(environment, XDG_CACHE_HOME=cache),
                         stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, check=True).stdout
    elapsed = time.monotonic() - start
    shutil.rmtree(cache)
    return elapsed, out


def peer():
    folder = tempfile.mkdtemp(dir=work)
    start = time.monotonic()
    subprocess.run(["tar", "-xzf", archive, "-C", folder, "data/inner.zip"], check=True)
    out = subprocess.run(["bsdtar", "-tf", os.path.join(folder, "data", "inner.zip")], stdout=subprocess.PIPE,
                         check=True).stdout
    elapsed = time.monotonic() - start
    shutil.rmtree(folder)
    return elapsed, out


_, first = ours()
rows = {row["name"]: row for row in json.loads(first)["rows"]}
inner = [row for row in rows["data"]["children"] if row["name"] == "inner.zip"][0]
if len(inner["children"]) != count + 1:
    sys.exit(f"ours shows {len(inner['children'])} entries of the zip, not {count + 1}")
if len(peer()[1].splitlines()) < count + 1:
    sys.exit("bsdtar lists fewer entries")

times = {"ours": [], "peer": []}
for _ in range(runs):
    times["ours"].append(ours()[0])
    times["peer"].append(peer()[0])
ratios = [a / b for a, b in zip(times["ours"], times["peer"])]
print(f"zip of {count} entries in a tar.gz, {runs} runs, medians (min-max)")
for name, label in [("ours", "trellin-preview --dump, expandArchives"), ("peer", "tar -xzf + bsdtar -tf")]:
    values = times[name]
    print(f"  {label:42} {statistics.median(values) * 1000:7.0f} ms ({min(values) * 1000:.0f}-{max(values) * 1000:.0f})")
print(f"  ratio ours/peer, paired                    {statistics.median(ratios):7.2f}")
shutil.rmtree(work)
