#!/usr/bin/python3

# SPDX-FileCopyrightText: 2026 The Velmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""The preview program's latency and memory, driven over its pipe as the
wizard drives it, offscreen. COUNT pages are sent RATE a second, each another
colour; for each, the time from the page's message to the answer "drawn"
(the engine has it) and to the first grab of the view that shows its colour
(the frame). Then the helper's PSS, with its engine's processes, for the
page last shown and for a page of LINES lines.

Usage: preview_latency.py PROGRAM [COUNT] [RATE] [LINES]
  e.g. bench/preview_latency.py build/lib/x86_64-linux-gnu/velmora/velmora-vorschau 200 10
"""

import os
import select
import statistics
import subprocess
import sys
import tempfile
import time


def message(name, payload):
    return b"%s %d\n%s" % (name.encode(), len(payload), payload)


class Helper:
    def __init__(self, program):
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
        self.process = subprocess.Popen([program], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                        stderr=subprocess.DEVNULL, env=env)
        self.buffer = b""

    def send(self, name, payload):
        self.process.stdin.write(message(name, payload))
        self.process.stdin.flush()

    def next(self, name, timeout=60):
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            while b"\n" in self.buffer:
                head, rest = self.buffer.split(b"\n", 1)
                length = int(head.split(b" ")[1])
                if len(rest) < length:
                    break
                payload, self.buffer = rest[:length], rest[length:]
                if head.split(b" ")[0].decode() == name:
                    return payload
            if select.select([self.process.stdout], [], [], 0.2)[0]:
                self.buffer += os.read(self.process.stdout.fileno(), 1 << 16)
        raise TimeoutError(name)


def colour_at_middle(png):
    out = subprocess.run(["convert", png, "-gravity", "center", "-crop", "1x1+0+0", "-depth", "8",
                          "txt:-"], capture_output=True, text=True).stdout
    return out.split("#")[-1][:6].upper() if "#" in out else ""


def pss_kib(pid):
    pids = [pid] + [int(p) for p in subprocess.run(["pgrep", "-P", str(pid)], capture_output=True,
                                                   text=True).stdout.split()]
    children = []
    for p in pids[1:]:
        children += [int(c) for c in subprocess.run(["pgrep", "-P", str(p)], capture_output=True,
                                                    text=True).stdout.split()]
    total = 0
    for p in pids + children:
        with open(f"/proc/{p}/smaps_rollup") as f:
            total += next(int(line.split()[1]) for line in f if line.startswith("Pss:"))
    return total


def page(colour, lines=1):
    body = b"".join(b"<p>Zeile %d</p>\r\n" % i for i in range(lines))
    return b'<html><body bgcolor="#%s"><p>Hallo</p>%s</body></html>' % (colour.encode(), body)


def main():
    program = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 200
    rate = float(sys.argv[3]) if len(sys.argv) > 3 else 10
    lines = int(sys.argv[4]) if len(sys.argv) > 4 else 200000
    folder = tempfile.mkdtemp().encode()
    helper = Helper(program)
    helper.send("show", b"size=800,600\nfocus=0")
    helper.send("page", b"0\n" + folder + b"\n" + page("FFFFFF"))
    helper.next("drawn")
    time.sleep(1)
    drawn, framed = [], []
    grab = os.path.join(folder.decode(), "grab.png")
    for i in range(1, count + 1):
        colour = "FF0000" if i % 2 else "0000FF"
        start = time.monotonic()
        helper.send("page", b"%d\n%s\n%s" % (i, folder, page(colour)))
        helper.next("drawn")
        drawn.append(time.monotonic() - start)
        while True:
            helper.send("grab", grab.encode())
            helper.next("grabbed")
            if colour_at_middle(grab) == colour:
                break
        framed.append(time.monotonic() - start)
        time.sleep(max(0.0, 1 / rate - (time.monotonic() - start)))
    ms = lambda values: f"median {statistics.median(values) * 1000:.0f} ms, slowest {max(values) * 1000:.0f} ms"
    print(f"{count} pages at {rate:g}/s: drawn {ms(drawn)}; seen in a grab {ms(framed)}")
    print(f"PSS with a small page: {pss_kib(helper.process.pid) / 1024:.0f} MiB")
    helper.send("page", b"%d\n%s\n%s" % (count + 1, folder, page("FFFFFF", lines)))
    start = time.monotonic()
    helper.next("drawn", 300)
    print(f"a page of {lines} lines drawn in {time.monotonic() - start:.1f} s, "
          f"PSS {pss_kib(helper.process.pid) / 1024:.0f} MiB")
    helper.process.stdin.close()
    helper.process.wait(10)


if __name__ == "__main__":
    main()
