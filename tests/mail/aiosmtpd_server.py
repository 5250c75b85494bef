#!/usr/bin/python3
"""Mail server for the integration tests: aiosmtpd on a free loopback port.

Usage: aiosmtpd_server.py FOLDER USER PASSWORD [--auth-required] [--tls CERT KEY]

Prints the port on its first output line, then stores each message it accepts as
FOLDER/messageN.eml (the bytes as received, dot-stuffing removed) and FOLDER/messageN.json
(envelope sender, recipients, authentication, encryption, and the message as Python's
strict standard parser reads it: its defects, decoded Subject and To, Message-ID and
the decoded text). AUTH PLAIN and LOGIN are
offered; with --tls, STARTTLS is offered and required before anything else, AUTH
included. With --auth-required mail is accepted only after a successful AUTH. The
recipient nobody@example.org is refused. Ends when its standard input closes, and after
60 seconds in any case.
"""
import argparse
import asyncio
import email
import email.policy
import json
import os
import ssl
import sys

from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword

parser = argparse.ArgumentParser()
parser.add_argument("folder")
parser.add_argument("user")
parser.add_argument("password")
parser.add_argument("--auth-required", action="store_true")
parser.add_argument("--tls", nargs=2, metavar=("CERT", "KEY"))
ARGS = parser.parse_args()
USER, PASSWORD = ARGS.user.encode(), ARGS.password.encode()


class Store:
    def __init__(self):
        self.count = 0

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if address.lower() == "nobody@example.org":
            return "550 5.1.1 No such user here"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        base = os.path.join(ARGS.folder, "message%d" % self.count)
        with open(base + ".eml", "wb") as f:
            f.write(envelope.original_content)
        auth = getattr(session, "tacknote_auth", None)
        record = {"from": envelope.mail_from, "rcpt": envelope.rcpt_tos,
                  "mechanism": auth[0] if auth else None,
                  "login": auth[1] if auth else None,
                  "encrypted": session.ssl is not None}
        record.update(parsed(envelope.original_content))
        with open(base + ".json", "w") as f:
            json.dump(record, f)
        return "250 2.0.0 stored"


def parsed(content):
    """The message as a mail program reads it, with every defect the parser noticed."""
    try:
        message = email.message_from_bytes(content, policy=email.policy.default)
        defects = []
        for part in message.walk():
            defects += [type(d).__name__ for d in part.defects]
            for name, value in part.items():
                defects += ["%s: %s" % (name, type(d).__name__)
                            for d in getattr(value, "defects", ())]
        body = message.get_body(("plain",))
        return {"defects": defects, "subject": str(message.get("subject", "")),
                "to": str(message.get("to", "")),
                "messageId": str(message.get("message-id", "")),
                # Line ends as a mail program shows them.
                "text": body.get_content().replace("\r\n", "\n") if body is not None
                else None}
    except Exception as error:  # a message the parser refuses outright
        return {"defects": ["refused: %r" % error]}


def authenticator(server, session, envelope, mechanism, auth_data):
    ok = (isinstance(auth_data, LoginPassword) and auth_data.login == USER
          and auth_data.password == PASSWORD)
    if ok:
        session.tacknote_auth = (mechanism, auth_data.login.decode())
    return AuthResult(success=ok, handled=False)


def make_smtp(handler):
    options = dict(hostname="aiosmtpd.test", authenticator=authenticator,
                   auth_required=ARGS.auth_required, auth_require_tls=False)
    if ARGS.tls:
        context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
        context.load_cert_chain(ARGS.tls[0], ARGS.tls[1])
        options.update(tls_context=context, require_starttls=True, auth_require_tls=True)
    return SMTP(handler, **options)


async def main():
    loop = asyncio.get_running_loop()
    done = loop.create_future()
    handler = Store()
    server = await loop.create_server(lambda: make_smtp(handler), "127.0.0.1", 0)
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
