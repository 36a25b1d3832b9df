"""A Chrome DevTools Protocol connection to the page of a browser session (tools/web_session.py),
for the tests that need what keys and the X screen cannot give: real touches, and a look inside
the page. Speaks the protocol over Debian's python3-websocket; every wait is bounded.
"""

import json
import os
import time
import urllib.request

import websocket


class DevToolsError(Exception):
    pass


class DevTools:
    """The page's protocol connection; call() any method, or use the helpers below."""

    def __init__(self, profile_dir, timeout=30):
        self._timeout = timeout
        self._next_id = 0
        url = self._page_socket(self._port(profile_dir))
        # The browser refuses a protocol client that names a web origin: this one names none.
        self._socket = websocket.create_connection(url, timeout=timeout, suppress_origin=True)

    def _port(self, profile_dir):
        """The port the browser chose: the first line of DevToolsActivePort in its profile."""
        path = os.path.join(profile_dir, "DevToolsActivePort")
        deadline = time.monotonic() + self._timeout
        while time.monotonic() < deadline:
            try:
                with open(path) as active:
                    port = active.readline().strip()
                if port:
                    return int(port)
            except FileNotFoundError:
                pass
            time.sleep(0.2)
        raise DevToolsError(f"the browser opened no protocol port within {self._timeout} s")

    def _page_socket(self, port):
        deadline = time.monotonic() + self._timeout
        while time.monotonic() < deadline:
            with urllib.request.urlopen(f"http://127.0.0.1:{port}/json/list", timeout=10) as r:
                pages = [t for t in json.load(r) if t.get("type") == "page"]
            if pages:
                return pages[0]["webSocketDebuggerUrl"]
            time.sleep(0.2)
        raise DevToolsError(f"no page to attach to within {self._timeout} s")

    def call(self, method, **params):
        """Sends one command and returns its result; events that arrive meanwhile are dropped."""
        return self.call_together((method, params))[0]

    def call_together(self, *commands):
        """Sends (method, params) commands one after another without waiting, so the browser
        takes them as quickly as it can; returns their results in order."""
        first = self._next_id + 1
        for method, params in commands:
            self._next_id += 1
            self._socket.send(json.dumps({"id": self._next_id, "method": method,
                                          "params": params}))
        results = {}
        while len(results) < len(commands):
            try:
                message = json.loads(self._socket.recv())
            except websocket.WebSocketTimeoutException:
                raise DevToolsError(f"{commands[0][0]}: no answer within {self._timeout} s") \
                    from None
            index = message.get("id", 0) - first
            if not 0 <= index < len(commands):
                continue
            if "error" in message:
                raise DevToolsError(f"{commands[index][0]}: {message['error'].get('message')}")
            results[index] = message.get("result", {})
        return [results[i] for i in range(len(commands))]

    def evaluate(self, expression):
        """The value of a JavaScript expression in the page (a promise is awaited)."""
        result = self.call("Runtime.evaluate", expression=expression, returnByValue=True,
                           awaitPromise=True)
        if "exceptionDetails" in result:
            details = result["exceptionDetails"]
            text = details.get("exception", {}).get("description") or details.get("text")
            raise DevToolsError(f"{expression[:60]}...: {text}")
        return result["result"].get("value")

    def emulate_phone(self, width, height):
        """A touch screen of this many CSS pixels, one device pixel each, as a phone lays out."""
        self.call("Emulation.setDeviceMetricsOverride", width=width, height=height,
                  deviceScaleFactor=1, mobile=True)
        self.call("Emulation.setTouchEmulationEnabled", enabled=True, maxTouchPoints=5)

    def touch(self, kind, points):
        """kind: "touchStart", "touchMove", "touchEnd"; points: {id: (x, y)} of every finger on
        the screen afterwards (none for touchEnd). The browser makes one event per change."""
        self.call_together(self._touch(kind, points))

    def tap(self, x, y):
        """A finger down and up at once, quicker than the game's update: both reach the page
        while it is busy for a tenth of a second, as a phone's page may be, and wait there."""
        busy = ("Runtime.evaluate", {"expression": "{ const start = performance.now(); "
                                                   "while (performance.now() - start < 100); }"})
        self.call_together(busy, self._touch("touchStart", {0: (x, y)}),
                           self._touch("touchEnd", {}))

    @staticmethod
    def _touch(kind, points):
        return ("Input.dispatchTouchEvent",
                {"type": kind,
                 "touchPoints": [{"x": x, "y": y, "id": i} for i, (x, y) in points.items()]})

    def close(self):
        self._socket.close()
