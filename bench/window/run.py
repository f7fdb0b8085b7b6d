#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""The window benchmark: trellin-preview under Xvfb, as a user starts it, on
one tree. Reports medians of RUNS runs of the times that --timing prints
(start to window on screen, to the first count of items, to content shown)
and of the time from a real Escape key press (XTEST, through xdotool) to the
end of the process, pressed while the tree is still being built, 0.4 s before
the content is shown (as the view takes in the tree) and after it is shown.
Each run is paired with find(1) printing the same attributes of the same
tree, as deep, and the content's time is also given as a ratio to find's.

usage: run.py BUILD_DIR [TREE] [RUNS]
       (TREE: by default the huge tree of bench/scan/make_tree.py --huge)"""
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import threading
import time

from escape import press_escape

build = sys.argv[1]
here = os.path.dirname(os.path.abspath(__file__))
if len(sys.argv) > 2:
    tree = sys.argv[2]
else:
    trees = os.path.join(build, "bench-trees")
    subprocess.run([sys.executable, os.path.join(here, "..", "scan", "make_tree.py"), trees, "--huge"], check=True)
    tree = os.path.join(trees, "huge")
runs = int(sys.argv[3]) if len(sys.argv) > 3 else 5
host = os.path.join(build, "host", "trellin-preview")
for tool in ("Xvfb", "xdotool"):
    if not shutil.which(tool):
        sys.exit(f"needs {tool} (Debian packages xvfb and xdotool)")

display = ":%d" % (90 + os.getpid() % 100)
xvfb = subprocess.Popen(["Xvfb", display, "-screen", "0", "1280x1024x24"],
                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
time.sleep(1)
home = tempfile.mkdtemp()
env = dict(os.environ, DISPLAY=display, XDG_CONFIG_HOME=os.path.join(home, "config"),
           XDG_CACHE_HOME=os.path.join(home, "cache"), XDG_RUNTIME_DIR=home)
env.pop("QT_QPA_PLATFORM", None)
# The whole tree, as deep as it goes: five levels.
subprocess.run([os.path.join(build, "settings", "trellin-settings"), "set", "depthLimit", "5"], env=env, check=True,
               stdout=subprocess.DEVNULL)
line = re.compile(r"(window on screen|first count shown|content shown) after ([0-9.]+) ms")


def one_run(escape_when, at=None):
    """escape_when: "building" (as soon as the window is up), "shown", or
    "at" (AT seconds after start: just before the content is shown, while the
    view takes in the finished tree)."""
    started = time.perf_counter()
    process = subprocess.Popen([host, "--timing", tree], env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.PIPE, text=True)
    times = {}
    pressed = None
    if escape_when == "at":
        time.sleep(max(0.0, started + at - time.perf_counter()))
        pressed = press_escape(process.pid, env)
    for text in process.stderr:
        match = line.search(text)
        if not match:
            continue
        times[match.group(1)] = float(match.group(2))
        if escape_when == "building" and match.group(1) == "window on screen":
            time.sleep(0.2)  # the first count is up; the build goes on
            pressed = press_escape(process.pid, env)
            break
        if escape_when == "shown" and match.group(1) == "content shown":
            time.sleep(0.2)
            pressed = press_escape(process.pid, env)
            break
    threading.Thread(target=process.stderr.read, daemon=True).start()
    process.wait()
    return times, (time.perf_counter() - pressed) * 1000 if pressed else None


def find_ms():
    started = time.perf_counter()
    subprocess.run(["find", tree, "-maxdepth", "5", "-printf", "%y %s %T@ %A@ %C@ %p\n"],
                   stdout=subprocess.DEVNULL, check=True)
    return (time.perf_counter() - started) * 1000


try:
    window, first_count, content, exit_building, exit_shown, exit_showing = [], [], [], [], [], []
    found = []
    find_ms()  # warm the cache for both
    for _ in range(runs):
        found.append(find_ms())
        times, after_escape = one_run("shown")
        window.append(times["window on screen"])
        first_count.append(times["first count shown"])
        content.append(times["content shown"])
        exit_shown.append(after_escape)
        times, after_escape = one_run("building")
        exit_building.append(after_escape)
        times, after_escape = one_run("at", content[-1] / 1000 - 0.4)
        exit_showing.append(after_escape)
    print(f"tree: {tree}")
    print(f"window on screen: {statistics.median(window):.0f} ms after start (median of {runs})")
    print(f"first count shown: {statistics.median(first_count):.0f} ms after start")
    print(f"content shown: {statistics.median(content):.0f} ms after start")
    print(f"find -printf over the same tree: {statistics.median(found):.0f} ms; "
          f"content shown / find: {statistics.median(content) / statistics.median(found):.2f}")
    print(f"exit after Escape while building: {statistics.median(exit_building):.0f} ms")
    print(f"exit after Escape 0.4 s before the content is shown: {statistics.median(exit_showing):.0f} ms")
    print(f"exit after Escape with the tree shown: {statistics.median(exit_shown):.0f} ms")
finally:
    xvfb.terminate()
    shutil.rmtree(home, ignore_errors=True)
