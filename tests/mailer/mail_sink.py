"""A loopback SMTP server (aiosmtpd) for the drovelin tests. Prints "smtp PORT" and "pid PID";
stores each message decoded in DIR/N.txt and notes events in DIR/events.txt."""
import argparse
import asyncio
import email
import email.policy
import os
import pathlib

from aiosmtpd.smtp import SMTP

options = argparse.ArgumentParser()
options.add_argument("--dir", required=True)
options.add_argument("--refuse", type=int, default=0, help="refuse the first N messages with 451")
options.add_argument("--host", default="127.0.0.1", help="the loopback address to listen on")
options.add_argument("--slow", type=float, default=0, help="seconds before the greeting and EHLO's reply")
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


class SlowSMTP(SMTP):
    replies = 0

    async def push(self, status):
        if status[3:4] != "-":  # the last line of a reply
            self.replies += 1
            if self.replies <= 2:  # the steps libcurl counts as connecting
                await asyncio.sleep(args.slow)
        await super().push(status)


async def main():
    server = await asyncio.get_running_loop().create_server(
        lambda handler=Inbox(): SlowSMTP(handler, hostname="localhost"), args.host, 0)
    print("smtp", server.sockets[0].getsockname()[1])
    print("pid", os.getpid(), flush=True)
    await asyncio.Event().wait()


asyncio.run(main())
