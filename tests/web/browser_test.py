#!/usr/bin/env python3
"""The browser panel in Debian's headless Chromium, driven over WebDriver,
against web-panel-demo (the real page and API, a fake switcher that prints
each operation it is asked for):

- alice (operator) logs in and routes camera 5 to monitor 2;
- a route made elsewhere appears on the page without a reload;
- alice holds a pan and the browser is killed mid-hold: the stop reaches
  the switcher within 0.5 s;
- bob (viewer) tries the same route and is refused.

Usage: browser_test.py WEB_PANEL_DEMO [--screenshot FILE]
Missing Chromium, its driver or Selenium is a failure, not a skip."""

import os
import queue
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time

CHROMIUM = shutil.which("chromium") or "/usr/bin/chromium"
DRIVER = shutil.which("chromedriver") or "/usr/bin/chromedriver"
STOP_WITHIN_S = 0.5


def fail(text):
    print("FAIL: " + text, flush=True)
    sys.exit(1)


try:
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service
    from selenium.webdriver.common.action_chains import ActionChains
    from selenium.webdriver.common.by import By
    from selenium.common.exceptions import StaleElementReferenceException
    from selenium.webdriver.support.ui import WebDriverWait
except ImportError as e:
    # Debian's python3-selenium belongs to Debian's Python; another python3
    # first on the PATH (pyenv, a virtualenv) does not see it.
    if os.path.realpath(sys.executable) != os.path.realpath("/usr/bin/python3") and \
            os.access("/usr/bin/python3", os.X_OK):
        os.execv("/usr/bin/python3", ["/usr/bin/python3"] + sys.argv)
    fail("python3-selenium is missing (%s): scripts/packages.sh installs it" % e)
for path in (CHROMIUM, DRIVER):
    if not os.access(path, os.X_OK):
        fail("%s is missing: scripts/packages.sh installs chromium and chromium-driver" % path)


class Demo:
    """web-panel-demo as a child process, its calls read as they come."""

    def __init__(self, exe, folder):
        self.proc = subprocess.Popen(
            [exe, folder, "alice:operator:alice-pw", "bob:viewer:bob-pw"],
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True, bufsize=1)
        self.lines = queue.Queue()
        self.calls = []
        threading.Thread(target=self._read, daemon=True).start()
        first = self.lines.get(timeout=30)
        if not first.startswith("listening "):
            fail("web-panel-demo said: " + first)
        self.port = int(first.split()[1])

    def _read(self):
        for line in self.proc.stdout:
            self.lines.put(line.strip())

    def wait_call(self, text, timeout=10):
        """The first call (after those seen) whose text holds `text`: (time_ms, text)."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            try:
                line = self.lines.get(timeout=0.05)
            except queue.Empty:
                continue
            parts = line.split(" ", 2)
            if parts[0] != "call":
                continue
            self.calls.append(parts[2])
            if text in parts[2]:
                return float(parts[1]), parts[2]
        fail("the switcher was never asked: %s (asked: %s)" % (text, self.calls))

    def drain(self):
        while True:
            try:
                line = self.lines.get_nowait()
            except queue.Empty:
                return
            if line.startswith("call "):
                self.calls.append(line.split(" ", 2)[2])

    def tell(self, line):
        self.proc.stdin.write(line + "\n")
        self.proc.stdin.flush()

    def end(self):
        try:
            self.tell("quit")
            self.proc.wait(timeout=10)
        except Exception:
            self.proc.kill()
            self.proc.wait()


def browser(profile):
    options = webdriver.ChromeOptions()
    options.binary_location = CHROMIUM
    for arg in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic",
                "--no-first-run", "--disable-background-networking",
                "--disable-component-update", "--disable-sync", "--lang=en-GB",
                "--window-size=1280,1100", "--user-data-dir=" + profile):
        options.add_argument(arg)
    return webdriver.Chrome(service=Service(DRIVER), options=options)


def children(pid):
    """The processes whose parent is pid (read from /proc)."""
    out = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open("/proc/%s/stat" % entry) as f:
                fields = f.read().rsplit(")", 1)[1].split()
        except OSError:
            continue
        if int(fields[1]) == pid:
            out.append(int(entry))
    return out


def log_in(driver, port, user, ready=None):
    """Logs in as `user` (password `user`-pw) and waits until `ready` holds:
    by default, until the live socket has told the page the routing."""
    driver.get("http://127.0.0.1:%d/" % port)
    # The page redraws its lists as the state arrives; an element found a
    # moment ago may be gone when it is read, and is looked up again.
    wait = WebDriverWait(driver, 15, ignored_exceptions=[StaleElementReferenceException])
    wait.until(lambda d: d.find_element(By.ID, "login-form").is_displayed())
    driver.find_element(By.ID, "user").send_keys(user)
    driver.find_element(By.ID, "password").send_keys(user + "-pw")
    driver.find_element(By.ID, "login").click()
    wait.until(lambda d: d.find_element(By.ID, "panel").is_displayed())
    wait.until(ready or (lambda d: "14" in d.find_element(By.ID, "monitor-shows-4").text))
    return wait


def main():
    if len(sys.argv) < 2:
        fail("usage: browser_test.py WEB_PANEL_DEMO [--screenshot FILE]")
    screenshot = None
    if "--screenshot" in sys.argv:
        screenshot = sys.argv[sys.argv.index("--screenshot") + 1]
    work = tempfile.mkdtemp(prefix="velmar-browser-")
    demo = Demo(sys.argv[1], os.path.join(work, "config"))
    driver = None
    try:
        # An operator routes camera 5 to monitor 2.
        driver = browser(os.path.join(work, "profile-alice"))
        wait = log_in(driver, demo.port, "alice")
        driver.find_element(By.ID, "monitor-2").click()
        driver.find_element(By.ID, "camera-5").click()
        demo.wait_call("route 2 5 web alice")
        wait.until(lambda d: "LOBBY" in d.find_element(By.ID, "monitor-shows-2").text)
        print("PASS: alice routed camera 5 to monitor 2", flush=True)

        # A route made on the panel appears without a reload.
        demo.tell("show 3 9")
        wait.until(lambda d: "YARD" in d.find_element(By.ID, "monitor-shows-3").text)
        print("PASS: the panel's route to monitor 3 was pushed to the page", flush=True)
        if screenshot:
            driver.find_element(By.ID, "monitor-2").click()
            driver.execute_script("window.scrollTo(0, 0)")
            driver.save_screenshot(screenshot)

        # A held pan, and the browser killed in the middle of it.
        left = driver.find_element(By.ID, "move-left")
        ActionChains(driver).click_and_hold(left).perform()
        demo.wait_call("startMove left")
        time.sleep(0.6)  # the page's holds keep it going meanwhile
        demo.drain()
        if any(c.startswith("stopMove") for c in demo.calls):
            fail("the pan stopped while it was held: %s" % demo.calls)
        browsers = [p for p in children(driver.service.process.pid)]
        if not browsers:
            fail("no browser process under the driver")
        killed_ms = time.monotonic() * 1000.0
        for pid in browsers:
            os.kill(pid, signal.SIGKILL)
        stop_ms, _ = demo.wait_call("stopMove left", timeout=5)
        took = (stop_ms - killed_ms) / 1000.0
        print("browser killed mid-hold: the stop after %.3f s" % took, flush=True)
        if took > STOP_WITHIN_S:
            fail("the stop came %.3f s after the browser died (at most %.1f s)" % (took, STOP_WITHIN_S))
        print("PASS: the pan stopped when the browser died", flush=True)
        try:
            driver.quit()
        except Exception:
            pass
        driver = None

        # A viewer's route is refused by the server, not only by the page.
        driver = browser(os.path.join(work, "profile-bob"))
        wait = log_in(driver, demo.port, "bob")
        demo.drain()
        before = len(demo.calls)
        driver.find_element(By.ID, "monitor-1").click()
        driver.find_element(By.ID, "camera-7").click()
        wait.until(lambda d: "refused" in d.find_element(By.ID, "status").get_attribute("class"))
        text = driver.find_element(By.ID, "status").text
        if "viewer" not in text:
            fail("the refusal does not say why: %r" % text)
        time.sleep(0.2)
        demo.drain()
        if any("route" in c for c in demo.calls[before:]):
            fail("a viewer's route reached the switcher: %s" % demo.calls[before:])
        print("PASS: bob's route was refused: %s" % text, flush=True)
    finally:
        if driver is not None:
            try:
                driver.quit()
            except Exception:
                pass
        demo.end()
        shutil.rmtree(work, ignore_errors=True)
    print("4 passed, 0 failed", flush=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
