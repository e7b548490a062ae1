"""A real SMTP server for the mail tests, on 127.0.0.1.

Three listeners on the given loopback address: "plain" offers no TLS, "starttls" offers STARTTLS, and
"smtps" speaks TLS from the start on its own port, 465 unless told otherwise (binding it needs root; each
server takes its own 127.x.y.z address, so that servers of tests that run at once do not collide). The
plain listener takes a given port when asked, so that a test can name a server before it starts.
Recipients given with --refuse get 550 at RCPT, those given with --defer 450.
All of them offer AUTH LOGIN and PLAIN for the one user given. Each accepted message is parsed with
Python's email package and written as <folder>/<n>.json; every command of interest is appended to
<folder>/events.log. The ports are printed as one JSON line on standard output once the server is up;
the server stops when standard input closes.

Run it with Debian's own /usr/bin/python3, which sees the python3-aiosmtpd package.
"""

import argparse
import email
import email.policy
import json
import os
import socket
import ssl
import sys
import threading

from aiosmtpd.controller import Controller
from aiosmtpd.smtp import AuthResult, LoginPassword


def free_port(address):
    with socket.socket() as s:
        s.bind((address, 0))
        return s.getsockname()[1]


class Recorder:
    def __init__(self, folder, name, refused, deferred):
        self.folder = folder
        self.name = name
        self.refused = refused
        self.deferred = deferred
        self.lock = threading.Lock()

    def event(self, text):
        with self.lock, open(os.path.join(self.folder, "events.log"), "a", encoding="utf-8") as log:
            log.write(f"{self.name} {text}\n")

    async def handle_EHLO(self, server, session, envelope, hostname, responses):
        self.event("EHLO tls=%s" % is_tls(server))
        session.host_name = hostname
        return responses

    async def handle_NOOP(self, server, session, envelope, arg):
        self.event("NOOP")
        return "250 OK"

    async def handle_QUIT(self, server, session, envelope):
        self.event("QUIT")
        return "221 Bye"

    async def handle_MAIL(self, server, session, envelope, address, options):
        self.event("MAIL " + address)
        envelope.mail_from = address
        return "250 OK"

    async def handle_RCPT(self, server, session, envelope, address, options):
        if address in self.refused:
            self.event("RCPT refused " + address)
            return "550 5.1.1 <%s>: Recipient address rejected: no such user" % address
        if address in self.deferred:
            self.event("RCPT deferred " + address)
            return "450 4.2.1 <%s>: Mailbox busy, try again later" % address
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        raw = envelope.original_content
        message = email.message_from_bytes(raw, policy=email.policy.default)
        sender = message["From"].addresses[0] if message["From"] else None
        login = session.auth_data.login.decode() if session.auth_data else None
        record = {
            "listener": self.name,
            "tls": is_tls(server),
            "login": login,
            "envelope_from": envelope.mail_from,
            "envelope_to": list(envelope.rcpt_tos),
            "subject": str(message["Subject"]),
            "raw_subject": raw_header(raw, b"Subject"),
            "from_name": sender.display_name if sender else "",
            "from_address": sender.addr_spec if sender else "",
            "to": [{"name": a.display_name, "address": a.addr_spec} for a in message["To"].addresses],
            "content_type": raw_header(raw, b"Content-Type"),
            "content_transfer_encoding": raw_header(raw, b"Content-Transfer-Encoding"),
            "date_valid": message["Date"].datetime is not None,
            "message_id": str(message["Message-ID"]),
            "body": message.get_content(),
            "defects": [type(d).__name__ for d in message.defects],
        }
        with self.lock:
            number = len([f for f in os.listdir(self.folder) if f.endswith(".json")]) + 1
            path = os.path.join(self.folder, "%d.json" % number)
            with open(path + ".part", "w", encoding="utf-8") as out:
                json.dump(record, out, ensure_ascii=False)
            os.replace(path + ".part", path)
        self.event("DATA accepted")
        return "250 OK: queued"


def is_tls(server):
    return server.transport is not None and server.transport.get_extra_info("ssl_object") is not None


def raw_header(raw, name):
    """The header's value as it stood on the wire, unfolded."""
    head = raw.split(b"\r\n\r\n", 1)[0].decode("latin-1")
    lines = head.replace("\r\n ", " ").replace("\r\n\t", "\t").split("\r\n")
    prefix = name.decode().lower() + ":"
    for line in lines:
        if line.lower().startswith(prefix):
            return line[len(prefix):].strip()
    return None


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--folder", required=True)
    parser.add_argument("--address", default="127.0.0.1")
    parser.add_argument("--smtps-port", type=int, default=465)
    parser.add_argument("--cert", required=True)
    parser.add_argument("--key", required=True)
    parser.add_argument("--user", required=True)
    parser.add_argument("--password", required=True)
    parser.add_argument("--refuse", action="append", default=[])
    parser.add_argument("--defer", action="append", default=[])
    parser.add_argument("--plain-port", type=int, default=0)
    args = parser.parse_args()

    def authenticator(server, session, envelope, mechanism, auth_data):
        ok = (isinstance(auth_data, LoginPassword) and auth_data.login.decode() == args.user
              and auth_data.password.decode() == args.password)
        with open(os.path.join(args.folder, "events.log"), "a", encoding="utf-8") as log:
            user = auth_data.login.decode() if isinstance(auth_data, LoginPassword) else "?"
            log.write("auth %s %s %s\n" % (mechanism, user, "ok" if ok else "denied"))
        return AuthResult(success=ok, handled=False, auth_data=auth_data)

    tls = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    tls.load_cert_chain(args.cert, args.key)
    common = dict(hostname=args.address, authenticator=authenticator, auth_require_tls=False,
                  server_hostname="localhost")
    def recorder(name):
        return Recorder(args.folder, name, args.refuse, args.defer)

    controllers = {
        "plain": lambda port: Controller(recorder("plain"), port=port, **common),
        "starttls": lambda port: Controller(recorder("starttls"), port=port, tls_context=tls, require_starttls=False,
                                            **common),
        "smtps": lambda port: Controller(recorder("smtps"), port=port, ssl_context=tls, **common),
    }
    fixed = {"smtps": args.smtps_port, "plain": args.plain_port}
    ports, running = {}, []
    for name, make in controllers.items():
        ports[name] = fixed.get(name) or free_port(args.address)
        controller = make(ports[name])
        controller.start()
        running.append(controller)
    print(json.dumps(ports), flush=True)
    sys.stdin.read()
    for controller in running:
        controller.stop()


if __name__ == "__main__":
    main()
