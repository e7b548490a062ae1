"""An SMTP server that fails on purpose, for the mail fault tests.

    broken_smtp_server.py MODE PORT_FILE

It listens on 127.0.0.1, writes its port to PORT_FILE and serves connections until it is killed.
MODE is one of:
  drop-after-greeting  greet, then close the connection
  drop-after-data      take the whole message after DATA, then close without the final reply
  silent               accept the connection and never say a word
  silent-after-ehlo    greet and answer EHLO, then never answer again
  stall-after-data     take the whole message, then never answer
  slow-after-data      take the whole message and accept it two seconds later
  silent-at-quit       accept the message, then never answer QUIT
Every connection is logged to PORT_FILE + ".log", one line per command received.
"""
import os
import socket
import sys
import threading
import time

MODE, PORT_FILE = sys.argv[1], sys.argv[2]


def log(line):
    with open(PORT_FILE + ".log", "a") as out:
        out.write(line + "\n")


def lines(conn):
    buffer = b""
    while True:
        chunk = conn.recv(65536)
        if not chunk:
            return
        buffer += chunk
        while b"\r\n" in buffer:
            line, buffer = buffer.split(b"\r\n", 1)
            yield line


def serve(conn):
    with conn:
        if MODE == "silent":
            for _ in lines(conn):
                pass
            return
        conn.sendall(b"220 broken.test ESMTP\r\n")
        if MODE == "drop-after-greeting":
            return
        in_data = False
        for line in lines(conn):
            if in_data:
                if line == b".":
                    log("end of data")
                    if MODE == "drop-after-data":
                        return
                    if MODE == "stall-after-data":
                        for _ in lines(conn):
                            pass
                        return
                    if MODE == "slow-after-data":
                        time.sleep(2)
                    conn.sendall(b"250 queued\r\n")
                    in_data = False
                continue
            verb = line.split(b" ")[0].upper().decode("ascii", "replace")
            log(verb)
            if MODE == "silent-after-ehlo" and verb not in ("EHLO", "HELO"):
                continue
            if verb in ("EHLO", "HELO"):
                conn.sendall(b"250-broken.test\r\n250 8BITMIME\r\n")
            elif verb == "DATA":
                conn.sendall(b"354 go on\r\n")
                in_data = True
            elif verb == "QUIT":
                if MODE == "silent-at-quit":
                    continue
                conn.sendall(b"221 bye\r\n")
                return
            else:
                conn.sendall(b"250 ok\r\n")


def main():
    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind(("127.0.0.1", 0))
    listener.listen(8)
    with open(PORT_FILE + ".tmp", "w") as out:
        out.write(str(listener.getsockname()[1]))
    os.rename(PORT_FILE + ".tmp", PORT_FILE)
    while True:
        conn, _ = listener.accept()
        threading.Thread(target=serve, args=(conn,), daemon=True).start()


main()
