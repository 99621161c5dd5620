#!/usr/bin/env python3
"""The Videohub server, the event log, the locks, the tours, the browser panel
and the message bus, measured from outside the program.

  videohub   16 Videohub clients on 127.0.0.1, each asking for a route once a
             second: the panel's CPU, its memory growth, and the time from a
             client's request to the monitor's code at the far end of the
             serial line (p50/p99).
  eventlog   the 115200-baud feed and the flood with the event log on and
             off ([Events] Enabled=false): CPU, CPU per MB, and the log's size
             after the feed.
  locks      a route through the arbiter: the panel's click to byte and a
             Videohub client's request to byte, the program now and as it was
             before its locks (a checkout of that commit, built beside the
             repository), alternating in one run.
  tours      four tours with a 1 s dwell for 10 minutes in the program without
             a window: each step against its due time, CPU above the same
             program idle, memory each minute.
  web        20 browser clients on the live socket, 16 routing once a second
             for 60 s: request to the bytes on the line, the switcher's reply
             to every client's push, CPU and memory.
  bus        1,000 route commands a second on a real mosquitto for 10 s: every
             answer on the result topic, the routes on the line, the panel's
             click to byte meanwhile, its memory.

--short runs the last four for a short while, to try them out.

The panel runs with Qt's offscreen platform on a pseudo-terminal whose far end
the script plays. Called by bench/run-extras.sh after the build.
"""

import argparse
import json
import os
import select
import shutil
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
    """The panel on its own storage folder and pseudo-terminal (or, with
    arguments such as --headless, the same program without a window).
    files: more files of the storage folder, by name; users: browser panel
    users (name, role), added with --add-user before the start."""

    def __init__(self, exe, settings_extra="", args=(), files=None, users=()):
        self.home = tempfile.mkdtemp(prefix="bench-extras-")
        self.line = Line()
        self.folder = os.path.join(self.home, "config", "velmar-controller")
        os.makedirs(self.folder)
        with open(os.path.join(self.folder, "settings.ini"), "w") as f:
            f.write(f"[Ports]\nCom1={self.line.path}\n{settings_extra}")
        lines = ["1200", "900"]
        for k in range(1, 17):
            lines += [f"CAMERA {k}", "F"]
        lines.append(os.path.join(self.home, "none.lng"))
        with open(os.path.join(self.folder, "velmarcontroller.ini"), "wb") as f:
            f.write(("\r\n".join(lines) + "\r\n").encode("latin-1"))
        for name, text in (files or {}).items():
            with open(os.path.join(self.folder, name), "w") as f:
                f.write(text)
        env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(self.home, "config"),
                   XDG_STATE_HOME=os.path.join(self.home, "state"),
                   XDG_RUNTIME_DIR=os.path.join(self.home, "run"), QT_QPA_PLATFORM="offscreen")
        os.makedirs(env["XDG_RUNTIME_DIR"], mode=0o700)
        for name, role in users:
            subprocess.run([exe, "--add-user", name, role], input=name + "-pw\n", text=True,
                           env=env, check=True, capture_output=True)
        self.process = subprocess.Popen([exe, *args], env=env, cwd=self.home,
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
        shutil.rmtree(self.home, ignore_errors=True)


def videohub(exe, clients=16, seconds=60, per_second=None):
    """per_second: requests a second from all clients together (default: one
    a second from each)."""
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
        step = 1.0 / (per_second or clients)
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
                "rss_growth_mb": rss1 - rss0, "latencies_ms": latencies}
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


# --- the switcher's end of the line ---------------------------------------------------

CR = 0x0D
CAMERA_1 = 0x31


def status_reply(monitor, camera):
    """The switcher's status reply naming a camera on a monitor."""
    index = monitor - 1
    second = 0x80 | (0x40 if index & 1 else 0) | (0x20 if index & 2 else 0)
    high, low = (0x80 >> (camera - 1), 0) if camera <= 8 else (0, 0x80 >> (camera - 9))
    return bytes([0x02, second, high, low])


class Switcher(threading.Thread):
    """Plays the switcher at the far end of a panel's line: stamps every
    command as it can be read (a code followed by CR) and, with answer=True,
    answers each route at once with the status reply that names it, as a
    switcher confirming it would."""

    def __init__(self, line, answer=False):
        super().__init__(daemon=True)
        self.line = line
        self.answer = answer
        self.codes = []    # (time, code) of every command
        self.routes = []   # (time of the monitor's code, time of the camera's, monitor, camera)
        self.replies = []  # (time written, monitor, camera)
        self.halt = threading.Event()

    def run(self):
        buffer = b""
        monitor = None
        while not self.halt.is_set():
            select.select([self.line.master], [], [], 0.05)
            try:
                data = os.read(self.line.master, 65536)
            except (BlockingIOError, OSError):
                continue
            now = time.monotonic()
            buffer += data
            while True:
                end = buffer.find(CR)
                if end < 0:
                    break
                frame, buffer = buffer[:end], buffer[end + 1:]
                if not frame:
                    continue
                code = frame[-1]
                self.codes.append((now, code))
                if MONITOR_1 <= code < MONITOR_1 + 4:
                    monitor = (code - MONITOR_1 + 1, now)
                elif CAMERA_1 <= code < CAMERA_1 + 16 and monitor:
                    camera = code - CAMERA_1 + 1
                    self.routes.append((monitor[1], now, monitor[0], camera))
                    if self.answer:
                        self.line.write_some(status_reply(monitor[0], camera))
                        self.replies.append((time.monotonic(), monitor[0], camera))
                    monitor = None

    def stop(self):
        self.halt.set()
        self.join()


def load_average():
    with open("/proc/loadavg") as f:
        return " ".join(f.read().split()[:3])


def summary(values, unit="ms"):
    if not values:
        return {"count": 0}
    return {"count": len(values), f"p50_{unit}": percentile(values, 50),
            f"p99_{unit}": percentile(values, 99), f"max_{unit}": max(values)}


# --- locks and priorities: the program now and before, side by side -----------------

BEFORE_COMMIT = "7b4c754"
BENCH_SOURCES = ("panel_timing.cpp", "FarEnd.cpp", "FarEnd.h", "CMakeLists.txt")


def build_before(root, folder, commit=BEFORE_COMMIT):
    """The program as it was before its locks and priorities, checked out
    beside the repository (git worktree) and built in Release mode there, with
    this bench's own timing program so that both are measured alike."""
    if not os.path.isdir(folder):
        subprocess.run(["git", "-C", root, "worktree", "add", "--detach", folder, commit],
                       check=True)
    for name in BENCH_SOURCES:
        source, target = os.path.join(root, "bench", name), os.path.join(folder, "bench", name)
        with open(source, "rb") as f:
            wanted = f.read()
        try:
            with open(target, "rb") as f:
                same = f.read() == wanted
        except OSError:
            same = False
        if not same:
            with open(target, "wb") as f:
                f.write(wanted)
    build = os.path.join(folder, "build-bench")
    subprocess.run(["cmake", "-S", folder, "-B", build, "-G", "Ninja",
                    "-DCMAKE_BUILD_TYPE=Release", "-DVELMAR_BENCH=ON", "-DVELMAR_TESTS=OFF"],
                   check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", build, "-j", "2", "--target", "velmar-controller",
                    "bench-panel"], check=True)
    return build


def bench_panel(build, extra, language, on_line=None, timeout=300):
    """Runs a build's timing program offscreen; its JSON answer. on_line is
    called with each line of its standard error as it comes."""
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    process = subprocess.Popen([os.path.join(build, "bench", "bench-panel"), "--language",
                                language, *extra], env=env, stdout=subprocess.PIPE,
                               stderr=subprocess.PIPE, text=True)
    said = []

    def read_errors():
        for line in process.stderr:
            said.append(line)
            if on_line:
                on_line(line.strip(), process.pid)

    reader = threading.Thread(target=read_errors, daemon=True)
    reader.start()
    killer = threading.Timer(timeout, process.kill)
    killer.start()
    try:
        out = process.stdout.read()
        process.wait()
    finally:
        killer.cancel()
    reader.join(timeout=5)
    lines = [line for line in out.splitlines() if line.startswith("{")]
    if process.returncode != 0 or not lines:
        raise RuntimeError("bench-panel failed: " + "".join(said)[-500:])
    return json.loads(lines[-1])


def locks(root, build, before_folder, short=False):
    """A route through the arbiter: the panel's click to the camera's code at
    the far end (a monitor chosen first, so each click is a route), and a
    Videohub client's request to the monitor's code, for the program now and
    as it was before, alternating in one run."""
    rounds, clicks, hub_seconds = (1, 300, 5) if short else (5, 1000, 15)
    before = build_before(root, before_folder)
    builds = {"now": build, "before": before}
    language = os.path.join(root, "lang", "English.lng")
    clicks_ms = {name: [] for name in builds}
    hub_ms = {name: [] for name in builds}
    lost = {name: 0 for name in builds}
    loads = [load_average()]
    for r in range(rounds):
        order = ("now", "before") if r % 2 == 0 else ("before", "now")
        for name in order:
            print(f"locks: round {r + 1}/{rounds}, {name}: clicks", file=sys.stderr, flush=True)
            result = bench_panel(builds[name], ["--clicks", str(clicks), "--gap", "4",
                                                "--monitor", "1", "--serial-only", "--trials",
                                                "0"], language)
            clicks_ms[name] += result["serial_latency_ms"]
            lost[name] += result.get("lost", 0)
        for name in order:
            print(f"locks: round {r + 1}/{rounds}, {name}: Videohub", file=sys.stderr, flush=True)
            hub = videohub(os.path.join(builds[name], "velmar-controller"), clients=4,
                           seconds=hub_seconds, per_second=20)
            hub_ms[name] += hub["latencies_ms"]
        loads.append(load_average())
    out = {"rounds": rounds, "load_average": loads, "lost_clicks": lost}
    for label, data in (("panel_click_to_byte", clicks_ms), ("videohub_request_to_byte", hub_ms)):
        out[label] = {name: summary(values) for name, values in data.items()}
        out[label]["p99_added_ms"] = (percentile(data["now"], 99)
                                      - percentile(data["before"], 99))
        out[label]["p50_added_ms"] = (percentile(data["now"], 50)
                                      - percentile(data["before"], 50))
    return out


# --- tours --------------------------------------------------------------------------------


def tours(exe, short=False):
    """Four tours with a 1 s dwell, one per monitor, in the program without a
    window: each step's monitor code at the far end against its due time, the
    program's CPU against the same program idle, its memory each minute. The
    tours run because the automation's state file says they ran when the
    program ended, so they run again from the start."""
    seconds, idle_seconds = (60, 20) if short else (600, 120)
    automation = ""
    for t in range(1, 5):
        steps = ", ".join(f"{(t * 4 + k) % 16 + 1}:1" for k in range(8))
        automation += f"[Tour{t}]\nMonitor={t}\nSteps={steps}\nOnManualRoute=hold\n"
    state = "".join(f"tour {t} running 1\n" for t in range(1, 5))
    out = {"load_average": [load_average()]}

    # The same program and file, nothing running.
    panel = Panel(exe, args=["--headless"], files={"automation.ini": automation})
    try:
        time.sleep(2)
        cpu0, t0 = cpu_seconds(panel.pid), time.monotonic()
        time.sleep(idle_seconds)
        out["idle_cpu_percent"] = 100 * (cpu_seconds(panel.pid) - cpu0) / (time.monotonic() - t0)
        out["idle_rss_mb"] = rss_mb(panel.pid)
    finally:
        panel.stop()

    panel = Panel(exe, args=["--headless"],
                  files={"automation.ini": automation, "automation-state": state})
    switcher = Switcher(panel.line, answer=True)
    switcher.start()
    try:
        time.sleep(2)  # the first steps, shown at the start
        cpu0, t0 = cpu_seconds(panel.pid), time.monotonic()
        rss = [rss_mb(panel.pid)]
        while time.monotonic() - t0 < seconds:
            time.sleep(min(60, seconds - (time.monotonic() - t0)))
            rss.append(rss_mb(panel.pid))
        cpu = 100 * (cpu_seconds(panel.pid) - cpu0) / (time.monotonic() - t0)
    finally:
        switcher.stop()
        panel.stop()
    out["load_average"].append(load_average())
    out["cpu_percent"] = cpu
    out["cpu_above_idle_percent"] = cpu - out["idle_cpu_percent"]
    out["rss_mb_each_minute"] = rss
    out["rss_growth_mb"] = rss[-1] - rss[0]

    # Each step is due a whole number of dwells after the tours started, on
    # the program's clock, which the far end does not see: the start is taken
    # as the earliest any step of the monitor arrived against that grid, so an
    # error is how much later than its best step a step came.
    errors = []
    per_monitor = {}
    for m in range(1, 5):
        # What the line held before the far end began to read is left out.
        times = [r[0] for r in switcher.routes if r[2] == m and r[0] >= t0]
        if len(times) < 2:
            per_monitor[m] = {"steps": len(times)}
            continue
        first = times[0]
        index = [round((t - first) / 1.0) for t in times]
        offsets = [t - first - k * 1.0 for t, k in zip(times, index)]
        zero = min(offsets)
        e = [(o - zero) * 1000 for o in offsets]
        errors += e
        missed = index[-1] + 1 - len(set(index))
        per_monitor[m] = {"steps": len(times), "missed": missed, **summary(e)}
    out["step_error"] = summary(errors)
    out["per_monitor"] = per_monitor
    return out


# --- the browser panel -----------------------------------------------------------------


def web(exe, short=False):
    """20 browser clients, each from an address of its own on the loopback
    network (127.0.0.2 and on, as 20 machines would be) with a user of its
    own, all on the live socket; 16 operators route once a second each, over
    HTTP. Request to the route's last byte on the line; the switcher answers
    each route at once, and its reply to each client's routing push; the
    panel's CPU and memory."""
    import asyncio

    import websockets

    seconds = 15 if short else 60
    clients, routing = 20, 16
    port = free_port()
    users = [(f"user{i + 1:02d}", "operator" if i < routing else "viewer") for i in range(clients)]
    panel = Panel(exe, f"[Web]\nEnabled=true\nAddress=127.0.0.1\nPort={port}\n", users=users)
    switcher = Switcher(panel.line, answer=True)
    switcher.start()
    sent = []      # (time, monitor, camera)
    statuses = {}
    pushes = [[] for _ in range(clients)]  # per client: (time, {monitor: camera})
    rss = []

    async def request(reader, writer, method, path, body, token=None):
        payload = json.dumps(body).encode()
        head = (f"{method} {path} HTTP/1.1\r\nHost: 127.0.0.1:{port}\r\n"
                f"Content-Type: application/json\r\nContent-Length: {len(payload)}\r\n")
        if token:
            head += f"Authorization: Bearer {token}\r\n"
        writer.write(head.encode() + b"\r\n" + payload)
        await writer.drain()
        status_line = await reader.readline()
        length = 0
        while True:
            line = await reader.readline()
            if line in (b"\r\n", b""):
                break
            name, _, value = line.decode().partition(":")
            if name.lower() == "content-length":
                length = int(value)
        data = await reader.readexactly(length) if length else b""
        return int(status_line.split()[1]), data

    async def client(i, start, stop):  # stop: [when the routing ends], once started
        address = f"127.0.0.{i + 2}"
        reader, writer = await asyncio.open_connection("127.0.0.1", port, local_addr=(address, 0))
        async with logins:  # the server checks a few passwords at once
            status, data = await request(reader, writer, "POST", "/api/v1/login",
                                         {"user": users[i][0], "password": users[i][0] + "-pw"})
        if status != 200:
            raise RuntimeError(f"log-in of {users[i][0]}: {status} {data[:200]}")
        token = json.loads(data)["token"]
        live = await websockets.connect(f"ws://127.0.0.1:{port}/api/v1/live?token={token}",
                                        local_addr=(address, 0), max_size=2 ** 22,
                                        ping_interval=None)

        async def listen():
            try:
                async for message in live:
                    at = time.monotonic()
                    m = json.loads(message)
                    if m.get("type") == "routing":
                        pushes[i].append((at, {e["monitor"]: e["camera"] for e in m["monitors"]}))
            except websockets.ConnectionClosed:
                pass

        listener = asyncio.ensure_future(listen())
        ready.append(i)
        await start
        if i < routing:
            n = 0
            t0 = time.monotonic() + i / routing  # the 16 spread over each second
            while True:
                due = t0 + n
                if due >= stop[0]:
                    break
                await asyncio.sleep(max(0, due - time.monotonic()))
                monitor, camera = (i + n) % 4 + 1, (i * 3 + n * 5) % 16 + 1
                sent.append((time.monotonic(), monitor, camera))
                status, _ = await request(reader, writer, "POST", "/api/v1/route",
                                          {"monitor": monitor, "camera": camera}, token)
                statuses[status] = statuses.get(status, 0) + 1
                n += 1
        await asyncio.sleep(max(0, stop[0] + 1 - time.monotonic()))
        await live.close()
        await listener
        writer.close()

    logins = None
    ready = []

    async def run():
        nonlocal logins
        logins = asyncio.Semaphore(1)
        loop = asyncio.get_running_loop()
        start = loop.create_future()
        stop = []
        tasks = [asyncio.ensure_future(client(i, start, stop)) for i in range(clients)]
        deadline = time.monotonic() + 120
        while len(ready) < clients and time.monotonic() < deadline:
            await asyncio.sleep(0.1)
            for task in tasks:
                if task.done() and task.exception():
                    raise task.exception()
        if len(ready) < clients:
            raise RuntimeError(f"only {len(ready)} of {clients} clients connected")
        await asyncio.sleep(1)
        t_start = time.monotonic()
        stop.append(t_start + seconds)
        rss.append(rss_mb(panel.pid))
        cpu0 = cpu_seconds(panel.pid)
        start.set_result(True)
        while time.monotonic() < t_start + seconds:
            await asyncio.sleep(10)
            rss.append(rss_mb(panel.pid))
        cpu = 100 * (cpu_seconds(panel.pid) - cpu0) / (time.monotonic() - t_start)
        await asyncio.gather(*tasks)
        return cpu

    try:
        load = [load_average()]
        cpu = asyncio.run(run())
        time.sleep(0.5)
    finally:
        switcher.stop()
        panel.stop()
    load.append(load_average())

    # A request to its route's last byte on the line: the next route there of
    # the same monitor and camera.
    routes = switcher.routes
    request_ms = []
    unmatched = 0
    k = 0
    for t, monitor, camera in sorted(sent):
        j = k
        while j < len(routes) and (routes[j][1] < t or routes[j][2:] != (monitor, camera)):
            j += 1
        if j == len(routes):
            unmatched += 1
            continue
        request_ms.append((routes[j][1] - t) * 1000)
        k = j + 1
    # The switcher's reply to the first push to each client that shows it
    # (a reply that changes nothing is pushed to nobody, and is left out).
    push_ms = []
    missing = 0
    shown_before = {}
    at_push = [0] * clients
    for at, monitor, camera in switcher.replies:
        changed = shown_before.get(monitor) != camera
        shown_before[monitor] = camera
        if not changed:
            continue
        for n, received in enumerate(pushes):
            while at_push[n] < len(received) and received[at_push[n]][0] < at:
                at_push[n] += 1
            seen = next((t for t, shown in received[at_push[n]:] if shown.get(monitor) == camera),
                        None)
            if seen is None:
                missing += 1
            else:
                push_ms.append((seen - at) * 1000)
    return {"clients": clients, "routing_clients": routing, "seconds": seconds,
            "requests": len(sent), "answers": statuses, "routes_on_line": len(routes),
            "requests_unmatched": unmatched, "request_to_line": summary(request_ms),
            "replies": len(switcher.replies), "push_to_every_client": summary(push_ms),
            "pushes_missing": missing, "cpu_percent": cpu, "rss_mb_every_10_s": rss,
            "rss_growth_mb": rss[-1] - rss[0], "load_average": load}


# --- the message bus --------------------------------------------------------------------


class Broker:
    """A mosquitto broker on a loopback port of its own, stopped by its PID."""

    def __init__(self):
        self.folder = tempfile.mkdtemp(prefix="bench-broker-")
        self.port = free_port()
        conf = os.path.join(self.folder, "mosquitto.conf")
        with open(conf, "w") as f:
            f.write(f"listener {self.port} 127.0.0.1\npersistence false\nallow_anonymous true\n")
        program = shutil.which("mosquitto") or "/usr/sbin/mosquitto"
        self.process = subprocess.Popen([program, "-c", conf], stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline:
            try:
                socket.create_connection(("127.0.0.1", self.port), timeout=0.2).close()
                return
            except OSError:
                time.sleep(0.05)
        self.stop()
        raise RuntimeError("the broker did not start")

    def stop(self):
        if self.process.poll() is None:
            os.kill(self.process.pid, signal.SIGTERM)
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                os.kill(self.process.pid, signal.SIGKILL)
                self.process.wait()
        shutil.rmtree(self.folder, ignore_errors=True)


def bus(root, build, short=False):
    """1,000 route commands a second on the bus for 10 s while the panel's
    cameras 1-8 are clicked (a monitor's route each); the commands route
    cameras 9-16, so the far end tells the two apart. Every command's answer
    on the result topic, the routes on the line, the click-to-byte latency
    meanwhile, the panel's memory."""
    import paho.mqtt.client as mqtt

    rate, seconds = 1000, (3 if short else 10)
    language = os.path.join(root, "lang", "English.lng")
    broker = Broker()
    prefix = "velmar/bench"
    settings = tempfile.NamedTemporaryFile("w", suffix=".ini", delete=False)
    settings.write(f"[MQTT]\nEnabled=true\nHost=127.0.0.1\nPort={broker.port}\n"
                   f"Prefix=velmar\nStation=bench\n")
    settings.close()
    results = []
    lock = threading.Lock()

    def on_message(client, userdata, message):
        with lock:
            results.append((time.monotonic(), message.payload))

    listener = mqtt.Client(client_id="bench-results")
    listener.on_message = on_message
    listener.connect("127.0.0.1", broker.port)
    listener.subscribe(prefix + "/result", qos=0)
    listener.loop_start()
    publisher = mqtt.Client(client_id="bench-commands")
    publisher.connect("127.0.0.1", broker.port)
    publisher.loop_start()
    published = []
    rss = []
    flood = {}

    def publish():
        t0 = time.monotonic()
        cpu0 = cpu_seconds(flood["pid"])
        n = 0
        while n < rate * seconds:
            due = t0 + n / rate
            pause = due - time.monotonic()
            if pause > 0:
                time.sleep(pause)
            monitor, camera = n % 4 + 1, 9 + (n // 4) % 8
            publisher.publish(f"{prefix}/monitor/{monitor}/set", str(camera), qos=0)
            published.append(time.monotonic())
            n += 1
        flood["seconds"] = time.monotonic() - t0
        time.sleep(1)  # what the panel still has to do
        try:
            flood["cpu_percent"] = (100 * (cpu_seconds(flood["pid"]) - cpu0)
                                    / (time.monotonic() - t0))
        except OSError:
            pass

    def watch(pid):
        while not flood.get("over") and alive(pid):
            try:
                rss.append(rss_mb(pid))
            except OSError:
                return
            time.sleep(1)

    threads = []

    def on_line(line, pid):
        if line == "clicking" and not threads:
            flood["pid"] = pid
            threads.append(threading.Thread(target=publish, daemon=True))
            threads.append(threading.Thread(target=watch, args=(pid,), daemon=True))
            for t in threads:
                t.start()

    load = [load_average()]
    try:
        # Clicks a little longer than the flood: 4 ms apart and more.
        clicks = int(seconds * 1000 / 4) + 200
        panel = bench_panel(build, ["--clicks", str(clicks), "--gap", "4", "--serial-only",
                                    "--trials", "0", "--cameras", "8", "--frames",
                                    "--settings", settings.name], language, on_line)
        for t in threads:
            t.join(timeout=seconds + 10)
        flood["over"] = True
        time.sleep(2)  # answers still on their way
    finally:
        flood["over"] = True
        listener.loop_stop()
        publisher.loop_stop()
        listener.disconnect()
        publisher.disconnect()
        broker.stop()
        os.unlink(settings.name)
    load.append(load_average())
    # The bus's routes on the line: a monitor's code, then one of cameras 9-16.
    frames = panel.get("serial_frames", [])
    routes = [frames[k + 1][0] for k in range(len(frames) - 1)
              if MONITOR_1 <= frames[k][1] < MONITOR_1 + 4
              and CAMERA_1 + 8 <= frames[k + 1][1] < CAMERA_1 + 16]
    gaps = [b - a for a, b in zip(routes, routes[1:])]
    span = (routes[-1] - routes[0]) / 1000 if len(routes) > 1 else 0
    outcomes = {}
    for _, payload in results:
        try:
            answer = json.loads(payload)
        except ValueError:
            outcomes["unreadable"] = outcomes.get("unreadable", 0) + 1
            continue
        key = answer.get("outcome") or ("done" if answer.get("ok") else "refused")
        if not answer.get("ok"):
            key += ": " + answer.get("reason", "")[:60]
        outcomes[key] = outcomes.get(key, 0) + 1
    return {"published": len(published), "flood_seconds": flood.get("seconds"),
            "answered": len(results), "outcomes": outcomes,
            "panel_cpu_percent_flood_and_1_s_after": flood.get("cpu_percent"),
            "routes_on_line": len(routes),
            "routes_per_second": len(routes) / span if span else None,
            "route_gap": summary(gaps),
            "click_to_byte": summary(panel["serial_latency_ms"]),
            "clicks_lost": panel.get("lost", 0),
            "click_to_byte_over_20_ms": [(k, round(v, 1)) for k, v in
                                         enumerate(panel["serial_latency_ms"]) if v > 20],
            "panel_rss_mb_each_second": rss,
            "rss_growth_mb": (rss[-1] - rss[0]) if rss else None, "load_average": load}


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--build", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--only", nargs="*",
                        choices=("videohub", "eventlog", "locks", "tours", "web", "bus"))
    parser.add_argument("--short", action="store_true",
                        help="a short run of locks, tours, web and bus, for trying them out")
    parser.add_argument("--before", default=os.environ.get("VELMAR_BENCH_BEFORE"),
                        help="where the program as it was before its locks is checked out and "
                             "built (default: bench-before beside the repository)")
    parser.add_argument("--seconds", type=float, default=60)
    parser.add_argument("--size-minutes", type=float, default=0,
                        help="feed the log at 115200 baud this long more, then its size")
    args = parser.parse_args()
    args.build = os.path.abspath(args.build)
    exe = os.path.join(args.build, "velmar-controller")
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    before = args.before or os.path.join(os.path.dirname(root), "bench-before")
    # The figures of the parts not run this time are kept.
    try:
        with open(args.out) as f:
            results = json.load(f)
    except (OSError, ValueError):
        results = {}
    if not args.only or "videohub" in args.only:
        results["videohub"] = videohub(exe, seconds=args.seconds)
        results["videohub"].pop("latencies_ms")
        print("videohub:", json.dumps(results["videohub"], indent=1))
    if not args.only or "eventlog" in args.only:
        results["eventlog"] = eventlog(exe, seconds=min(args.seconds, 30),
                                       size_minutes=args.size_minutes)
        print("eventlog:", json.dumps(results["eventlog"], indent=1))
    parts = {"locks": lambda: locks(root, args.build, before, args.short),
             "tours": lambda: tours(exe, args.short),
             "web": lambda: web(exe, args.short),
             "bus": lambda: bus(root, args.build, args.short)}
    for name, part in parts.items():
        if args.only and name not in args.only:
            continue
        print(f"{name}: load average {load_average()}", file=sys.stderr, flush=True)
        results[name] = part()
        results[name]["short"] = args.short
        print(f"{name}:", json.dumps(results[name], indent=1))
        with open(args.out, "w") as f:
            json.dump(results, f, indent=2)
    with open(args.out, "w") as f:
        json.dump(results, f, indent=2)


if __name__ == "__main__":
    main()
