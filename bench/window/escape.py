# SPDX-License-Identifier: MIT
"""Escape pressed in a window under X, as a user presses it, for the benchmarks
that time how soon the window goes."""
import subprocess
import time


def press_escape(pid, env):
    """Focuses the last visible window of process `pid` and presses Escape.
    Returns the moment of the press (time.perf_counter)."""
    windows = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--pid", str(pid)],
                             env=env, capture_output=True, text=True).stdout.split()
    subprocess.run(["xdotool", "windowfocus", "--sync", windows[-1]], env=env, capture_output=True)
    pressed = time.perf_counter()
    subprocess.run(["xdotool", "key", "Escape"], env=env, capture_output=True)
    return pressed
