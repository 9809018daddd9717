"""Headless Chromium driven through chromedriver's WebDriver protocol (plain HTTP and JSON),
for the web tests and benchmarks: start it once, open pages, run scripts, take screenshots."""
import base64
import json
import shutil
import socket
import subprocess
import tempfile
import time
import urllib.error
import urllib.request


def free_port():
    with socket.socket() as probe:
        probe.bind(('127.0.0.1', 0))
        return probe.getsockname()[1]


class Browser:
    def __init__(self, width=1100, height=1300):
        self.profile = tempfile.mkdtemp(prefix='treld-chromium-')
        port = free_port()
        self.driver = subprocess.Popen([shutil.which('chromedriver'), f'--port={port}'],
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.base = f'http://127.0.0.1:{port}'
        options = {'binary': shutil.which('chromium'),
                   'args': ['--headless=new', '--no-sandbox', '--disable-gpu',
                            '--disable-dev-shm-usage', f'--window-size={width},{height}',
                            f'--user-data-dir={self.profile}']}
        for _ in range(200):  # until chromedriver listens
            try:
                answer = self.call('POST', '/session', {'capabilities': {'alwaysMatch': {
                    'browserName': 'chrome', 'goog:chromeOptions': options}}})
                break
            except urllib.error.URLError as error:
                if not isinstance(error.reason, ConnectionRefusedError):
                    raise
                time.sleep(0.05)
        self.session = '/session/' + answer['sessionId']

    def call(self, method, path, body=None):
        request = urllib.request.Request(self.base + path, method=method,
                                         data=None if body is None else json.dumps(body).encode(),
                                         headers={'Content-Type': 'application/json'})
        with urllib.request.urlopen(request, timeout=30) as reply:
            return json.load(reply)['value']

    def open(self, url):
        self.call('POST', self.session + '/url', {'url': url})

    def run(self, script, *args):
        """The value of a function body run in the page (`return ...`)."""
        return self.call('POST', self.session + '/execute/sync',
                         {'script': script, 'args': list(args)})

    def wait(self, script, seconds=5.0):
        """The first truthy value of `script` within `seconds`, else None."""
        end = time.monotonic() + seconds
        while not (value := self.run(script)) and time.monotonic() < end:
            time.sleep(0.02)
        return value or None

    def screenshot(self, path):
        with open(path, 'wb') as out:
            out.write(base64.b64decode(self.call('GET', self.session + '/screenshot')))

    def close(self):
        try:
            self.call('DELETE', self.session)
        finally:
            self.driver.terminate()
            self.driver.wait(10)
            shutil.rmtree(self.profile, ignore_errors=True)
