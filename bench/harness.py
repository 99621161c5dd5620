#!/usr/bin/env python3
"""Runs the panel's benchmarks and its two peer terminals side by side.

Everything is measured from outside the programs: bytes and datagrams at the
far end of real pseudo-terminals and of UDP on 127.0.0.1, CPU time and
resident memory from /proc, window mapping from the X server (Xvfb). The
peers, CuteCom and GtkTerm, get the same bytes in the same run.

Called by bench/run.sh, which builds everything first.
"""

import argparse
import fcntl
import json
import os
import pty
import random
import re
import select
import shutil
import signal
import statistics
import struct
import subprocess
import sys
import tempfile
import termios
import time
import tty

PEERS = ("CuteCom", "GtkTerm")
PROGRAMS = ("Velmar Controller",) + PEERS
# The panel again, with its traffic window open (Ctrl+T), beside itself.
TRAFFIC_OPEN = "Velmar Controller, traffic window open"
TRAFFIC_FRAMES = 100_000

# 115200 baud with 8N1 framing carries 11.52 KB/s; the far end hands it over
# in 10 ms slices, as a UART driver's receive buffer would.
BAUD_SLICE_MS = 10
BAUD_SLICE_BYTES = 115

FLOOD_BYTES = 8_000_000
FLOOD_TIME_CAP_S = 25
QUIET_WINDOW_S = 0.5
QUIET_CAP_S = 40

GTKTERMRC = """[default]
port\t= {port}
speed\t= 115200
bits\t= 8
stopbits\t= 1
parity\t= none
flow\t= none
wait_delay\t= 0
wait_char\t= -1
rs485_rts_time_before_tx\t= 30
rs485_rts_time_after_tx\t= 30
echo\t= False
crlfauto\t= False
timestamp\t= False
font\t= "Monospace 12"
term_block_cursor\t= True
term_rows\t= 80
term_columns\t= 25
term_scrollback\t= 10000
term_visual_bell\t= True
term_foreground_red\t= 0.660000
term_foreground_blue\t= 0.660000
term_foreground_green\t= 0.660000
term_foreground_alpha\t= 1.000000
term_background_red\t= 0.000000
term_background_blue\t= 0.000000
term_background_green\t= 0.000000
term_background_alpha\t= 1.000000
"""

CUTECOM_CONF = """[sessions]
1\\BaudRate=115200
1\\DataBits=8
1\\Device={port}
1\\FlowControl=0
1\\OpenMode=3
1\\Parity=0
1\\StopBits=1
1\\autoReconnect=false
1\\name=bench
1\\showCtrlCharacters=false
1\\showTimestamp=false
size=1
"""


def log(*parts):
    print("[bench]", *parts, file=sys.stderr, flush=True)


# --- /proc --------------------------------------------------------------------


def cpu_seconds(pid):
    """User + system time of the whole process, exited threads included."""
    with open(f"/proc/{pid}/stat") as f:
        rest = f.read().rsplit(")", 1)[1].split()
    return (int(rest[11]) + int(rest[12])) / os.sysconf("SC_CLK_TCK")


def run_ns(pid):
    """Nanoseconds on a CPU of the live threads: fine-grained, for quiet checks."""
    total = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/schedstat") as f:
                total += int(f.read().split()[0])
        except OSError:
            pass
    return total


def rss_mb(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) / 1024
    return float("nan")


def holds(pid, path):
    try:
        for fd in os.listdir(f"/proc/{pid}/fd"):
            try:
                if os.readlink(f"/proc/{pid}/fd/{fd}") == path:
                    return True
            except OSError:
                pass
    except OSError:
        pass
    return False


def alive(pid):
    try:
        with open(f"/proc/{pid}/stat") as f:
            return f.read().rsplit(")", 1)[1].split()[0] != "Z"
    except OSError:
        return False


def wait_quiet(pid, cap_s=QUIET_CAP_S, limit=0.01):
    """Waits until the process used less than `limit` of a core over a whole
    window; returns the time it fell quiet and whether it did."""
    deadline = time.monotonic() + cap_s
    last_t, last_ns = time.monotonic(), run_ns(pid)
    while time.monotonic() < deadline:
        time.sleep(QUIET_WINDOW_S)
        t, ns = time.monotonic(), run_ns(pid)
        if (ns - last_ns) / 1e9 < limit * (t - last_t):
            return t, True
        last_t, last_ns = t, ns
    return time.monotonic(), False


# --- the far end of a line --------------------------------------------------------


class Line:
    """A pseudo-terminal: a program opens the slave, the harness plays the far end."""

    def __init__(self):
        self.master, self.slave = pty.openpty()
        tty.setraw(self.slave)
        os.set_blocking(self.master, False)
        self.path = os.ttyname(self.slave)

    def unread(self):
        """Bytes sent that the program has not read yet."""
        buf = fcntl.ioctl(self.slave, termios.FIONREAD, b"\0\0\0\0")
        return struct.unpack("i", buf)[0]

    def discard_replies(self):
        try:
            while os.read(self.master, 65536):
                pass
        except OSError:
            pass

    def write_some(self, data):
        try:
            return os.write(self.master, data)
        except BlockingIOError:
            return 0

    def close(self):
        for fd in (self.master, self.slave):
            try:
                os.close(fd)
            except OSError:
                pass


def mixed_feed(size, seed=8):
    """Terminal text with the switcher's status-like replies mixed in."""
    rnd = random.Random(seed)
    words = [
        b"camera", b"monitor", b"preset", b"ALARM", b"zone", b"tour", b"OK", b"sequence",
        b"dome", b"iris", b"focus", b"12:04:33", b"input", b"loss", b"video", b"restored",
    ]
    out = bytearray()
    while len(out) < size:
        if rnd.random() < 0.12:
            camera = rnd.randrange(16)
            high, low = (0, 0x80 >> (camera - 8)) if camera >= 8 else (0x80 >> camera, 0)
            out += bytes([0x02, rnd.choice((0x00, 0x40, 0x20, 0x60)) | 0x80, high, low])
        else:
            out += b" ".join(rnd.choice(words) for _ in range(rnd.randrange(3, 12))) + b"\r\n"
    return bytes(out[:size])


# --- programs -------------------------------------------------------------------------


class Program:
    """One terminal program on its own pseudo-terminal, started through the
    window watcher so that its start-up time is known."""

    def __init__(self, name, h):
        self.name = name
        self.h = h
        self.watch = None
        self.pid = None
        self.line = None
        self.home = tempfile.mkdtemp(prefix="bench-" + name.split()[0].lower() + "-",
                                     dir=h.work)

    def command_env(self):
        raise NotImplementedError

    def title(self):
        raise NotImplementedError

    def open_port(self):
        return holds(self.pid, self.line.path)

    def start(self, line):
        """Starts the program; returns its start-up time in ms (None: no window)."""
        self.line = line
        argv, env = self.command_env()
        env["DISPLAY"] = self.h.display
        self.watch = subprocess.Popen(
            [self.h.mapwatch, self.title(), "15000"] + argv,
            env=env, cwd=self.home, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        first = self.watch.stdout.readline().split()
        if len(first) != 2:
            self.stop()
            return None
        self.pid = int(first[1])
        return None if first[0] == "timeout" else float(first[0])

    def ready(self):
        """Opens the port the way an operator would; True once the program holds it."""
        for _ in range(3):
            if self.open_port():
                return True
            time.sleep(0.5)
        return holds(self.pid, self.line.path)

    def stop(self):
        if self.pid and alive(self.pid):
            try:
                os.kill(self.pid, signal.SIGTERM)
            except OSError:
                pass
        if self.watch:
            try:
                self.watch.wait(timeout=10)
            except subprocess.TimeoutExpired:
                if self.pid and alive(self.pid):
                    os.kill(self.pid, signal.SIGKILL)
                self.watch.wait()
        if self.line:
            # A terminal killed with its port open leaves its lock file behind.
            lock = "/run/lock/LCK.." + os.path.basename(self.line.path)
            try:
                with open(lock) as f:
                    if f.read().split()[0] == str(self.pid):
                        os.remove(lock)
            except (OSError, IndexError):
                pass
        self.watch = None
        self.pid = None


class Panel(Program):
    def command_env(self):
        folder = os.path.join(self.home, "config", "velmar-controller")
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, "settings.ini"), "w") as f:
            f.write(f"[Ports]\nCom1={self.line.path}\n")
        # A configuration of 35 lines naming a language file: a start-up
        # that is not the first one.
        lines = ["1200", "900"]
        for k in range(1, 17):
            lines += [f"CAMERA {k}", "Dome" if k % 3 == 0 else "F"]
        lines.append(self.h.language)
        with open(os.path.join(folder, "velmarcontroller.ini"), "wb") as f:
            f.write(("\r\n".join(lines) + "\r\n").encode("latin-1"))
        env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(self.home, "config"),
                   XDG_STATE_HOME=os.path.join(self.home, "state"))
        env.pop("QT_QPA_PLATFORM", None)
        return [self.h.panel], env

    def title(self):
        return "Velmar-Controller"  # the main window's caption


class PanelWithTraffic(Panel):
    def open_port(self):
        if not holds(self.pid, self.line.path):
            return False
        env = dict(os.environ, DISPLAY=self.h.display)

        def traffic_windows():
            return subprocess.run(["xdotool", "search", "--pid", str(self.pid), "--name",
                                   "^Traffic$"], env=env, capture_output=True,
                                  text=True).stdout.split()

        if traffic_windows():
            return True
        found = subprocess.run(["xdotool", "search", "--pid", str(self.pid), "--name",
                                "^Velmar-Controller$"], env=env, capture_output=True,
                               text=True).stdout.split()
        for window in found:
            subprocess.run(["xdotool", "windowfocus", "--sync", window], env=env,
                           capture_output=True, timeout=5)
            subprocess.run(["xdotool", "key", "--window", window, "ctrl+t"], env=env,
                           capture_output=True, timeout=5)
        time.sleep(0.5)
        return bool(traffic_windows())


class CuteCom(Program):
    def command_env(self):
        conf = os.path.join(self.home, ".config", "CuteCom")
        os.makedirs(conf, exist_ok=True)
        with open(os.path.join(conf, "CuteCom5.conf"), "w") as f:
            f.write(CUTECOM_CONF.format(port=self.line.path))
        run = os.path.join(self.home, "run")
        os.makedirs(run, mode=0o700, exist_ok=True)
        env = dict(os.environ, HOME=self.home, XDG_RUNTIME_DIR=run, LD_PRELOAD=self.h.shim,
                   XDG_CONFIG_HOME=os.path.join(self.home, ".config"))
        env.pop("QT_QPA_PLATFORM", None)
        return ["cutecom", "-s", "bench"], env

    def title(self):
        return "CuteCom"

    def open_port(self):
        if holds(self.pid, self.line.path):
            return True
        env = dict(os.environ, DISPLAY=self.h.display)
        found = subprocess.run(["xdotool", "search", "--pid", str(self.pid), "--name", "CuteCom"],
                               env=env, capture_output=True, text=True).stdout.split()
        for window in found:
            subprocess.run(["xdotool", "windowfocus", "--sync", window], env=env,
                           capture_output=True, timeout=5)
            subprocess.run(["xdotool", "key", "alt+o"], env=env, capture_output=True, timeout=5)
        time.sleep(0.5)
        return holds(self.pid, self.line.path)


class GtkTerm(Program):
    def command_env(self):
        conf = os.path.join(self.home, ".config")
        os.makedirs(conf, exist_ok=True)
        with open(os.path.join(conf, ".gtktermrc"), "w") as f:
            f.write(GTKTERMRC.format(port=self.line.path))
        env = dict(os.environ, HOME=self.home, LD_PRELOAD=self.h.shim,
                   XDG_CONFIG_HOME=conf)
        return ["gtkterm"], env

    def title(self):
        return "GTKTerm"

    def open_port(self):
        # Unknown to udev, the pty is closed at start; "open port" on SIGUSR1
        # opens it again once the window is up.
        if holds(self.pid, self.line.path):
            return True
        time.sleep(1.0)
        os.kill(self.pid, signal.SIGUSR1)
        time.sleep(0.5)
        return holds(self.pid, self.line.path)


# --- statistics --------------------------------------------------------------------------


def percentile(values, p):
    if not values:
        return float("nan")
    ordered = sorted(values)
    k = (len(ordered) - 1) * p / 100
    lo = int(k)
    hi = min(lo + 1, len(ordered) - 1)
    return ordered[lo] + (ordered[hi] - ordered[lo]) * (k - lo)


# --- the harness -------------------------------------------------------------------------


class Harness:
    def __init__(self, args):
        self.args = args
        self.build = os.path.abspath(args.build)
        self.panel = os.path.join(self.build, "velmar-controller")
        self.mapwatch = os.path.join(self.build, "bench", "bench-mapwatch")
        self.bench_panel = os.path.join(self.build, "bench", "bench-panel")
        self.timerref = os.path.join(self.build, "bench", "bench-timerref")
        self.shim = os.path.join(self.build, "bench", "libmodemshim.so")
        self.language = os.path.join(self.build, "lang", "English.lng")
        self.work = tempfile.mkdtemp(prefix="velmar-bench-")
        self.display = None
        self.xvfb = None
        self.results = {"rows": [], "raw": {}}
        self.available = {name: shutil.which(cmd) is not None
                          for name, cmd in (("CuteCom", "cutecom"), ("GtkTerm", "gtkterm"))}

    def make(self, name):
        return {"Velmar Controller": Panel, TRAFFIC_OPEN: PanelWithTraffic, "CuteCom": CuteCom,
                "GtkTerm": GtkTerm}[name](name, self)

    # X server ------------------------------------------------------------------------

    def start_x(self):
        for n in range(90, 200):
            if os.path.exists(f"/tmp/.X11-unix/X{n}") or os.path.exists(f"/tmp/.X{n}-lock"):
                continue
            self.xvfb = subprocess.Popen(
                ["Xvfb", f":{n}", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            for _ in range(100):
                if os.path.exists(f"/tmp/.X11-unix/X{n}"):
                    self.display = f":{n}"
                    return
                if self.xvfb.poll() is not None:
                    break
                time.sleep(0.05)
            if self.xvfb.poll() is None:
                self.xvfb.terminate()
                self.xvfb.wait()
        raise RuntimeError("no virtual X server could be started")

    def stop_x(self):
        if self.xvfb and self.xvfb.poll() is None:
            self.xvfb.terminate()
            self.xvfb.wait()

    # rows ------------------------------------------------------------------------------

    def row(self, figure, target, measured, spread, ok, note=""):
        self.results["rows"].append({"figure": figure, "target": target, "measured": measured,
                                     "spread": spread, "result": ok, "note": note})

    # 1, 2, 3: latency and timing, inside one panel over a pty and UDP --------------------

    def run_bench_panel(self, extra):
        """Runs the panel's timing program with a bare timer process beside it,
        so that the machine's own timer lateness is known for the same time."""
        env = dict(os.environ, DISPLAY=self.display)
        env.pop("QT_QPA_PLATFORM", None)
        reference = subprocess.Popen([self.timerref], stdin=subprocess.PIPE,
                                     stdout=subprocess.PIPE, text=True)
        try:
            out = subprocess.run([self.bench_panel, "--language", self.language] + extra,
                                 env=env, capture_output=True, text=True, timeout=240,
                                 cwd=self.work)
        finally:
            reference_out, _ = reference.communicate(timeout=10)
        lines = [l for l in out.stdout.splitlines() if l.startswith("{")]
        if out.returncode != 0 or not lines:
            raise RuntimeError("bench-panel failed: " + out.stderr.strip()[-500:])
        result = json.loads(lines[-1])
        try:
            result["reference"] = json.loads(reference_out)
        except ValueError:
            result["reference"] = {"tick_lateness_ms": []}
        return result

    def latency_and_timing(self):
        log("command latency (serial, UDP) and timer accuracy, idle")
        idle = self.run_bench_panel(["--clicks", str(self.args.clicks),
                                     "--trials", str(self.args.trials)])
        log("timer accuracy with the other core busy")
        spinner = subprocess.Popen(["sh", "-c", "while :; do :; done"])
        try:
            busy = self.run_bench_panel(["--timing-only", "--trials", str(self.args.trials)])
        finally:
            spinner.kill()
            spinner.wait()
        self.results["raw"]["panel_idle"] = idle
        self.results["raw"]["panel_busy"] = busy

        for key, figure in (("serial_latency_ms", "command latency, serial"),
                            ("udp_latency_ms", "command latency, UDP")):
            v = idle[key]
            p50, p99 = percentile(v, 50), percentile(v, 99)
            self.row(figure, "p50 < 0.3 ms, p99 < 1 ms", f"p50 {p50:.3f} ms",
                     f"p99 {p99:.3f} ms, max {max(v):.2f} ms ({len(v)} clicks)",
                     p50 < 0.3 and p99 < 1.0)
        for data, label, limit in ((idle, "idle", 2.0), (busy, "other core busy", 5.0)):
            all_errors = []
            parts = []
            for kind, errors in data["timing_error_ms"].items():
                absolute = [abs(e) for e in errors]
                all_errors += absolute
                parts.append(f"{kind.split(' (')[0]}: p99 {percentile(absolute, 99):.2f}")
            p50, p99 = percentile(all_errors, 50), percentile(all_errors, 99)
            lost = data.get("lost", 0)
            split = data.get("timing_split", {})
            late = [abs(v) for v in split.get("tick_lateness_ms", [])]
            wire = split.get("tick_to_far_end_ms", [])
            ref = [abs(v) for v in data["reference"]["tick_lateness_ms"]]
            same = [abs(v) for v in split.get("same_process_timer_lateness_ms", [])]
            note = (f"of which tick late p50 {percentile(late, 50):.2f}/p99 "
                    f"{percentile(late, 99):.2f}, tick to far end p50 {percentile(wire, 50):.2f}/p99 "
                    f"{percentile(wire, 99):.2f}; a bare QTimer, in the panel's loop: p50 "
                    f"{percentile(same, 50):.2f}/p99 {percentile(same, 99):.2f}, in its own "
                    f"process: p50 {percentile(ref, 50):.2f}/p99 {percentile(ref, 99):.2f} ms")
            if lost:
                note += f"; {lost} commands missing"
            self.row(f"timing accuracy, {label}", f"p99 error < {limit:g} ms",
                     f"|error| p50 {p50:.2f} ms",
                     f"p99 {p99:.2f} ms ({len(all_errors)} steps; " + "; ".join(parts) + ")",
                     p99 < limit and lost == 0, note)

    # 4, 6: start-up -----------------------------------------------------------------------

    def startup(self):
        figures = {}
        for name in PROGRAMS:
            if name != PROGRAMS[0] and not self.available[name]:
                figures[name] = "n/a (not installed)"
                continue
            log("start-up:", name)
            times = []
            for run in range(self.args.startups + 1):
                line = Line()
                program = self.make(name)
                try:
                    ms = program.start(line)
                    if ms is not None and run > 0:  # the first run warms the caches
                        times.append(ms)
                    time.sleep(0.3)
                finally:
                    program.stop()
                    line.close()
            figures[name] = times
        self.results["raw"]["startup_ms"] = figures
        ours = figures[PROGRAMS[0]]
        if not ours:
            self.row("start-up", "< 200 ms", "n/a", "no window", False)
        else:
            med = statistics.median(ours)
            self.row("start-up (window mapped)", "< 200 ms", f"{med:.0f} ms",
                     f"{min(ours):.0f}-{max(ours):.0f} ms over {len(ours)} starts", med < 200)
        for name in PEERS:
            v = figures[name]
            if isinstance(v, str) or not v:
                self.row(f"  {name} start-up", "(peer)", v if isinstance(v, str) else "n/a", "",
                         None)
            else:
                self.row(f"  {name} start-up", "(peer)", f"{statistics.median(v):.0f} ms",
                         f"{min(v):.0f}-{max(v):.0f} ms", None)

    # 5: flood ----------------------------------------------------------------------------

    def flood_one(self, name, feed):
        line = Line()
        program = self.make(name)
        try:
            if program.start(line) is None:
                return f"n/a (no window within 15 s)"
            if not program.ready():
                return "n/a (the program did not hold its port open)"
            pid = program.pid
            wait_quiet(pid, cap_s=10, limit=0.02)
            cpu0, x0, t0 = cpu_seconds(pid), cpu_seconds(self.xvfb.pid), time.monotonic()
            written = 0
            while written < len(feed) and time.monotonic() - t0 < FLOOD_TIME_CAP_S:
                select.select([], [line.master], [], 0.1)
                n = line.write_some(feed[written:written + 4096])
                written += n
                line.discard_replies()
                if not alive(pid):
                    return "n/a (the program ended during the flood)"
            drain_deadline = time.monotonic() + 30
            while line.unread() > 0 and time.monotonic() < drain_deadline:
                time.sleep(0.002)
            t_drained = time.monotonic()
            t_quiet, quiet = wait_quiet(pid)
            cpu = cpu_seconds(pid) - cpu0
            x_cpu = cpu_seconds(self.xvfb.pid) - x0
            mb = written / 1e6
            return {"bytes": written, "cpu_s": cpu, "cpu_s_per_mb": cpu / mb,
                    "x_server_cpu_s_per_mb": x_cpu / mb, "drain_mb_s": mb / (t_drained - t0),
                    "quiet_after_s": t_quiet - t_drained, "fell_quiet": quiet,
                    "rss_mb": rss_mb(pid)}
        finally:
            program.stop()
            line.close()

    def flood(self):
        feed = mixed_feed(self.args.flood_bytes)
        figures = {}
        for name in PROGRAMS:
            if name != PROGRAMS[0] and not self.available[name]:
                figures[name] = "n/a (not installed)"
                continue
            log("receive flood:", name)
            figures[name] = self.flood_one(name, feed)
        log("receive flood:", TRAFFIC_OPEN)
        figures[TRAFFIC_OPEN] = self.flood_one(TRAFFIC_OPEN, feed)
        self.results["raw"]["flood"] = figures
        ours = figures[PROGRAMS[0]]
        peers = [figures[n]["cpu_s_per_mb"] for n in PEERS if isinstance(figures[n], dict)]
        best = min(peers) if peers else None

        def describe(f):
            return (f"{f['cpu_s_per_mb']:.3f} CPU s/MB",
                    f"{f['drain_mb_s']:.2f} MB/s drained, {f['bytes'] / 1e6:.1f} MB, quiet "
                    f"{f['quiet_after_s']:.1f} s after"
                    + ("" if f["fell_quiet"] else " (never quiet: counted to the cap)")
                    + f"; X server {f['x_server_cpu_s_per_mb']:.3f} s/MB")

        if isinstance(ours, dict):
            measured, spread = describe(ours)
            ok = None if best is None else ours["cpu_s_per_mb"] <= best / 2
            ratio = "" if best is None else f"{ours['cpu_s_per_mb'] / best:.2f} x the best peer"
            self.row("receive path, flood", "CPU/MB <= 1/2 best peer", measured, spread, ok, ratio)
        else:
            self.row("receive path, flood", "CPU/MB <= 1/2 best peer", ours, "", False)
        opened = figures[TRAFFIC_OPEN]
        if isinstance(opened, dict):
            measured, spread = describe(opened)
            self.row("  flood, traffic window open", "(beside it)", measured,
                     spread + f"; RSS {opened['rss_mb']:.1f} MB", None)
        else:
            self.row("  flood, traffic window open", "(beside it)", opened, "", None)
        for name in PEERS:
            f = figures[name]
            if isinstance(f, dict):
                measured, spread = describe(f)
                self.row(f"  {name} flood", "(peer)", measured, spread, None)
            else:
                self.row(f"  {name} flood", "(peer)", f, "", None)

    # 7, 8: the 115200-baud feed, footprint and idle, all three side by side ------------

    def soak(self):
        minutes = self.args.soak_minutes
        names = [n for n in PROGRAMS if n == PROGRAMS[0] or self.available[n]] + [TRAFFIC_OPEN]
        running = {}
        lines = {}
        notes = {n: "n/a (not installed)" for n in PROGRAMS if n not in names}
        try:
            for name in names:
                line = Line()
                program = self.make(name)
                lines[name] = line
                if program.start(line) is None:
                    notes[name] = "n/a (no window)"
                    program.stop()
                elif not program.ready():
                    notes[name] = "n/a (the program did not hold its port open)"
                    program.stop()
                else:
                    running[name] = program
            time.sleep(5)
            rss_start = {n: rss_mb(p.pid) for n, p in running.items()}
            log(f"idle CPU over {self.args.idle_seconds} s")
            cpu0 = {n: cpu_seconds(p.pid) for n, p in running.items()}
            time.sleep(self.args.idle_seconds)
            idle = {n: 100 * (cpu_seconds(p.pid) - cpu0[n]) / self.args.idle_seconds
                    for n, p in running.items()}
            log(f"115200-baud feed for {minutes:g} min")
            feed = mixed_feed(2_000_000, seed=115)
            start = time.monotonic()
            cpu0 = {n: cpu_seconds(p.pid) for n, p in running.items()}
            cpu30 = {}
            slices = 0
            offset = 0
            dropped = {n: 0 for n in running}
            while True:
                due = start + slices * BAUD_SLICE_MS / 1000
                now = time.monotonic()
                if due > now:
                    time.sleep(due - now)
                if not cpu30 and time.monotonic() - start >= 30:
                    cpu30 = {n: cpu_seconds(p.pid) for n, p in running.items()}
                    t30 = time.monotonic() - start
                if time.monotonic() - start >= minutes * 60:
                    break
                chunk = feed[offset:offset + BAUD_SLICE_BYTES]
                offset = (offset + BAUD_SLICE_BYTES) % (len(feed) - BAUD_SLICE_BYTES)
                for n in running:
                    dropped[n] += len(chunk) - lines[n].write_some(chunk)
                    lines[n].discard_replies()
                slices += 1
            elapsed = time.monotonic() - start
            if not cpu30:
                cpu30 = {n: cpu_seconds(p.pid) for n, p in running.items()}
                t30 = elapsed
            total = {n: 100 * (cpu_seconds(p.pid) - cpu0[n]) / elapsed for n, p in running.items()}
            first30 = {n: 100 * (cpu30[n] - cpu0[n]) / t30 for n in running}
            rss_end = {n: rss_mb(p.pid) for n, p in running.items()}
            rate = slices * BAUD_SLICE_BYTES / elapsed / 1000
        finally:
            for p in running.values():
                p.stop()
            for line in lines.values():
                line.close()

        self.results["raw"]["soak"] = {
            "minutes": minutes, "feed_kb_s": rate, "idle_cpu_percent": idle,
            "cpu_percent_first_30s": first30, "cpu_percent_whole_feed": total,
            "rss_mb_after_startup": rss_start, "rss_mb_after_feed": rss_end,
            "bytes_refused": dropped, "notes": notes}
        ours = PROGRAMS[0]
        if ours not in running:
            self.row("CPU at 115200 baud", "< 1.5 % of a core", notes.get(ours, "n/a"), "", False)
            return
        self.row("CPU at 115200 baud (30 s)", "< 1.5 % of a core", f"{first30[ours]:.2f} %",
                 f"{total[ours]:.2f} % over the whole {minutes:g} min feed at {rate:.1f} KB/s",
                 first30[ours] < 1.5)
        if TRAFFIC_OPEN in running:
            more = first30[TRAFFIC_OPEN] - first30[ours]
            self.row("  115200 baud, traffic window open", "<= 1 % of a core more",
                     f"{first30[TRAFFIC_OPEN]:.2f} % ({more:+.2f} %)",
                     f"{total[TRAFFIC_OPEN]:.2f} % over the whole feed; RSS "
                     f"{rss_end[TRAFFIC_OPEN]:.1f} MB", more <= 1.0)
        else:
            self.row("  115200 baud, traffic window open", "<= 1 % of a core more",
                     notes.get(TRAFFIC_OPEN, "n/a"), "", False)
        for n in PEERS:
            if n in running:
                self.row(f"  {n} at 115200", "(peer)", f"{first30[n]:.2f} %",
                         f"{total[n]:.2f} % over the whole feed", None)
            else:
                self.row(f"  {n} at 115200", "(peer)", notes.get(n, "n/a"), "", None)
        growth = rss_end[ours] - rss_start[ours]
        self.row("RSS after start-up", "< 50 MB", f"{rss_start[ours]:.1f} MB", "",
                 rss_start[ours] < 50)
        self.row(f"RSS growth, {minutes:g} min of 115200 feed"
                 + ("" if minutes >= 10 else " (short soak; --soak-minutes 10 for the full one)"),
                 "< 2 MB", f"{growth:+.2f} MB", f"{rss_start[ours]:.1f} -> {rss_end[ours]:.1f} MB",
                 growth < 2 and rss_end[ours] < 50)
        self.row(f"idle CPU over {self.args.idle_seconds} s", "< 0.2 %", f"{idle[ours]:.3f} %",
                 "", idle[ours] < 0.2)
        for n in PEERS:
            if n in running:
                self.row(f"  {n} footprint", "(peer)",
                         f"RSS {rss_start[n]:.1f} -> {rss_end[n]:.1f} MB",
                         f"idle {idle[n]:.3f} %", None)

    # 9: the traffic window's memory when it holds all the frames it keeps --------------

    def traffic_memory(self):
        line = Line()
        program = self.make(TRAFFIC_OPEN)
        try:
            if program.start(line) is None or not program.ready():
                self.row("traffic window memory", "< 60 MB", "n/a", "no traffic window", False)
                return
            pid = program.pid
            rss_before = rss_mb(pid)
            # Status replies one at a time, each read as a frame of its own.
            reply = bytes([0x01, 0x40, 0x08, 0x00])
            sent = 0
            start = time.monotonic()
            while sent < TRAFFIC_FRAMES + TRAFFIC_FRAMES // 10 and time.monotonic() - start < 120:
                if line.write_some(reply) == len(reply):
                    sent += 1
                deadline = time.monotonic() + 0.05
                while line.unread() > 0 and time.monotonic() < deadline:
                    pass
                line.discard_replies()
            time.sleep(1)
            rss = rss_mb(pid)
            self.results["raw"]["traffic_memory"] = {"replies": sent, "rss_mb_before": rss_before,
                                                     "rss_mb_after": rss}
            self.row(f"traffic window memory ({sent} replies)", "< 60 MB", f"{rss:.1f} MB",
                     f"{rss_before:.1f} MB before the frames", rss < 60)
        finally:
            program.stop()
            line.close()

    # output ---------------------------------------------------------------------------------

    def table(self):
        headers = ("figure", "target", "measured (median)", "p99 / spread", "result")
        rows = []
        for r in self.results["rows"]:
            result = {True: "pass", False: "FAIL", None: ""}[r["result"]]
            spread = r["spread"] + (f" [{r['note']}]" if r["note"] else "")
            rows.append((r["figure"], r["target"], r["measured"], spread, result))
        widths = [max(len(h), *(len(row[i]) for row in rows)) for i, h in enumerate(headers)]
        out = ["| " + " | ".join(h.ljust(w) for h, w in zip(headers, widths)) + " |",
               "|" + "|".join("-" * (w + 2) for w in widths) + "|"]
        for row in rows:
            out.append("| " + " | ".join(c.ljust(w) for c, w in zip(row, widths)) + " |")
        return "\n".join(out)

    def run(self):
        started = time.monotonic()
        with open("/proc/loadavg") as f:
            self.results["load_before"] = f.read().split()[:3]
        self.start_x()
        try:
            steps = {"latency": self.latency_and_timing, "startup": self.startup,
                     "flood": self.flood, "soak": self.soak, "traffic": self.traffic_memory}
            for name in self.args.only or steps:
                try:
                    steps[name]()
                except Exception as error:  # one broken benchmark never hides the others
                    log(f"{name} failed: {error}")
                    self.row(name, "", "n/a", str(error)[:200], False)
        finally:
            self.stop_x()
            shutil.rmtree(self.work, ignore_errors=True)
        with open("/proc/loadavg") as f:
            self.results["load_after"] = f.read().split()[:3]
        self.results["seconds"] = time.monotonic() - started
        self.results["cores"] = os.cpu_count()
        return self.results


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--build", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--soak-minutes", type=float, default=2)
    parser.add_argument("--idle-seconds", type=int, default=60)
    parser.add_argument("--clicks", type=int, default=1000)
    parser.add_argument("--trials", type=int, default=8)
    parser.add_argument("--startups", type=int, default=5)
    parser.add_argument("--flood-bytes", type=int, default=FLOOD_BYTES)
    parser.add_argument("--only", nargs="*",
                        choices=("latency", "startup", "flood", "soak", "traffic"))
    args = parser.parse_args()

    harness = Harness(args)
    results = harness.run()
    table = harness.table()
    results["table"] = table
    with open(args.out, "w") as f:
        json.dump(results, f, indent=2)
    print(table)
    print(f"\n{results['cores']} cores; load average {' '.join(results['load_before'])} before, "
          f"{' '.join(results['load_after'])} after; {results['seconds']:.0f} s. "
          f"Raw figures: {args.out}")


if __name__ == "__main__":
    main()
