"""A browser session on the web build, for the web replay tool and the page tests.

One private X server (Xvfb), one local HTTP server over the web build folder and one Chromium
window on it, with its DevTools protocol port open when asked (tools/devtools.py speaks it). Chromium runs as a real browser, not headless: headless runs no animation frames.
The server also hands out files the caller registers (/files/N) and takes the reports pages POST
(/report), answering each with the next page to open, if any. Everything is bounded in time:
a page that never reports ends the session with WebSessionError instead of a hang.
"""

import http.server
import os
import queue
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time
import urllib.parse

SCREEN_WIDTH, SCREEN_HEIGHT = 1280, 1024


class WebSessionError(Exception):
    pass


class _Handler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass

    def end_headers(self):
        # Every page load must see the build as it is now.
        self.send_header("Cache-Control", "no-store")
        super().end_headers()

    def do_GET(self):
        session = self.server.session
        path = urllib.parse.urlparse(self.path).path
        if path.startswith("/files/"):
            body = session.file_body(path[len("/files/"):])
            if body is None:
                self.send_error(404)
                return
            self._answer(body, "text/plain; charset=utf-8")
            return
        super().do_GET()

    def do_POST(self):
        length = int(self.headers.get("Content-Length", "0"))
        body = self.rfile.read(length)
        self._answer(self.server.session.reported(body).encode(), "text/plain; charset=utf-8")

    def _answer(self, body, content_type):
        self.send_response(200)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)


class WebSession:
    """Use as a context manager; open() a page, then wait_report(), screenshot() or key()."""

    def __init__(self, web_build, window_size=(800, 600), devtools=False):
        if not os.path.isfile(os.path.join(web_build, "index.html")):
            raise WebSessionError(f"no web build in {web_build} (run `make web`)")
        self._web_build = os.path.abspath(web_build)
        self._window_size = window_size
        # The browser's protocol port (tools/devtools.py), chosen by the browser.
        self._devtools = devtools
        self._files = []
        self._reports = queue.Queue()
        self._next_pages = []
        self._tmp = tempfile.mkdtemp(prefix="skiddlewick-web.")
        self._xvfb = None
        self._chromium = None
        self._server = None
        self.display = None

    def __enter__(self):
        # A test runner's time-out ends the session with SIGTERM: it must still tidy up the
        # browser and the X server, which run in sessions of their own.
        signal.signal(signal.SIGTERM, lambda *_: sys.exit(128 + signal.SIGTERM))
        try:
            self._start_xvfb()
            self._start_server()
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, *exc):
        self.close()

    # -- set-up

    def _start_xvfb(self):
        read_end, write_end = os.pipe()
        self._xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0",
             f"{SCREEN_WIDTH}x{SCREEN_HEIGHT}x24", "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        number = b""
        with os.fdopen(read_end, "rb") as pipe:
            number = pipe.readline().strip()
        if not number:
            raise WebSessionError("Xvfb did not start")
        self.display = ":" + number.decode()

    def _start_server(self):
        directory = self._web_build

        def handler(*args, **kwargs):
            return _Handler(*args, directory=directory, **kwargs)

        self._server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        self._server.session = self
        self._server.daemon_threads = True
        threading.Thread(target=self._server.serve_forever, daemon=True).start()
        self._base_url = f"http://127.0.0.1:{self._server.server_address[1]}/"

    def stop_server(self):
        """Ends the web server: the page has no network from now on."""
        if self._server:
            self._server.shutdown()
            self._server.server_close()
            self._server = None

    @property
    def base_url(self):
        return self._base_url

    @property
    def profile_dir(self):
        return os.path.join(self._tmp, "profile")

    def env(self):
        """The environment of a program that should show on this session's X server."""
        return dict(os.environ, DISPLAY=self.display)

    # -- what the server hands out and takes in

    def add_file(self, text):
        """Serves `text` and returns its URL path."""
        self._files.append(text.encode())
        return f"/files/{len(self._files) - 1}"

    def file_body(self, name):
        return self._files[int(name)] if name.isdigit() and int(name) < len(self._files) else None

    def reported(self, body):
        self._reports.put(body)
        return self._next_pages.pop(0) if self._next_pages else ""

    def then_open(self, url):
        """The page to open after the next report."""
        self._next_pages.append(url)

    def wait_report(self, timeout):
        try:
            return self._reports.get(timeout=timeout)
        except queue.Empty:
            raise WebSessionError(f"no report from the page within {timeout:g} s"
                                  + self._chromium_log_tail()) from None

    # -- the browser

    def open(self, url):
        """Starts Chromium on `url` (relative to the web build), in an app window at 0,0."""
        if self._chromium:
            raise WebSessionError("the browser is already open")
        width, height = self._window_size
        self._log = open(os.path.join(self._tmp, "chromium.log"), "wb")
        self._chromium = subprocess.Popen(
            # --test-type: no bar across the page warning about --no-sandbox.
            ["chromium", "--no-sandbox", "--test-type", "--no-first-run",
             f"--user-data-dir={self.profile_dir}",
             "--use-angle=swiftshader", "--enable-unsafe-swiftshader", "--ignore-gpu-blocklist",
             "--disable-background-networking", "--disable-component-update", "--disable-sync",
             "--autoplay-policy=no-user-gesture-required", "--window-position=0,0",
             f"--window-size={width},{height}",
             *(["--remote-debugging-port=0"] if self._devtools else []),
             f"--app={self.base_url}{url}"],
            env=self.env(), stdout=self._log, stderr=subprocess.STDOUT, start_new_session=True)

    def screenshot(self):
        """The X screen as (width, height, RGB bytes)."""
        ppm = subprocess.run(["import", "-window", "root", "-depth", "8", "ppm:-"],
                             env=self.env(), capture_output=True, timeout=30, check=True).stdout
        # P6, width, height, maximum value, then the pixels after one whitespace byte.
        fields, offset = [], 0
        while len(fields) < 4:
            while ppm[offset:offset + 1].isspace():
                offset += 1
            end = offset
            while not ppm[end:end + 1].isspace():
                end += 1
            fields.append(ppm[offset:end])
            offset = end
        return int(fields[1]), int(fields[2]), ppm[offset + 1:]

    def xdotool(self, *args):
        subprocess.run(["xdotool", *args], env=self.env(), timeout=30, check=True)

    def _chromium_log_tail(self):
        path = os.path.join(self._tmp, "chromium.log")
        if not os.path.exists(path):
            return ""
        with open(path, "rb") as log:
            # The browser's complaints about the missing system bus say nothing about the page.
            lines = [line for line in log.read().decode(errors="replace").splitlines()
                     if "dbus" not in line][-15:]
        return "\nthe browser's last lines:\n" + "\n".join(lines) if lines else ""

    # -- tear-down

    def close(self):
        if self._chromium:
            _end(self._chromium, group=True)
            self._log.close()
            self._chromium = None
        self.stop_server()
        if self._xvfb:
            _end(self._xvfb, group=False)
            self._xvfb = None
        shutil.rmtree(self._tmp, ignore_errors=True)


def _end(process, group):
    """Ends a process this session started (with its own children when it leads a group)."""
    if process.poll() is None:
        try:
            if group:
                os.killpg(process.pid, signal.SIGTERM)
            else:
                process.terminate()
            process.wait(timeout=10)
        except (ProcessLookupError, subprocess.TimeoutExpired):
            if group:
                try:
                    os.killpg(process.pid, signal.SIGKILL)
                except ProcessLookupError:
                    pass
            else:
                process.kill()
            process.wait()


# A stand-in for a pad in the browsers' standard mapping (17 buttons, 4 axes), for a page given
# this script before its own (page_with_script): `standardPad(id)` makes navigator.getGamepads
# answer with the pad once it is shown, and returns its controls. A page shown no pad sees none.
STANDARD_PAD_SCRIPT = """<script>
window.standardPad = function(id) {
  var buttons = [];
  for (var i = 0; i < 17; ++i) buttons.push({pressed: false, touched: false, value: 0});
  var pad = {id: id, index: 0, connected: true, mapping: "standard", timestamp: 0,
             axes: [0, 0, 0, 0], buttons: buttons};
  var shown = false;
  navigator.getGamepads = function() { return shown ? [pad] : []; };
  return {
    shown: function() { return shown; },
    // Shows the pad to the page, as a browser does at a pad's first press.
    show: function() {
      shown = true;
      var connected = new Event("gamepadconnected");
      connected.gamepad = pad;
      window.dispatchEvent(connected);
    },
    // Holds or lets go standard button `button`, at `time` (the page's clock).
    hold: function(button, held, time) {
      buttons[button].pressed = held;
      buttons[button].value = held ? 1 : 0;
      pad.timestamp = time;
    },
  };
};
</script>
"""


def page_with_script(web_build, folder, script):
    """Makes `folder` a copy of the web build whose page runs `script` (a <script> element)
    before anything of its own: the rest of the build is linked, not copied."""
    for name in os.listdir(web_build):
        if name != "index.html":
            os.symlink(os.path.join(os.path.abspath(web_build), name), os.path.join(folder, name))
    with open(os.path.join(web_build, "index.html"), encoding="utf-8") as page:
        html = page.read()
    if "<head>" not in html:
        raise WebSessionError("the page has no <head> to put a script in")
    with open(os.path.join(folder, "index.html"), "w", encoding="utf-8") as page:
        page.write(html.replace("<head>", "<head>\n" + script, 1))


def wait_for(condition, timeout, what, interval=0.2):
    """Polls `condition` until it returns a true value, which is returned; a clear error after
    `timeout` seconds."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise WebSessionError(f"{what}: not seen within {timeout:g} s")
        time.sleep(interval)
