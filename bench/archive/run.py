#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""The archive listing benchmark: the time until an archive's rows are
listed, trellin-preview --dump against peers that list without extracting,
each timed as a whole process, warm cache, alternating, medians of RUNS runs:
  files-100k.zip     100,000 files of 0.5 to 8 KB in 1,000 folders (made as
                     bench/unzip makes small.zip)       bsdtar -tf, unzip -l
  files-100k.tar.gz  the same files                     bsdtar -tzf
  files-10k.7z       the files of bench/unzip's small.zip  7z l
  zip64.zip          bench/unzip's 5 GiB zip64 (--zip64)   none: at most 0.3 s
Ours runs with archiveExtraction set to whenNeeded and depthLimit 5 (every
row), its own XDG_CONFIG_HOME, and a new empty XDG_CACHE_HOME each run; its
first output is checked to hold every row of the archive. Where
trellin-settings refuses the setting, the script says so and measures ours
as it is, extraction included.

--window: instead, trellin-preview --timing on files-100k.zip under Xvfb:
the time from start to "rows shown after N ms" as it prints it (falling back,
said so, to "content shown"), and from an Escape key press (xdotool) 0.2 s
later to the end of the process (at most 0.2 s).

The archives are made once into DATA and kept. Caches of ours stay until
the end, as bench/unzip/run.py keeps its outputs (zip64's go at once).
While ours extracts, a run started minutes after another one (or after any
mass deletion on that file system) times ours up to three times slower, for
the reason given there.

usage: run.py BUILD_DIR [DATA_DIR] [RUNS] [--zip64] [--window]
       (needs bsdtar, unzip and 7z (p7zip-full); --window: xvfb and xdotool)"""
import json
import os
import queue
import random
import re
import shutil
import statistics
import subprocess
import sys
import threading
import time
import zipfile

flags = {"--zip64", "--window"}
arguments = [a for a in sys.argv[1:] if a not in flags]
zip64 = "--zip64" in sys.argv
window = "--window" in sys.argv
build = os.path.abspath(arguments[0])
data = os.path.abspath(arguments[1] if len(arguments) > 1 else os.path.join(build, "bench-listings"))
runs = int(arguments[2]) if len(arguments) > 2 else (5 if window else 7)
here = os.path.dirname(os.path.abspath(__file__))
host = os.path.join(build, "host", "trellin-preview")
settings = os.path.join(build, "settings", "trellin-settings")
sys.path.insert(0, os.path.join(here, "..", "unzip"))
import make_archives  # noqa: E402
sys.path.insert(0, os.path.join(here, "..", "window"))
from escape import press_escape  # noqa: E402

for tool in ["bsdtar", "unzip", "7z"] + (["Xvfb", "xdotool"] if window else []):
    if not shutil.which(tool):
        sys.exit(f"needs {tool} (Debian packages libarchive-tools, unzip, p7zip-full, xvfb, xdotool)")


def made(name, make):
    path = os.path.join(data, name)
    if not os.path.exists(path):
        print(f"making {path}", flush=True)
        partial = os.path.join(data, "partial-" + name)  # the name keeps its extension for 7z
        make(partial)
        os.replace(partial, path)
    return path


def make_7z(path):
    # The files of bench/unzip's small.zip: same seed, same first call.
    source = os.path.join(data, "files-10k")
    shutil.rmtree(source, ignore_errors=True)
    seed = os.path.join(data, "files-10k.zip")
    make_archives.write_many(seed, random.Random(20240517), 10_000, 100, 512, 8192)
    with zipfile.ZipFile(seed) as archive:
        archive.extractall(source)
    os.remove(seed)
    subprocess.run(["7z", "a", "-t7z", "-bd", path, "."], cwd=source, check=True, stdout=subprocess.DEVNULL)
    # Kept: deleting many files just before extracting many skews the numbers (see bench/unzip/run.py).


def rows_in(names):
    """Every path an archive of these names shows, implied folders included."""
    paths = set()
    for name in names:
        parts = name.strip("/").split("/")
        paths.update("/".join(parts[:i + 1]) for i in range(len(parts)))
    return len(paths)


os.makedirs(data, exist_ok=True)
# The 7z first: its making unpacks files, the rest only writes archives.
archives = {"files-10k.7z": made("files-10k.7z", make_7z)}
archives["files-100k.zip"] = made("files-100k.zip", lambda p: make_archives.write_many(
    p, random.Random(20240517), 100_000, 1_000, 512, 8192))
archives["files-100k.tar.gz"] = made("files-100k.tar.gz", lambda p: make_archives.write_tar_from_zip(
    p, archives["files-100k.zip"]))
if zip64 and not window:
    archives["zip64.zip"] = made("zip64.zip", make_archives.write_zip64)
with zipfile.ZipFile(archives["files-100k.zip"]) as archive:
    expected = {"files-100k.zip": rows_in(archive.namelist()), "zip64.zip": 1}
expected["files-100k.tar.gz"] = expected["files-100k.zip"]
expected["files-10k.7z"] = sum(len(d) + len(f) for _, d, f in os.walk(os.path.join(data, "files-10k")))

# One scratch folder per process: two runs on the same DATA must not clear each other's.
for left in os.listdir(data):
    if left.startswith("scratch-") and not os.path.exists(f"/proc/{left[8:]}"):
        shutil.rmtree(os.path.join(data, left), ignore_errors=True)  # left by an interrupted run
home = os.path.join(data, f"scratch-{os.getpid()}")
os.makedirs(home)
env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(home, "config"), XDG_RUNTIME_DIR=home)
if not window:
    env["QT_QPA_PLATFORM"] = "offscreen"
notes = []
subprocess.run([settings, "set", "depthLimit", "5"], env=env, check=True, stdout=subprocess.DEVNULL)
result = subprocess.run([settings, "set", "archiveExtraction", "whenNeeded"], env=env, capture_output=True, text=True)
if result.returncode == 2:
    message = result.stderr.strip().splitlines()[-1] if result.stderr.strip() else "no message"
    notes.append(f"SETTING REFUSED: trellin-settings set archiveExtraction whenNeeded exited 2 ({message}); "
                 "ours is measured as it is, extracting the whole archive")
    print(notes[-1], flush=True)
elif result.returncode != 0:
    sys.exit(f"trellin-settings set archiveExtraction whenNeeded failed ({result.returncode}): {result.stderr}")

caches = 0


def fresh_cache():
    global caches
    caches += 1
    cache = os.path.join(home, f"cache-{caches}")
    os.makedirs(cache)
    # Write-back of the previous run's extraction would otherwise be charged to this one.
    os.sync()
    return cache


def extracted(cache):
    folder = os.path.join(cache, "trellin", "tmp")
    return os.path.isdir(folder) and any(os.scandir(folder))


PEERS = {
    "files-100k.zip": {"bsdtar -tf": ["bsdtar", "-tf"], "unzip -l": ["unzip", "-l"]},
    "files-100k.tar.gz": {"bsdtar -tzf": ["bsdtar", "-tzf"]},
    "files-10k.7z": {"7z l": ["7z", "l"]},
    "zip64.zip": {},
}
TARGETS = {"zip64.zip": 300}


def timed(command, cache=None):
    run_env = dict(env, XDG_CACHE_HOME=cache) if cache else env
    start = time.perf_counter()
    result = subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, env=run_env)
    elapsed = time.perf_counter() - start
    if result.returncode != 0:
        sys.exit(f"failed ({result.returncode}): {' '.join(command)}\n{result.stderr.decode(errors='replace')}")
    return elapsed * 1000


def check_ours(name, archive):
    """The warm-up run of ours, its rows counted."""
    cache = fresh_cache()
    result = subprocess.run([host, "--dump", archive], capture_output=True, env=dict(env, XDG_CACHE_HOME=cache))
    if result.returncode != 0:
        sys.exit(f"failed ({result.returncode}): {host} --dump {archive}\n{result.stderr.decode(errors='replace')}")
    document = json.loads(result.stdout)
    count, stack = 0, list(document["rows"])
    while stack:
        row = stack.pop()
        count += 1
        stack.extend(row.get("children") or [])
    if document.get("error") or count != expected[name]:
        sys.exit(f"{name}: ours listed {count} rows of {expected[name]} (error: {document.get('error')})")
    notes.append(f"{name}: ours lists {count} rows ({document.get('summary')}); "
                 + ("it extracted the archive into its cache" if extracted(cache) else "nothing extracted"))
    if name == "zip64.zip":
        shutil.rmtree(cache)


def measure(name):
    archive = archives[name]
    peers = PEERS[name]
    check_ours(name, archive)
    for command in peers.values():  # warm the cache
        timed(command + [archive])
    ours, theirs = [], {peer: [] for peer in peers}
    for _ in range(runs):
        cache = fresh_cache()
        ours.append(timed([host, "--dump", archive], cache))
        if name == "zip64.zip":
            shutil.rmtree(cache)
        for peer, command in peers.items():
            theirs[peer].append(timed(command + [archive]))
    median = statistics.median(ours)
    rows = [(name, median, peer, statistics.median(times)) for peer, times in theirs.items()] or [(name, median,
                                                                                                  None, None)]
    print(f"{name}: ours {median:.0f} ms" + "".join(f", {peer} {theirs:.0f} ms" for _, _, peer, theirs in rows if peer)
          + f" (medians of {runs})", flush=True)
    return [row + (TARGETS.get(name),) for row in rows]


MILESTONE = re.compile(r"trellin-preview: (rows shown|content shown) after ([0-9.]+) ms")


def window_run(archive, display, wanted, probe=False):
    """Starts the window, waits for a milestone in `wanted`, presses Escape
    0.2 s later. Returns the milestones seen, the ms to exit after Escape."""
    run_env = dict(env, DISPLAY=display, XDG_CACHE_HOME=fresh_cache())
    run_env.pop("QT_QPA_PLATFORM", None)
    process = subprocess.Popen([host, "--timing", archive], env=run_env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.PIPE, text=True)
    lines, seen, stderr = queue.Queue(), {}, []

    def read():  # a thread, so that a silent process cannot hang the benchmark
        for text in process.stderr:
            lines.put(text)
        lines.put(None)

    threading.Thread(target=read, daemon=True).start()

    def wait(names, seconds):
        deadline = time.monotonic() + seconds
        while not names & seen.keys():
            try:
                text = lines.get(timeout=max(0.0, deadline - time.monotonic()))
            except queue.Empty:
                return False
            if text is None:
                return False
            stderr.append(text)
            match = MILESTONE.search(text)
            if match:
                seen.setdefault(match.group(1), float(match.group(2)))
        return True

    if not wait(wanted, 600):
        process.kill()
        sys.exit(f"no {' or '.join(sorted(wanted))} line from {host} --timing {archive}\n{''.join(stderr)}")
    if probe and "rows shown" not in seen:
        wait({"rows shown"}, 2)  # it may come after the content
    time.sleep(0.2)
    pressed = press_escape(process.pid, run_env)
    process.wait(timeout=60)
    return seen, (time.perf_counter() - pressed) * 1000


def measure_window():
    archive = archives["files-100k.zip"]
    read, write = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, pass_fds=(write,))
    os.close(write)
    try:
        with os.fdopen(read) as ready:  # Xvfb writes its display number once it takes connections
            display = ":" + ready.readline().strip()
        seen, _ = window_run(archive, display, {"rows shown", "content shown"}, probe=True)
        milestone = "rows shown" if "rows shown" in seen else "content shown"
        if milestone != "rows shown":
            notes.append("NO \"rows shown\" LINE: trellin-preview --timing does not print it yet; "
                         "the time to \"content shown\" is reported instead")
            print(notes[-1], flush=True)
        shown, exits = [], []
        for _ in range(runs):
            seen, after_escape = window_run(archive, display, {milestone})
            shown.append(seen[milestone])
            exits.append(after_escape)
    finally:
        xvfb.terminate()
        xvfb.wait()
    name = "files-100k.zip (window)"
    return [(f"{name}: {milestone}", statistics.median(shown), None, None, None),
            (f"{name}: exit after Escape", statistics.median(exits), None, None, 200)]


try:
    if window:
        table = measure_window()
    else:
        table = [row for name in ("files-100k.zip", "files-100k.tar.gz", "files-10k.7z", "zip64.zip")
                 if name in archives for row in measure(name)]
finally:
    shutil.rmtree(home, ignore_errors=True)

print()
print(f"{'archive':<44} {'ours':>9}  {'peer':<24} {'ratio':>6}  target   (medians of {runs})")
for name, ours, peer, theirs, target in table:
    peer_text = f"{peer} {theirs:.0f} ms" if peer else "-"
    ratio = f"{ours / theirs:.2f}" if peer else "-"
    target_text = f"<= {target} ms ({'met' if ours <= target else 'missed'})" if target else "-"
    print(f"{name:<44} {ours:>6.0f} ms  {peer_text:<24} {ratio:>6}  {target_text}")
for note in notes:
    print(note)
