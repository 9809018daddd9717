"""The fleet board in headless Chromium: a station with BOARD:sts/+ on a real mosquitto, its own
sts-sim playing a black-out, and four more stations' retained topics published straight to the
broker. The board shows the five tiles, the black-out red and first, a station's last will with
its time, and a click on a tile opens that station's page. Usage: fleet_board_test.py <program dir> [screenshot.png]"""
import socket
import subprocess
import sys
import time
import unittest

import jsonschema

from browser import Browser, free_port
from station import Station

PROGRAMS = sys.argv.pop(1)
SCREENSHOT = sys.argv.pop(1) if len(sys.argv) > 1 else None
LINK = '"link":{"kind":"serial","peer":"COM1","up":%s}'
OTHERS = {  # name: status
    'north': '{%s,"transfer":{"source":1},"alarms":{"overload":false}}' % (LINK % 'true'),
    'south': '{%s,"transfer":{"source":2},"alarms":{}}' % (LINK % 'true'),
    'east': '{%s}' % (LINK % 'false'),
    'west': '{"station":"West yard",%s,"transfer":{"source":1},"alarms":{}}' % (LINK % 'true'),
}
TILES = "return [...document.querySelectorAll('.tile')].map(t => t.dataset.key + ' ' + t.dataset.state)"
TEXT = "[...t.children].map(e => e.textContent).join('|')"
KEYS = "return [...document.querySelectorAll('.tile')].map(t => t.dataset.key).sort().join()"


class FleetBoard(unittest.TestCase):
    def setUp(self):
        self.port = free_port()
        # Without a configuration file mosquitto listens on loopback only.
        self.broker = subprocess.Popen(['mosquitto', '-p', str(self.port)], stderr=subprocess.DEVNULL)
        for _ in range(100):
            with socket.socket() as probe:
                if probe.connect_ex(('127.0.0.1', self.port)) == 0:
                    break
            time.sleep(0.05)
        for name, status in OTHERS.items():
            self.publish(f'sts/{name}/online', 'online')
            self.publish(f'sts/{name}/status', status)
        self.station = Station(PROGRAMS, '2s source1 blackout\n',
                               'TIMEOUT:500\r\nSNAME:plant-7\r\n',
                               f'HOST:127.0.0.1\nPORT:{self.port}\nBOARD:sts/+\n')
        self.browser = Browser(900, 470)

    def tearDown(self):
        self.browser.close()
        self.station.close()
        self.broker.terminate()
        self.broker.wait(10)

    def publish(self, topic, payload):
        subprocess.run(['mosquitto_pub', '-p', str(self.port), '-q', '1', '-r', '-t', topic,
                        '-m', payload], check=True)

    def test_five_tiles_the_black_out_first_and_a_last_will(self):
        self.browser.open(self.station.url('/fleet'))
        self.assertEqual(self.browser.wait(KEYS + " == 'sts/east,sts/north,sts/plant-7,sts/south,"
                                                  "sts/west' && 'five'", 5), 'five')
        first = self.browser.wait("const t = document.querySelector('.tile');"
                                  "return t.dataset.state == 'red' && " + TEXT, 8)
        self.assertRegex(first or '', r'^plant-7\|Alarm\|serial COM1 · Load on Source 2\|'
                                      r'Source1 BAD and \d more\|'
                                      r'-S1 Black out-S1 BAD--Transfer inhibit · \d s ago$')
        self.publish('sts/north/online', 'offline')  # as the broker does with a last will
        north = self.browser.wait("const t = document.querySelector('[data-key=\"sts/north\"]');"
                                  "return t.dataset.state == 'offline' && " + TEXT, 3)
        self.assertRegex(north or '', r'^north\|Offline since \d\d:\d\d')
        self.assertEqual(self.browser.run(TILES), ['sts/plant-7 red', 'sts/east nolink',
                                                   'sts/north offline', 'sts/south green',
                                                   'sts/west green'])
        # The API answers the same board, as the OpenAPI file describes it.
        described = self.station.get('/api/v1/openapi.json')[1]
        code, board = self.station.get('/api/v1/fleet')
        self.assertEqual(code, 200)
        jsonschema.validate(board, dict(described['components']['schemas']['Board'],
                                        components=described['components']),
                            cls=jsonschema.Draft202012Validator)
        self.assertEqual([tile['key'] + ' ' + tile['state'] for tile in board['stations']],
                         self.browser.run(TILES))
        if SCREENSHOT:
            self.browser.screenshot(SCREENSHOT)
        # A station that names its page is a link to it; a javascript: address is none.
        self.publish('sts/south/status', OTHERS['south'][:-1] + ',"page":"javascript:alert(1)"}')
        self.publish('sts/west/status', OTHERS['west'][:-1] + f',"page":"{self.station.url()}"}}')
        self.assertEqual(self.browser.wait("return [...document.querySelectorAll('a.tile')]"
                                           ".map(t => t.dataset.key).join()", 3), 'sts/west')
        self.browser.run("document.querySelector('a.tile').click()")
        self.assertEqual(self.browser.wait("return document.title == 'plant-7 - STS' && "
                                           "location.href", 3), self.station.url())


if __name__ == '__main__':
    unittest.main()
