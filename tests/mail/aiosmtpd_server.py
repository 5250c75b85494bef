#!/usr/bin/python3
"""Mail server for the integration tests: aiosmtpd on a free loopback port.

Usage: aiosmtpd_server.py FOLDER USER PASSWORD

Prints the port on its first output line, then stores each message it accepts as
FOLDER/messageN.eml (the bytes as received, dot-stuffing removed) and FOLDER/messageN.json
(envelope sender, recipients, authentication). AUTH PLAIN and LOGIN are offered on the
plain connection. Ends when its standard input closes, and after 60 seconds in any case.
"""
import asyncio
import json
import os
import sys

from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword

FOLDER, USER, PASSWORD = sys.argv[1], sys.argv[2].encode(), sys.argv[3].encode()


class Store:
    def __init__(self):
        self.count = 0

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        base = os.path.join(FOLDER, "message%d" % self.count)
        with open(base + ".eml", "wb") as f:
            f.write(envelope.original_content)
        auth = getattr(session, "tacknote_auth", None)
        with open(base + ".json", "w") as f:
            json.dump({"from": envelope.mail_from, "rcpt": envelope.rcpt_tos,
                       "mechanism": auth[0] if auth else None,
                       "login": auth[1] if auth else None}, f)
        return "250 2.0.0 stored"


def authenticator(server, session, envelope, mechanism, auth_data):
    ok = (isinstance(auth_data, LoginPassword) and auth_data.login == USER
          and auth_data.password == PASSWORD)
    if ok:
        session.tacknote_auth = (mechanism, auth_data.login.decode())
    return AuthResult(success=ok, handled=False)


async def main():
    loop = asyncio.get_running_loop()
    done = loop.create_future()
    handler = Store()
    server = await loop.create_server(
        lambda: SMTP(handler, hostname="aiosmtpd.test", authenticator=authenticator,
                     auth_require_tls=False),
        "127.0.0.1", 0)
    print(server.sockets[0].getsockname()[1], flush=True)

    def stdin_readable():
        if not os.read(sys.stdin.fileno(), 4096) and not done.done():
            done.set_result(None)

    loop.add_reader(sys.stdin.fileno(), stdin_readable)
    loop.call_later(60, lambda: done.done() or done.set_result(None))
    await done
    server.close()


asyncio.run(main())
os._exit(0)
