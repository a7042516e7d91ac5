#!/usr/bin/env python3
"""A small web server for the update tests, on 127.0.0.1 and a free port.

usage: update_server.py ROOT [--cert CERT --key KEY]

Prints "PORT n" once it listens. Serves the files below ROOT over HTTP/1.0 (over TLS with
--cert and --key), and these path prefixes, which may be chained:
  /status/CODE/...      answers CODE with its standard reason phrase
  /redirect/N/REST      redirects N times, then serves /REST
  /nohead/REST          refuses HEAD (405), serves GET
  /headonly/REST        serves HEAD, answers GET with 503
  /nolength/REST        announces no Content-Length
  /slow/REST            sends the body in small pieces with pauses
  /stall/REST           sends the headers, then nothing for 10 seconds
  /echo                 the request line and headers as the body
  /goto?ADDRESS         redirects to ADDRESS
A request in absolute form (through a proxy) is served from its path, with the header
"X-Proxied: yes".
"""

import http.server
import os
import ssl
import sys
import threading
import time
import urllib.parse


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"
    root = "."

    def log_message(self, format, *args):
        pass

    def do_GET(self):
        self.answer(head=False)

    def do_HEAD(self):
        self.answer(head=True)

    def answer(self, head):
        target = self.path
        proxied = False
        if not target.startswith("/"):
            proxied = True
            target = urllib.parse.urlsplit(target).path
        split = urllib.parse.urlsplit(target)
        path = urllib.parse.unquote(split.path)
        if path == "/goto":
            self.send_response(302)
            self.send_header("Location", urllib.parse.unquote(split.query))
            self.send_header("Content-Length", "0")
            self.end_headers()
            return
        self.serve(path, head, proxied, nolength=False, slow=False, stall=False)

    def serve(self, path, head, proxied, nolength, slow, stall):
        parts = path.lstrip("/").split("/")
        first = parts[0]
        if first == "status" and len(parts) >= 2:
            code = int(parts[1])
            body = b"error page\n"
            self.send_response(code)
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            if not head:
                self.wfile.write(body)
            return
        if first == "redirect" and len(parts) >= 2:
            count = int(parts[1])
            rest = "/".join(parts[2:])
            if count > 0:
                self.send_response(302)
                self.send_header("Location", "/redirect/%d/%s" % (count - 1, rest))
                self.send_header("Content-Length", "0")
                self.end_headers()
                return
            return self.serve("/" + rest, head, proxied, nolength, slow, stall)
        if first == "nohead":
            if head:
                self.send_response(405)
                self.send_header("Content-Length", "0")
                self.end_headers()
                return
            return self.serve("/" + "/".join(parts[1:]), head, proxied, nolength, slow, stall)
        if first == "headonly":
            if not head:
                self.send_error(503)
                return
            return self.serve("/" + "/".join(parts[1:]), head, proxied, nolength, slow, stall)
        if first in ("nolength", "slow", "stall"):
            return self.serve("/" + "/".join(parts[1:]), head, proxied,
                              nolength or first == "nolength", slow or first == "slow",
                              stall or first == "stall")
        if first == "echo":
            lines = [self.requestline] + ["%s: %s" % kv for kv in self.headers.items()]
            body = ("\n".join(lines) + "\n").encode("latin-1")
        else:
            file = os.path.realpath(os.path.join(self.root, *parts))
            if not file.startswith(os.path.realpath(self.root)) or not os.path.isfile(file):
                self.send_error(404)
                return
            with open(file, "rb") as f:
                body = f.read()
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        if proxied:
            self.send_header("X-Proxied", "yes")
        if not nolength:
            self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        if head:
            return
        if stall:
            self.wfile.flush()
            time.sleep(10)
            return
        if slow:
            for start in range(0, len(body), 2048):
                self.wfile.write(body[start:start + 2048])
                self.wfile.flush()
                time.sleep(0.05)
            return
        self.wfile.write(body)


class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True

    def handle_error(self, request, client_address):
        pass  # a client that gives up (an untrusted certificate, an abort) is expected


def main():
    args = sys.argv[1:]
    Handler.root = args[0]
    cert = key = None
    if "--cert" in args:
        cert = args[args.index("--cert") + 1]
        key = args[args.index("--key") + 1]
    server = Server(("127.0.0.1", 0), Handler)
    if cert:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(cert, key)
        # The handshake happens in the request's own thread, on its first read.
        server.socket = context.wrap_socket(server.socket, server_side=True,
                                            do_handshake_on_connect=False)
    print("PORT %d" % server.server_address[1], flush=True)
    # The test holds our standard input open: when it ends, however it ends, so do we.
    threading.Thread(target=lambda: (sys.stdin.read(), os._exit(0)), daemon=True).start()
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    main()
