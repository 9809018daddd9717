"""A station for the web tests: sts-sim playing a scenario and treld on its line, in a fresh
program directory, the web endpoint on a free port of 127.0.0.1."""
import json
import os
import pathlib
import shutil
import subprocess
import tempfile
import time
import urllib.error
import urllib.request

from browser import free_port


class Station:
    def __init__(self, programs, scenario='', config='TIMEOUT:500\r\n', mqtt=''):
        self.dir = tempfile.mkdtemp(prefix='treld-web-')
        for name in ('treld', 'sts-sim', 'DEMOSET.CFG'):
            shutil.copy(os.path.join(programs, name), self.dir)
        os.mkdir(os.path.join(self.dir, 'TRENDS'))
        self.port = free_port()
        for name, text in [('sts.cfg', 'COMPORT:1\r\n' + config), ('scenario.scn', scenario),
                           ('mqtt.cfg', f'METRICS:{self.port}\n' + mqtt)]:
            self.write(name, text)
        line = os.path.join(self.dir, 'sts-line')
        self.started = time.time()  # the simulator's clock counts from here
        self.simulator = subprocess.Popen(
            ['./sts-sim', '--link', line, '--trace', 'trace.txt', '--scenario', 'scenario.scn'],
            cwd=self.dir, stdout=subprocess.DEVNULL)
        while not os.path.exists(line):
            time.sleep(0.02)
        self.start_monitor()

    def start_monitor(self):
        self.monitor = subprocess.Popen(['./treld'], cwd=self.dir, stderr=subprocess.DEVNULL,
                                        env=dict(os.environ, QT_QPA_PLATFORM='offscreen',
                                                 TRELD_COM1=os.path.join(self.dir, 'sts-line')))
        for _ in range(100):  # until it answers
            try:
                return self.get('/api/v1/status')
            except OSError:
                time.sleep(0.05)

    def write(self, name, text):
        pathlib.Path(self.dir, name).write_text(text, newline='')

    def read(self, name):
        return pathlib.Path(self.dir, name).read_text()

    def url(self, path='/'):
        return f'http://127.0.0.1:{self.port}{path}'

    def get(self, path):
        """The status and the JSON of an answer, errors included."""
        try:
            with urllib.request.urlopen(self.url(path), timeout=5) as reply:
                return reply.status, json.load(reply)
        except urllib.error.HTTPError as error:
            return error.code, json.load(error)

    def replies(self, command):
        """(wall-clock time, reply) of every reply the simulator sent to `command`."""
        replies, asked = [], None
        for ms, kind, text in (line.split(' ', 2) for line in self.read('trace.txt').splitlines()):
            if kind == 'TX' and asked == command:
                replies.append((self.started + int(ms) / 1000, text))
            asked = text if kind == 'RX' else None
        return replies

    def close(self):
        for process in (self.monitor, self.simulator):
            process.terminate()
            process.wait(10)
        shutil.rmtree(self.dir, ignore_errors=True)
