#!/usr/bin/python3
"""A stand-in STS on a pseudo-terminal for the relay benchmark.

Prints the terminal's path on the first line, then answers every
CR-terminated command at once with a fixed reply and prints, once a second,
the number of commands received so far."""
import os
import select
import sys
import time
import tty

REPLIES = {
    b"SRV": b"#230 231 229 228 230 232 0500 0499",
    b"OPL": b"#045 050 055 010 011 012 035 002",
    b"SST": b"#000",
    b"SAS": b"#00000000 00000000 00000000 00000000 00000",
    b"FIR": b"STS V2.07",
    b"CLK": b"#14:05:10",
    b"DAT": b"#05/12/26",
}

master, slave = os.openpty()
tty.setraw(slave)
print(os.ttyname(slave), flush=True)

received = 0
pending = b""
next_report = time.monotonic() + 1
while True:
    ready, _, _ = select.select([master], [], [], max(0.0, next_report - time.monotonic()))
    if ready:
        pending += os.read(master, 4096)
        while b"\r" in pending:
            command, pending = pending.split(b"\r", 1)
            if not command:
                continue  # the second CR of clock and date commands
            received += 1
            os.write(master, REPLIES.get(command, b"OK") + b"\r")
    if time.monotonic() >= next_report:
        print(received, flush=True)
        next_report += 1
        if os.getppid() == 1:
            sys.exit(0)
