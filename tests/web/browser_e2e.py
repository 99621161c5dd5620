#!/usr/bin/env python3
"""The browser panel of the real program, run without a window against the
switcher simulator's serial line, in Debian's headless Chromium:

- alice (operator) logs in and routes camera 5 to monitor 2: the bytes reach
  the simulator's line;
- a route made by another system (a Videohub client) appears on the page
  without a reload, once the switcher has reported it;
- alice holds a pan and the browser is killed mid-hold: the pan's stop
  reaches the simulator's line within 0.5 s;
- bob (viewer) tries a route and is refused; nothing reaches the line.

Usage: browser_e2e.py VELMAR_CONTROLLER SWITCHER_SIM
Missing Chromium, its driver or Selenium is a failure, not a skip."""

import os
import queue
import re
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import browser_test  # noqa: E402
from browser_test import STOP_WITHIN_S, browser, children, fail  # noqa: E402

from selenium.webdriver.common.action_chains import ActionChains  # noqa: E402
from selenium.webdriver.common.by import By  # noqa: E402


class Lines:
    """A child process's lines, each with the time it was read, as they come."""

    def __init__(self, stream):
        self.queue = queue.Queue()
        self.seen = []
        threading.Thread(target=self._read, args=(stream,), daemon=True).start()

    def _read(self, stream):
        for line in stream:
            self.queue.put((time.monotonic() * 1000.0, line.rstrip("\n")))

    def find(self, pattern, timeout=10):
        """A line that matches, among those seen or to come: its match."""
        for line in self.seen:
            found = re.search(pattern, line)
            if found:
                return found
        return self.wait(pattern, timeout)[1]

    def wait(self, pattern, timeout=10):
        """The first line (after those seen) that matches: (time_ms, match)."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            try:
                at, line = self.queue.get(timeout=0.05)
            except queue.Empty:
                continue
            self.seen.append(line)
            found = re.search(pattern, line)
            if found:
                return at, found
        fail("never seen: %s (seen: %s)" % (pattern, self.seen[-20:]))

    def drain(self):
        while True:
            try:
                self.seen.append(self.queue.get_nowait()[1])
            except queue.Empty:
                return


def main():
    if len(sys.argv) != 3:
        fail("usage: browser_e2e.py VELMAR_CONTROLLER SWITCHER_SIM")
    program, simulator = sys.argv[1], sys.argv[2]
    work = tempfile.mkdtemp(prefix="velmar-browser-e2e-")
    config = os.path.join(work, "velmar-controller")
    os.makedirs(config)
    tty = os.path.join(work, "tty")
    env = dict(os.environ, XDG_CONFIG_HOME=work, XDG_STATE_HOME=work)
    for name in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"):
        env.pop(name, None)
    with open(os.path.join(config, "settings.ini"), "w") as f:
        f.write("[Ports]\nCom1=%s\n[Web]\nEnabled=true\nPort=0\n"
                "[Videohub]\nEnabled=true\nPort=0\n" % tty)
    for user, role in (("alice", "operator"), ("bob", "viewer")):
        subprocess.run([program, "--add-user", user, role], input=user + "-pw\n", text=True,
                       env=env, check=True, capture_output=True)

    sim = subprocess.Popen([simulator, "--serial", tty], stdout=subprocess.PIPE, text=True,
                           bufsize=1)
    controller = None
    driver = None
    try:
        wire = Lines(sim.stdout)
        wire.wait("line ready")
        controller = subprocess.Popen([program, "--headless"], stderr=subprocess.PIPE,
                                      text=True, bufsize=1, env=env)
        said = Lines(controller.stderr)
        port = int(said.find(r"web: http://127\.0\.0\.1:(\d+)").group(1))
        hub = said.find(r"Videohub server: listening on 127\.0\.0\.1:(\d+)")

        # An operator routes camera 5 to monitor 2: the bytes on the line.
        driver = browser(os.path.join(work, "profile-alice"))
        wait = log_in(driver, port, "alice")
        driver.find_element(By.ID, "monitor-2").click()
        driver.find_element(By.ID, "camera-5").click()
        wire.wait(r"monitor 2 <- camera 5")
        wait.until(lambda d: "CAMERA 5" in d.find_element(By.ID, "monitor-shows-2").text)
        print("PASS: alice's route reached the line and came back as the switcher's", flush=True)

        # Another system routes: the page follows without a reload.
        with socket.create_connection(("127.0.0.1", int(hub.group(1))), timeout=5) as client:
            client.sendall(b"VIDEO OUTPUT ROUTING:\n2 8\n\n")
            wire.wait(r"monitor 3 <- camera 9")
            wait.until(lambda d: "CAMERA 9" in d.find_element(By.ID, "monitor-shows-3").text)
        print("PASS: a Videohub client's route appeared on the page", flush=True)

        # A held pan, the browser killed in the middle of it.
        driver.find_element(By.ID, "monitor-2").click()
        left = driver.find_element(By.ID, "move-left")
        ActionChains(driver).click_and_hold(left).perform()
        wire.wait(r"pan left")
        time.sleep(0.6)  # the page's holds keep it going meanwhile
        wire.drain()
        if any("pan stop" in line for line in wire.seen[-10:]):
            fail("the pan stopped while it was held: %s" % wire.seen[-10:])
        browsers = children(driver.service.process.pid)
        if not browsers:
            fail("no browser process under the driver")
        killed_ms = time.monotonic() * 1000.0
        for pid in browsers:
            os.kill(pid, signal.SIGKILL)
        stop_ms, _ = wire.wait(r"pan stop", timeout=5)
        took = (stop_ms - killed_ms) / 1000.0
        print("browser killed mid-hold: the stop on the line after %.3f s" % took, flush=True)
        if took > STOP_WITHIN_S:
            fail("the stop came %.3f s after the browser died (at most %.1f s)"
                 % (took, STOP_WITHIN_S))
        print("PASS: the pan stopped when the browser died", flush=True)
        try:
            driver.quit()
        except Exception:
            pass
        driver = None

        # A viewer is refused by the server; nothing reaches the line.
        driver = browser(os.path.join(work, "profile-bob"))
        wait = log_in(driver, port, "bob")
        wire.drain()
        before = len(wire.seen)
        driver.find_element(By.ID, "monitor-1").click()
        driver.find_element(By.ID, "camera-7").click()
        wait.until(lambda d: "refused" in d.find_element(By.ID, "status").get_attribute("class"))
        time.sleep(0.3)
        wire.drain()
        if any("<-" in line for line in wire.seen[before:]):
            fail("a viewer's route reached the line: %s" % wire.seen[before:])
        print("PASS: bob's route was refused", flush=True)
    finally:
        if driver is not None:
            try:
                driver.quit()
            except Exception:
                pass
        for child in (controller, sim):
            if child is not None and child.poll() is None:
                child.send_signal(signal.SIGTERM)
                try:
                    child.wait(timeout=10)
                except subprocess.TimeoutExpired:
                    child.kill()
                    child.wait()
        shutil.rmtree(work, ignore_errors=True)
    if controller.returncode != 0:
        fail("the program ended with status %s" % controller.returncode)
    print("4 passed, 0 failed", flush=True)
    return 0


def log_in(driver, port, user):
    return browser_test.log_in(
        driver, port, user, lambda d: d.find_element(By.ID, "monitor-shows-1").text != "")


if __name__ == "__main__":
    sys.exit(main())
