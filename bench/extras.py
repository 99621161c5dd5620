#!/usr/bin/env python3
"""The Videohub server and the event log, measured from outside the panel.

  videohub   16 Videohub clients on 127.0.0.1, each asking for a route once a
             second: the panel's CPU, its memory growth, and the time from a
             client's request to the monitor's code at the far end of the
             serial line (p50/p99).
  eventlog   the 115200-baud feed and the flood with the event log on and
             off ([Events] Enabled=false): CPU, CPU per MB, and the log's size
             after the feed.

The panel runs with Qt's offscreen platform on a pseudo-terminal whose far end
the script plays. Called by bench/run-extras.sh after the build.
"""

import argparse
import json
import os
import select
import signal
import socket
import statistics
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import (BAUD_SLICE_BYTES, BAUD_SLICE_MS, Line, alive, cpu_seconds,  # noqa: E402
                     holds, mixed_feed, percentile, rss_mb, wait_quiet)

MONITOR_1 = 0x51


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class Panel:
    """The panel on its own storage folder and pseudo-terminal."""

    def __init__(self, exe, settings_extra=""):
        self.home = tempfile.mkdtemp(prefix="bench-extras-")
        self.line = Line()
        folder = os.path.join(self.home, "config", "velmar-controller")
        os.makedirs(folder)
        with open(os.path.join(folder, "settings.ini"), "w") as f:
            f.write(f"[Ports]\nCom1={self.line.path}\n{settings_extra}")
        lines = ["1200", "900"]
        for k in range(1, 17):
            lines += [f"CAMERA {k}", "F"]
        lines.append(os.path.join(self.home, "none.lng"))
        with open(os.path.join(folder, "velmarcontroller.ini"), "wb") as f:
            f.write(("\r\n".join(lines) + "\r\n").encode("latin-1"))
        env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(self.home, "config"),
                   XDG_STATE_HOME=os.path.join(self.home, "state"), QT_QPA_PLATFORM="offscreen")
        self.process = subprocess.Popen([exe], env=env, cwd=self.home,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        deadline = time.monotonic() + 15
        while not holds(self.process.pid, self.line.path) and time.monotonic() < deadline:
            time.sleep(0.05)
        wait_quiet(self.process.pid, cap_s=10, limit=0.02)

    @property
    def pid(self):
        return self.process.pid

    def log_bytes(self):
        folder = os.path.join(self.home, "state", "velmar-controller")
        total = 0
        for name in os.listdir(folder) if os.path.isdir(folder) else []:
            total += os.path.getsize(os.path.join(folder, name))
        return total

    def stop(self):
        if alive(self.process.pid):
            self.process.send_signal(signal.SIGTERM)
        try:
            self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        self.line.close()


def videohub(exe, clients=16, seconds=60):
    port = free_port()
    panel = Panel(exe, f"[Videohub]\nEnabled=true\nPort={port}\n")
    try:
        sockets = []
        for _ in range(clients):
            s = socket.create_connection(("127.0.0.1", port))
            s.setblocking(False)
            sockets.append(s)
        time.sleep(0.5)
        for s in sockets:  # the preludes
            try:
                while s.recv(65536):
                    pass
            except BlockingIOError:
                pass
        sent = []     # when each request left, in order
        arrived = []  # when each monitor code reached the far end, in order
        stop = threading.Event()

        def far_end():
            buffer = b""
            while not stop.is_set():
                select.select([panel.line.master], [], [], 0.05)
                try:
                    data = os.read(panel.line.master, 4096)
                except (BlockingIOError, OSError):
                    continue
                now = time.monotonic()
                buffer += data
                while len(buffer) >= 2:
                    code, buffer = buffer[0], buffer[2:]
                    if MONITOR_1 <= code < MONITOR_1 + 4:
                        arrived.append(now)

        reader = threading.Thread(target=far_end, daemon=True)
        reader.start()
        rss0, cpu0, t0 = rss_mb(panel.pid), cpu_seconds(panel.pid), time.monotonic()
        step = 1.0 / clients
        n = 0
        while time.monotonic() - t0 < seconds:
            due = t0 + n * step
            pause = due - time.monotonic()
            if pause > 0:
                time.sleep(pause)
            client = sockets[n % clients]
            output, camera = n % 4, (n * 7) % 16
            sent.append(time.monotonic())
            client.send(f"VIDEO OUTPUT ROUTING:\n{output} {camera}\n\n".encode())
            n += 1
            for s in sockets:  # ACKs and routing updates are read, not kept
                try:
                    while s.recv(65536):
                        pass
                except BlockingIOError:
                    pass
        time.sleep(0.5)
        stop.set()
        reader.join()
        cpu = cpu_seconds(panel.pid) - cpu0
        elapsed = time.monotonic() - t0
        rss1 = rss_mb(panel.pid)
        latencies = [(a - s) * 1000 for s, a in zip(sent, arrived)]
        for s in sockets:
            s.close()
        return {"requests": len(sent), "answered": len(arrived),
                "latency_ms_p50": percentile(latencies, 50),
                "latency_ms_p99": percentile(latencies, 99),
                "latency_ms_max": max(latencies) if latencies else None,
                "cpu_percent": 100 * cpu / elapsed, "rss_mb_before": rss0,
                "rss_growth_mb": rss1 - rss0}
    finally:
        panel.stop()


def baud_feed(panel, seconds):
    """11.52 KB/s of mixed text for the given time; the panel's CPU share."""
    feed = mixed_feed(BAUD_SLICE_BYTES * 100 * int(seconds + 1))
    cpu0, t0 = cpu_seconds(panel.pid), time.monotonic()
    at = 0
    slices = 0
    while time.monotonic() - t0 < seconds:
        due = t0 + slices * BAUD_SLICE_MS / 1000
        pause = due - time.monotonic()
        if pause > 0:
            time.sleep(pause)
        at += panel.line.write_some(feed[at:at + BAUD_SLICE_BYTES])
        panel.line.discard_replies()
        slices += 1
    return 100 * (cpu_seconds(panel.pid) - cpu0) / (time.monotonic() - t0)


def flood(panel, size):
    feed = mixed_feed(size)
    cpu0, written = cpu_seconds(panel.pid), 0
    while written < len(feed):
        select.select([], [panel.line.master], [], 0.1)
        written += panel.line.write_some(feed[written:written + 4096])
        panel.line.discard_replies()
    deadline = time.monotonic() + 30
    while panel.line.unread() > 0 and time.monotonic() < deadline:
        time.sleep(0.002)
    wait_quiet(panel.pid)
    return (cpu_seconds(panel.pid) - cpu0) / (written / 1e6)


def eventlog(exe, seconds=30, flood_bytes=4_000_000, size_minutes=0.0):
    out = {}
    for name, extra in (("log on", ""), ("log off", "[Events]\nEnabled=false\n")):
        panel = Panel(exe, extra)
        try:
            out[name] = {"cpu_percent_115200": baud_feed(panel, seconds),
                         "flood_cpu_s_per_mb": flood(panel, flood_bytes)}
            if name == "log on" and size_minutes:
                baud_feed(panel, size_minutes * 60)
            if name == "log on":
                time.sleep(0.5)
                out[name]["log_bytes"] = panel.log_bytes()
        finally:
            panel.stop()
    return out


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--build", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--only", nargs="*", choices=("videohub", "eventlog"))
    parser.add_argument("--seconds", type=float, default=60)
    parser.add_argument("--size-minutes", type=float, default=0,
                        help="feed the log at 115200 baud this long more, then its size")
    args = parser.parse_args()
    exe = os.path.join(args.build, "velmar-controller")
    results = {}
    if not args.only or "videohub" in args.only:
        results["videohub"] = videohub(exe, seconds=args.seconds)
        print("videohub:", json.dumps(results["videohub"], indent=1))
    if not args.only or "eventlog" in args.only:
        results["eventlog"] = eventlog(exe, seconds=min(args.seconds, 30),
                                       size_minutes=args.size_minutes)
        print("eventlog:", json.dumps(results["eventlog"], indent=1))
    with open(args.out, "w") as f:
        json.dump(results, f, indent=2)


if __name__ == "__main__":
    main()
