"""A stand-in for the Telegram Bot API and for a webhook receiver, over HTTPS on a loopback address.

POST /bot<token>/sendMessage and /bot<token>/getMe answer as the Bot API does for the one token given;
any other token gets 401. The chat "@blocked" answers 403 (the bot was blocked), "@missing" 400 (chat
not found). POST /hook is a webhook receiver that answers 200. Before those usual answers, the statuses
listed in <folder>/next.json ([[status, retry_after], ...], a status of 0 meaning the usual answer) are
used up one per request. Every request is appended to <folder>/requests.jsonl as
{"path", "status", "content_type", "body"}. The port is printed as one JSON line once the server is up;
the server stops when standard input closes.

Run it with Debian's own /usr/bin/python3.
"""

import argparse
import http.server
import json
import os
import ssl
import sys
import threading

REFUSALS = {
    "@blocked": (403, "Forbidden: bot was blocked by the user"),
    "@missing": (400, "Bad Request: chat not found"),
}
REASONS = {429: "Too Many Requests: retry after %d", 500: "Internal Server Error", 502: "Bad Gateway"}


def make_handler(folder, token):
    lock = threading.Lock()

    def next_status():
        path = os.path.join(folder, "next.json")
        with lock:
            if not os.path.exists(path):
                return 0, 0
            with open(path, encoding="utf-8") as f:
                queue = json.load(f)
            if not queue:
                return 0, 0
            with open(path, "w", encoding="utf-8") as f:
                json.dump(queue[1:], f)
            return queue[0][0], queue[0][1]

    def record(entry):
        with lock, open(os.path.join(folder, "requests.jsonl"), "a", encoding="utf-8") as log:
            log.write(json.dumps(entry, ensure_ascii=False) + "\n")

    class Handler(http.server.BaseHTTPRequestHandler):
        def log_message(self, *args):
            pass

        def answer(self, status, payload, retry_after=0):
            data = json.dumps(payload, ensure_ascii=False).encode("utf-8")
            self.send_response(status)
            self.send_header("Content-Type", "application/json")
            self.send_header("Content-Length", str(len(data)))
            if retry_after:
                self.send_header("Retry-After", str(retry_after))
            self.end_headers()
            self.wfile.write(data)

        def do_POST(self):
            raw = self.rfile.read(int(self.headers.get("Content-Length", "0")))
            try:
                body = json.loads(raw.decode("utf-8"))
            except ValueError:
                body = None
            status, payload, retry_after = self.decide(body)
            record({"path": self.path, "status": status, "content_type": self.headers.get("Content-Type"),
                    "body": body})
            self.answer(status, payload, retry_after)

        def decide(self, body):
            forced, retry_after = next_status()
            if forced:
                description = REASONS.get(forced, "Error")
                if forced == 429:
                    description = description % retry_after
                payload = {"ok": False, "error_code": forced, "description": description}
                if forced == 429:
                    payload["parameters"] = {"retry_after": retry_after}
                return forced, payload, 0
            if self.path == "/hook":
                return 200, {"received": True}, 0
            prefix = "/bot%s/" % token
            if not self.path.startswith(prefix):
                return 401, {"ok": False, "error_code": 401, "description": "Unauthorized"}, 0
            method = self.path[len(prefix):]
            if method == "getMe":
                return 200, {"ok": True, "result": {"id": 42, "is_bot": True, "first_name": "Сигналы",
                                                    "username": "zorvant_test_bot"}}, 0
            if method == "sendMessage" and isinstance(body, dict):
                chat = body.get("chat_id")
                if chat in REFUSALS:
                    code, description = REFUSALS[chat]
                    return code, {"ok": False, "error_code": code, "description": description}, 0
                return 200, {"ok": True, "result": {"message_id": 1, "text": body.get("text")}}, 0
            return 404, {"ok": False, "error_code": 404, "description": "Not Found"}, 0

    return Handler


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--folder", required=True)
    parser.add_argument("--address", default="127.0.0.1")
    parser.add_argument("--cert", required=True)
    parser.add_argument("--key", required=True)
    parser.add_argument("--token", required=True)
    args = parser.parse_args()

    server = http.server.ThreadingHTTPServer((args.address, 0), make_handler(args.folder, args.token))
    tls = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    tls.load_cert_chain(args.cert, args.key)
    server.socket = tls.wrap_socket(server.socket, server_side=True)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    print(json.dumps({"port": server.server_address[1]}), flush=True)
    sys.stdin.read()
    server.shutdown()


if __name__ == "__main__":
    main()
