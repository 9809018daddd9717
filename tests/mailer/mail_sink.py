"""Loopback SMTP (aiosmtpd) and optional POP3 servers for the drovelin tests. Prints "smtp PORT",
"pop3 PORT", "pid PID"; stores messages decoded in DIR/N.txt, notes events in DIR/events.txt."""
import argparse
import asyncio
import email
import email.policy
import os
import pathlib

from aiosmtpd.smtp import SMTP, AuthResult

options = argparse.ArgumentParser()
options.add_argument("--dir", required=True)
options.add_argument("--user", default="")
options.add_argument("--password", default="")
options.add_argument("--smtp-auth", action="store_true", help="SMTP requires the user's log-in")
options.add_argument("--refuse", type=int, default=0, help="refuse the first N messages with 451")
options.add_argument("--pop3", action="store_true")
args = options.parse_args()
inbox = pathlib.Path(args.dir)


def note(event):
    with (inbox / "events.txt").open("a") as events:
        events.write(event + "\n")


class Inbox:
    messages = 0  # the first args.refuse of them are refused

    async def handle_DATA(self, server, session, envelope):
        self.messages += 1
        if self.messages <= args.refuse:
            note("smtp refused")
            return "451 Try again later"
        message = email.message_from_bytes(envelope.content, policy=email.policy.default)
        lines = ["envelope-from: " + envelope.mail_from]
        lines += ["envelope-to: " + rcpt for rcpt in envelope.rcpt_tos]
        lines += [f"{name}: {message[name]}" for name in ("From", "To", "Subject", "Message-ID", "Content-Type")]
        defects = len(message.defects) + sum(len(message[name].defects) for name in message.keys())
        lines += [f"date-parsed: {message['Date'].datetime is not None}", f"defects: {defects}"]
        text = "\n".join(lines) + "\n\n" + message.get_content()
        (inbox / f"{self.messages - args.refuse}.txt").write_text(text, encoding="utf-8")
        note("smtp received")
        return "250 OK"


def authenticator(server, session, envelope, mechanism, login):
    accepted = login.login == args.user.encode() and login.password == args.password.encode()
    note("smtp auth " + ("accepted" if accepted else "refused"))
    return AuthResult(success=accepted, handled=False)  # handled=False: the server answers 535


async def pop3(reader, writer):
    writer.write(b"+OK ready\r\n")
    user = None
    while line := await reader.readline():
        command, _, argument = line.decode().rstrip("\r\n").partition(" ")
        command = command.upper()
        reply = {"USER": "+OK", "LIST": "+OK\r\n.", "QUIT": "+OK"}.get(command, "-ERR unknown")
        if command == "USER":
            user = argument
        elif command == "PASS":
            accepted = user == args.user and argument == args.password
            note("pop3 login " + ("accepted" if accepted else "refused"))
            reply = "+OK" if accepted else "-ERR denied"
        writer.write(reply.encode() + b"\r\n")
        await writer.drain()
        if command == "QUIT":
            break
    writer.close()


async def main():
    loop = asyncio.get_running_loop()
    smtp = await loop.create_server(
        lambda handler=Inbox(): SMTP(handler, hostname="localhost", auth_required=args.smtp_auth,
                     auth_require_tls=False, authenticator=authenticator),
        "127.0.0.1", 0)
    print("smtp", smtp.sockets[0].getsockname()[1])
    if args.pop3:
        server = await asyncio.start_server(pop3, "127.0.0.1", 0)
        print("pop3", server.sockets[0].getsockname()[1])
    print("pid", os.getpid(), flush=True)
    await asyncio.Event().wait()


asyncio.run(main())
