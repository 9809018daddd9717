"""Viewers of one station's live stream (as 50 open pages would hold): the poll's pace with
them against none, and the time from a device reply to each viewer's copy of the state it
changed. Usage: web_bench.py <program dir> [viewers] [seconds]"""
import json
import os
import selectors
import socket
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), '..', 'web'))
from station import Station  # noqa: E402

PROGRAMS = sys.argv[1]
VIEWERS = int(sys.argv[2]) if len(sys.argv) > 2 else 50
SECONDS = float(sys.argv[3]) if len(sys.argv) > 3 else 10
SOURCE = ['source1_l1_voltage', 'source1_l2_voltage', 'source1_l3_voltage', 'source2_l1_voltage',
          'source2_l2_voltage', 'source2_l3_voltage', 'source1_frequency', 'source2_frequency']


def commands_between(station, start, end):
    with open(os.path.join(station.dir, 'trace.txt')) as trace:
        times = [station.started + int(line.split(' ', 1)[0]) / 1000
                 for line in trace if ' RX ' in line]
    return sum(start <= t < end for t in times)


def watch(station, seconds):
    """(arrival, source values) of every state each viewer received, per viewer."""
    selector = selectors.DefaultSelector()
    for viewer in range(VIEWERS):
        sock = socket.create_connection(('127.0.0.1', station.port))
        sock.sendall(b'GET /api/v1/stream HTTP/1.1\r\n\r\n')
        sock.setblocking(False)
        selector.register(sock, selectors.EVENT_READ, {'buffer': b'', 'states': []})
        time.sleep(0.02)  # pages open one after another, not in the same millisecond
    end = time.time() + seconds
    while time.time() < end:
        for key, _ in selector.select(0.1):
            now = time.time()
            data = key.data
            data['buffer'] += key.fileobj.recv(1 << 20)
            *frames, data['buffer'] = data['buffer'].split(b'\n\n')
            for frame in frames:
                if frame.startswith(b'event: state\ndata: '):
                    state = json.loads(frame[len(b'event: state\ndata: '):])
                    values = state['measurements']
                    data['states'].append((now, tuple(values[k] for k in SOURCE)))
    viewers = [key.data['states'] for key in selector.get_map().values()]
    for key in list(selector.get_map().values()):
        key.fileobj.close()
    return viewers


def source_replies(station):
    """(time, values) of every reply to SRV, the source panel's command."""
    replies = []
    for at, text in station.replies('SRV'):
        numbers = text.strip('#').replace('\\r', '').split()
        if len(numbers) == 8 and all(n.isdigit() for n in numbers):
            values = [int(n) for n in numbers[:6]] + [int(n) / 10 for n in numbers[6:]]
            replies.append((at, tuple(values)))
    return replies


def delays(viewers, replies):
    """From the first of the replies that set the values a viewer got, to its arrival."""
    out = []
    for states in viewers:
        for (at, values), (_, before) in zip(states[1:], states):
            if values == before:
                continue  # a change of the output panel or the status
            i = max(n for n, (t, _) in enumerate(replies) if t <= at)
            while i > 0 and replies[i][1] != values:
                i -= 1
            while i > 0 and replies[i - 1][1] == values:
                i -= 1
            out.append(at - replies[i][0])
    return sorted(out)


def main():
    station = Station(PROGRAMS)
    try:
        time.sleep(2)
        start = time.time()
        time.sleep(SECONDS)
        alone = commands_between(station, start, start + SECONDS)
        start = time.time()
        viewers = watch(station, SECONDS)
        watched = commands_between(station, start, start + SECONDS)
        cpu = [float(f) for f in open(f'/proc/{station.monitor.pid}/stat').read().split()[13:15]]
        found = delays(viewers, source_replies(station))
        print(f'poll pace: {alone / SECONDS:.1f} commands/s alone, {watched / SECONDS:.1f} with '
              f'{VIEWERS} viewers: {100 * watched / alone:.1f} %')
        if found:
            print(f'reply to viewer ({len(found)} changes): median {found[len(found) // 2] * 1000:.0f}'
                  f' ms, p99 {found[int(len(found) * 0.99)] * 1000:.0f} ms, '
                  f'max {found[-1] * 1000:.0f} ms')
        print(f'monitor CPU so far: {sum(cpu) / os.sysconf("SC_CLK_TCK"):.2f} s')
    finally:
        station.close()


main()
