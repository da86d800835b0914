#!/usr/bin/python3

# SPDX-FileCopyrightText: 2026 The Velmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""Start-up of two builds of the program side by side: each started RUNS
times, the two alternating, offscreen, until its start window is shown (the
start-up check's hook, preloaded, ends it there as "Ende" does). Prints the
median and the spread of the CPU time (user + system) and of the peak memory
of each, from the kernel's own account of the finished process (wait4).

Usage: startup_compare.py OLD_PROGRAM NEW_PROGRAM HOOK [RUNS]
  e.g. bench/startup_compare.py ../old/build/app/Velmora build/app/Velmora \\
       build/tests/publishing/libshown_hook.so 30
"""

import os
import statistics
import sys
import tempfile


def start(program, hook, home):
    env = dict(os.environ, LD_PRELOAD=hook, VELMORA_SHOWN_TITLE="HTML Velmora 1.3 Ultrapex",
               QT_QPA_PLATFORM="offscreen", HOME=home, DBUS_SESSION_BUS_ADDRESS="disabled:")
    env.pop("VELMORA_SHOWN_MAPS", None)
    with open(os.devnull, "wb") as null:
        pid = os.posix_spawn(program, [program], env,
                             file_actions=[(os.POSIX_SPAWN_DUP2, null.fileno(), 1),
                                           (os.POSIX_SPAWN_DUP2, null.fileno(), 2)])
    _, status, usage = os.wait4(pid, 0)
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit(f"{program} ended with {status}")
    return (usage.ru_utime + usage.ru_stime) * 1000, usage.ru_maxrss / 1024


def spread(values):
    q = statistics.quantiles(values, n=4)
    return (f"median {statistics.median(values):6.1f}  quartiles {q[0]:6.1f}–{q[2]:6.1f}  "
            f"min–max {min(values):6.1f}–{max(values):6.1f}")


def main():
    old, new, hook = sys.argv[1:4]
    runs = int(sys.argv[4]) if len(sys.argv) > 4 else 30
    programs = [("old", old, []), ("new", new, [])]
    with tempfile.TemporaryDirectory() as home:
        for _, program, _ in programs:  # once each, so that both start from a warm cache
            start(program, hook, home)
        for _ in range(runs):
            for _, program, seen in programs:
                seen.append(start(program, hook, home))
    for name, program, seen in programs:
        cpu = [c for c, _ in seen]
        memory = [m for _, m in seen]
        print(f"{name}: {program}, {runs} runs")
        print(f"  CPU ms    {spread(cpu)}")
        print(f"  peak MiB  {spread(memory)}")


if __name__ == "__main__":
    main()
