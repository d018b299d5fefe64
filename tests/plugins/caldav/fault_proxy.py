#!/usr/bin/env python3
"""A proxy in front of a real CalDAV server that spoils chosen answers, for the tests of faults a server
seldom makes on demand. Usage: fault_proxy.py UPSTREAM_PORT PORT RULES_FILE

RULES_FILE holds a JSON list, read again at every request; each rule has "method" (or "*" for any),
"from" and optionally "to" (the n-th request of that method, counted from 1 since the rules last changed),
and "action":
  status      answer with rule["status"] instead of the server
  close       close the connection without an answer (a server that is gone)
  cut         the server's answer, cut off after half of its body
  padded      the server's answer with rule["bytes"] bytes of XML comment inserted: still valid
  garbage     a 207 answer of rule["bytes"] bytes that are no XML
  concurrent  another client changes the same resource just before the request reaches the server
"""
import http.client
import http.server
import json
import random
import sys
import threading
import time

upstream_port, port, rules_file = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3]
state = {"text": None, "counts": {}}
lock = threading.Lock()


def rule_for(method):
    try:
        with open(rules_file) as f:
            text = f.read()
        rules = json.loads(text)
    except (OSError, ValueError):
        text, rules = "", []
    with lock:
        if text != state["text"]:
            state["text"], state["counts"] = text, {}
        counts = state["counts"]
        counts[method] = counts.get(method, 0) + 1
        counts["*"] = counts.get("*", 0) + 1
        numbers = dict(counts)
    for rule in rules:
        name = rule["method"]
        if name in (method, "*") and rule["from"] <= numbers.get(name, 0) <= rule.get("to", 1 << 30):
            return rule
    return None


def forward(method, path, headers, body):
    connection = http.client.HTTPConnection("127.0.0.1", upstream_port, timeout=30)
    connection.request(method, path, body=body, headers=headers)
    response = connection.getresponse()
    data = response.read()
    connection.close()
    return response.status, response.getheaders(), data


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def answer(self, status, headers, body, send=None):
        self.send_response(status)
        for name, value in headers:
            if name.lower() not in ("content-length", "transfer-encoding", "connection", "date", "server"):
                self.send_header(name, value)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body if send is None else send)
        self.wfile.flush()

    def handle_any(self):
        length = int(self.headers.get("Content-Length") or 0)
        body = self.rfile.read(length) if length else None
        # Uncompressed, so that the answer can be spoiled as text.
        headers = {k: v for k, v in self.headers.items()
                   if k.lower() not in ("connection", "keep-alive", "accept-encoding")}
        rule = rule_for(self.command)
        action = rule["action"] if rule else None
        if action == "close":
            self.close_connection = True
            return
        if action == "status":
            self.answer(rule["status"], [("Content-Type", "text/plain")], b"refused by the test\n")
            return
        if action == "garbage":
            noise = bytes(random.Random(7).getrandbits(8) for _ in range(1024)) * (rule["bytes"] // 1024)
            self.answer(207, [("Content-Type", "application/xml")], noise)
            return
        if action == "concurrent":
            status, _, current = forward("GET", self.path, {"Authorization": headers.get("Authorization", "")}, None)
            if status == 200:
                # As a calendar program would: a new summary, stamped with the time of the change.
                stamp = time.strftime("%Y%m%dT%H%M%SZ", time.gmtime()).encode()
                lines = [line for line in current.split(b"\r\n") if not line.startswith(b"LAST-MODIFIED:")]
                changed = b"\r\n".join(
                    b"SUMMARY:Changed elsewhere\r\nLAST-MODIFIED:" + stamp if line.startswith(b"SUMMARY:") else line
                    for line in lines)
                forward("PUT", self.path, {"Authorization": headers.get("Authorization", ""),
                                           "Content-Type": "text/calendar"}, changed)
        status, reply_headers, data = forward(self.command, self.path, headers, body)
        if action == "cut":
            self.answer(status, reply_headers, data, send=data[: len(data) // 2])
            self.close_connection = True
            return
        if action == "padded":
            at = data.rfind(b"</")
            data = data[:at] + b"<!--" + b" " * rule["bytes"] + b"-->" + data[at:]
        self.answer(status, reply_headers, data)

    do_GET = do_PUT = do_DELETE = do_PROPFIND = do_REPORT = do_MKCALENDAR = do_OPTIONS = handle_any


http.server.ThreadingHTTPServer.daemon_threads = True
http.server.ThreadingHTTPServer(("127.0.0.1", port), Handler).serve_forever()
