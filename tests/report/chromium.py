"""Debian's chromium, headless, driven through its DevTools protocol over
the pipe it opens with --remote-debugging-pipe (file descriptors 3 and 4,
messages of JSON ended by a NUL byte): standard library only.

As a program: chromium.py screenshot PAGE.html OUT.png [WIDTH HEIGHT]
"""

import base64
import json
import os
import subprocess
import sys
import tempfile

CHROMIUM_FLAGS = [
    "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
    "--disable-background-networking", "--disable-component-update", "--disable-sync",
    "--remote-debugging-pipe",
]


class ChromiumError(Exception):
    pass


class Chromium:
    """One headless browser with one page, as a context manager."""

    def __init__(self, width=1280, height=900):
        self.profile = tempfile.TemporaryDirectory()
        to_chromium = os.pipe()
        from_chromium = os.pipe()

        # The pipe ends go to 3 and 4 by way of fresh descriptors, which
        # cannot be 3 or 4 themselves, so that no dup2 overwrites its source.
        def give_pipes():
            reading = os.dup(to_chromium[0])
            writing = os.dup(from_chromium[1])
            os.dup2(reading, 3)
            os.dup2(writing, 4)

        self.process = subprocess.Popen(
            ["chromium", *CHROMIUM_FLAGS, "--user-data-dir=" + self.profile.name, "about:blank"],
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            preexec_fn=give_pipes, pass_fds=(3, 4))
        os.close(to_chromium[0])
        os.close(from_chromium[1])
        self.sending = os.fdopen(to_chromium[1], "wb")
        self.receiving = os.fdopen(from_chromium[0], "rb")
        self.next_id = 0
        self.events = []
        target = self.call("Target.createTarget", {"url": "about:blank"})["targetId"]
        self.session = self.call("Target.attachToTarget", {"targetId": target, "flatten": True})["sessionId"]
        self.call("Emulation.setDeviceMetricsOverride",
                  {"width": width, "height": height, "deviceScaleFactor": 1, "mobile": False}, self.session)

    def __enter__(self):
        return self

    def __exit__(self, *exception):
        try:
            self.call("Browser.close")
        except (ChromiumError, OSError):
            pass
        try:
            self.process.wait(timeout=30)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        self.sending.close()
        self.receiving.close()
        self.profile.cleanup()

    def receive(self):
        message = bytearray()
        while True:
            byte = self.receiving.read(1)
            if not byte:
                raise ChromiumError("chromium closed its pipe")
            if byte == b"\0":
                return json.loads(message)
            message += byte

    def call(self, method, params=None, session=None):
        """Sends one command and returns its result; events that come before it are kept."""
        self.next_id += 1
        message = {"id": self.next_id, "method": method, "params": params or {}}
        if session:
            message["sessionId"] = session
        self.sending.write(json.dumps(message).encode() + b"\0")
        self.sending.flush()
        while True:
            answer = self.receive()
            if answer.get("id") == self.next_id:
                if "error" in answer:
                    raise ChromiumError(f"{method}: {answer['error']}")
                return answer.get("result", {})
            self.events.append(answer)

    def page(self, method, params=None):
        return self.call(method, params, self.session)

    def wait_for_event(self, method):
        for event in self.events:
            if event.get("method") == method:
                self.events.remove(event)
                return event
        while True:
            event = self.receive()
            if event.get("method") == method:
                return event
            self.events.append(event)

    def open(self, path):
        """Loads a local file and returns the address of every request it made."""
        self.page("Network.enable")
        self.page("Page.enable")
        self.page("Page.navigate", {"url": "file://" + os.path.abspath(path)})
        self.wait_for_event("Page.loadEventFired")
        return [event["params"]["request"]["url"] for event in self.events
                if event.get("method") == "Network.requestWillBeSent"]

    def evaluate(self, expression):
        result = self.page("Runtime.evaluate", {"expression": expression, "returnByValue": True})
        if "exceptionDetails" in result:
            raise ChromiumError(f"{expression}: {result['exceptionDetails']}")
        return result["result"].get("value")

    def click(self, x, y):
        """A left click as a user's mouse gives it, at page coordinates in the viewport."""
        for kind in ("mousePressed", "mouseReleased"):
            self.page("Input.dispatchMouseEvent",
                      {"type": kind, "x": x, "y": y, "button": "left", "clickCount": 1})

    def screenshot(self, path):
        data = self.page("Page.captureScreenshot", {"format": "png"})["data"]
        with open(path, "wb") as file:
            file.write(base64.b64decode(data))


def main():
    if len(sys.argv) not in (4, 6) or sys.argv[1] != "screenshot":
        sys.exit("usage: chromium.py screenshot PAGE.html OUT.png [WIDTH HEIGHT]")
    size = [int(value) for value in sys.argv[4:6]] or [1280, 900]
    with Chromium(*size) as browser:
        browser.open(sys.argv[2])
        browser.screenshot(sys.argv[3])


if __name__ == "__main__":
    main()
