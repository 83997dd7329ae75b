#!/usr/bin/env python3
"""The update server of the simulated machine.

Serves a folder laid out as the server's paths (rk/software/version,
rk/firmware/version, rk/firmware/Tarvenholm-<version>.zip) over HTTP on
127.0.0.1, with switchable faults. Repeated slashes in a path count as one,
as on the real server, which the program's URLs rely on ("rk/firmware//version").

A package that is missing but whose installer Tarvenholm-<version>.exe lies in
the same folder is packed on the fly.

Control requests (answered whatever the fault):
  /_control/fault/<name>   switch to a fault: none, not-found, slow,
                           cut-short, lying-length, big-package, silent
  /_control/last-request   the request line and headers of the last request
                           that was not a control request
  /_control/quit           end the server
"""
import argparse
import http.server
import io
import os
import re
import sys
import threading
import time
import zipfile

FAULTS = ("none", "not-found", "slow", "cut-short", "lying-length", "big-package", "silent")
SILENT_PAUSE = 0.5
SLOW_CHUNK = 512
SLOW_PAUSE = 0.05
BIG_PADDING = 32 * 1024 * 1024
PACKAGE = re.compile(r"^rk/firmware/(Tarvenholm-[^/]+)\.zip$")


class State:
    fault = "none"
    last_request = b""
    big_cache = {}


def pack_installer(folder, stem):
    installer = os.path.join(folder, stem + ".exe")
    if not os.path.isfile(installer):
        return None
    buffer = io.BytesIO()
    with zipfile.ZipFile(buffer, "w", zipfile.ZIP_DEFLATED) as archive:
        archive.write(installer, stem + ".exe")
    return buffer.getvalue()


def with_padding(package):
    """The package with a large incompressible entry added."""
    buffer = io.BytesIO(package)
    with zipfile.ZipFile(buffer, "a", zipfile.ZIP_STORED) as archive:
        archive.writestr("padding.bin", os.urandom(BIG_PADDING))
    return buffer.getvalue()


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    root = "."

    def log_message(self, format, *args):
        sys.stderr.write("update-server: " + (format % args) + "\n")

    def do_GET(self):
        path = re.sub(r"/+", "/", self.path.split("?", 1)[0]).lstrip("/")
        if path.startswith("_control/"):
            return self.control(path[len("_control/"):])
        State.last_request = (self.requestline + "\r\n" + str(self.headers)).encode("latin-1", "replace")
        if State.fault == "not-found":
            return self.answer(404, b"not found")
        if State.fault == "silent":
            return self.stay_silent()
        body = self.content(path)
        if body is None:
            return self.answer(404, b"not found")
        self.deliver(body)

    def control(self, command):
        if command == "quit":
            self.answer(200, b"bye")
            threading.Thread(target=self.server.shutdown, daemon=True).start()
        elif command == "last-request":
            self.answer(200, State.last_request)
        elif command.startswith("fault/") and command[len("fault/"):] in FAULTS:
            State.fault = command[len("fault/"):]
            self.answer(200, State.fault.encode())
        else:
            self.answer(400, b"unknown control request")

    def stay_silent(self):
        """Reads the request and never answers; the socket stays open until
        the client gives up or the server ends."""
        while True:
            time.sleep(SILENT_PAUSE)

    def content(self, path):
        local = os.path.normpath(os.path.join(self.root, *path.split("/")))
        if not local.startswith(os.path.abspath(self.root) + os.sep):
            return None
        body = None
        if os.path.isfile(local):
            with open(local, "rb") as f:
                body = f.read()
        match = PACKAGE.match(path)
        if body is None and match:
            body = pack_installer(os.path.dirname(local), match.group(1))
        if body is not None and match and State.fault == "big-package":
            body = State.big_cache.setdefault(path, with_padding(body))
        return body

    def answer(self, status, body):
        self.send_response(status)
        self.send_header("Content-Type", "text/plain")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def deliver(self, body):
        declared = len(body)
        sent = body
        if State.fault == "cut-short":
            sent = body[: len(body) // 2]
        elif State.fault == "lying-length":
            declared = len(body) * 2
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Length", str(declared))
        if declared != len(sent):
            self.send_header("Connection", "close")
        self.end_headers()
        if State.fault == "slow":
            for at in range(0, len(sent), SLOW_CHUNK):
                self.wfile.write(sent[at:at + SLOW_CHUNK])
                self.wfile.flush()
                time.sleep(SLOW_PAUSE)
        else:
            self.wfile.write(sent)
        if declared != len(sent):
            self.close_connection = True


def detach_console(log_path):
    # Whoever started us may wait for the end of our standard streams (a test
    # runner reading a pipe); hand them back at once.
    log = os.open(log_path, os.O_WRONLY | os.O_CREAT | os.O_APPEND, 0o644)
    null = os.open(os.devnull, os.O_RDONLY)
    os.dup2(null, 0)
    os.dup2(log, 1)
    os.dup2(log, 2)
    os.close(null)
    os.close(log)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--root", required=True, help="folder laid out as the server's paths")
    parser.add_argument("--port", type=int, default=0, help="0 picks a free port")
    parser.add_argument("--port-file", help="write the port here once listening")
    parser.add_argument("--fault", choices=FAULTS, default="none")
    parser.add_argument("--lifetime", type=float, default=0, help="end after this many seconds (0: never)")
    parser.add_argument("--log", help="write the request log here and let go of the inherited console")
    args = parser.parse_args()
    if args.log:
        detach_console(args.log)

    Handler.root = os.path.abspath(args.root)
    State.fault = args.fault
    server = http.server.ThreadingHTTPServer(("127.0.0.1", args.port), Handler)
    server.daemon_threads = True
    port = server.server_address[1]
    if args.port_file:
        temporary = args.port_file + ".part"
        with open(temporary, "w") as f:
            f.write(str(port))
        os.replace(temporary, args.port_file)
    sys.stderr.write("update-server: serving %s on http://127.0.0.1:%d/\n" % (Handler.root, port))
    if args.lifetime > 0:
        timer = threading.Timer(args.lifetime, server.shutdown)
        timer.daemon = True
        timer.start()
    server.serve_forever()
    server.server_close()


if __name__ == "__main__":
    main()
