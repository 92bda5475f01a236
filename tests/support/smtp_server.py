"""A real SMTP server (aiosmtpd) on a loopback port for the mail client's tests.

Prints "PORT <n>" once it listens. Every accepted message is appended to the
record file as "AUTH <login> <password>" (when the session signed in), "FROM",
"TO" and "DATA" lines, the content, and a line "END". Recipients that begin
with "refused" are refused, and so is the sign-in with the password "refused". With --no-auth the server offers no sign-in.
"""
import argparse
import asyncio
import socket

from aiosmtpd.smtp import SMTP, AuthResult


class Recorder:
    def __init__(self, path):
        self.path = path

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if address.startswith("refused"):
            return "550 5.1.1 No such user here"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        lines = []
        if session.authenticated and session.auth_data is not None:
            lines.append("AUTH %s %s" % (session.auth_data.login.decode("latin-1"),
                                         session.auth_data.password.decode("latin-1")))
        lines.append("FROM " + envelope.mail_from)
        for rcpt in envelope.rcpt_tos:
            lines.append("TO " + rcpt)
        lines.append("DATA")
        lines.append(envelope.original_content.decode("latin-1"))
        lines.append("END")
        with open(self.path, "a", encoding="latin-1", newline="") as record:
            record.write("\n".join(lines) + "\n")
        return "250 Message accepted for delivery"


def accept_unless_refused(server, session, envelope, mechanism, auth_data):
    if auth_data.password == b"refused":
        return AuthResult(success=False, handled=False)
    return AuthResult(success=True, auth_data=auth_data)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--record", required=True)
    parser.add_argument("--no-auth", action="store_true")
    args = parser.parse_args()

    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.bind(("127.0.0.1", 0))
    listener.listen(8)
    recorder = Recorder(args.record)

    def session():
        return SMTP(recorder, hostname="test.invalid", authenticator=accept_unless_refused,
                    auth_require_tls=args.no_auth, auth_required=False)

    loop = asyncio.new_event_loop()
    loop.run_until_complete(loop.create_server(session, sock=listener))
    print("PORT", listener.getsockname()[1], flush=True)
    loop.run_forever()


if __name__ == "__main__":
    main()
