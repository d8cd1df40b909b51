#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Start-up and memory of Ratinor against a bare Qt window with the same 17 controls.

Both probes are started alternately, round after round, on the X display that DISPLAY
names (script/bench starts Xvfb for it): each
prints the nanoseconds from just before its exec to its first painted window, then ends;
its peak resident memory comes from the kernel's accounting of the ended child.
Prints medians and the median of the per-round ratios (program / bare).
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time


def run_once(program, env, cwd):
    env = dict(env, RATINOR_BENCH_T0=str(time.monotonic_ns()))
    child = subprocess.Popen([os.path.abspath(program)], env=env, cwd=cwd, stdout=subprocess.PIPE,
                             stderr=subprocess.DEVNULL)
    with child.stdout:
        output = child.stdout.read()
    _, status, usage = os.wait4(child.pid, 0)
    child.returncode = os.waitstatus_to_exitcode(status)
    if child.returncode != 0 or not output.strip():
        sys.exit(f"{program} failed (exit {child.returncode})")
    return int(output.split()[0]) / 1e6, usage.ru_maxrss


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("program", help="the probe built from the program's window code")
    parser.add_argument("bare", help="the bare window's probe")
    parser.add_argument("--rounds", type=int, default=40)
    parser.add_argument("--warmup", type=int, default=5)
    args = parser.parse_args()

    if not os.environ.get("DISPLAY"):
        sys.exit("no X display: run it through script/bench, which starts Xvfb")
    work = tempfile.mkdtemp()
    try:
        # A typical working directory: the entries file of an earlier run is there.
        with open(os.path.join(work, "Ratinor.ini"), "wb") as entries:
            entries.write(b" 30 \r\n 1600 \r\n 1400 \r\n")
        env = dict(os.environ, QT_QPA_PLATFORM="xcb")
        for _ in range(args.warmup):
            run_once(args.program, env, work)
            run_once(args.bare, env, work)
        times = {"program": [], "bare": []}
        memory = {"program": [], "bare": []}
        for round_number in range(args.rounds):
            order = ["program", "bare"] if round_number % 2 == 0 else ["bare", "program"]
            for side in order:
                elapsed, peak = run_once(getattr(args, side), env, work)
                times[side].append(elapsed)
                memory[side].append(peak)
        time_ratio = statistics.median(a / b for a, b in zip(times["program"], times["bare"]))
        memory_ratio = statistics.median(a / b for a, b in zip(memory["program"], memory["bare"]))
        print(f"rounds: {args.rounds} after {args.warmup} warm-up rounds, interleaved, under Xvfb")
        print(f"{'':24}{'program':>12}{'bare':>12}{'ratio':>10}")
        print(f"{'start to first paint ms':24}{statistics.median(times['program']):12.1f}"
              f"{statistics.median(times['bare']):12.1f}{time_ratio:10.3f}")
        print(f"{'peak resident KiB':24}{statistics.median(memory['program']):12.0f}"
              f"{statistics.median(memory['bare']):12.0f}{memory_ratio:10.3f}")
        print(f"targets: start-up ratio <= 1.10 ({'met' if time_ratio <= 1.10 else 'missed'}), "
              f"memory ratio <= 1.05 ({'met' if memory_ratio <= 1.05 else 'missed'})")
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
