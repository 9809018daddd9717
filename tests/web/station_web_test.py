"""The station's web endpoint on sts-sim playing a black-out, then a cut line: the read API
answers as its OpenAPI file describes, and the page in headless Chromium shows the black-out's
lamp and transfer within a second of the reply, then a banner for the lost link and for the
lost stream. Usage: station_web_test.py <program dir> [screenshot.png]"""
import os
import sys
import time
import unittest
import urllib.parse

import jsonschema

from browser import Browser
from station import Station

PROGRAMS = sys.argv.pop(1)
SCREENSHOT = sys.argv.pop(1) if len(sys.argv) > 1 else None
BLACKOUT_S, CUT_S = 4, 6
SCENARIO = f'{BLACKOUT_S}s source1 blackout\n{CUT_S}s cut on\n'


def iso(seconds):
    return time.strftime('%Y-%m-%dT%H:%M:%S+00:00', time.gmtime(seconds))


def local(seconds, form):
    return time.strftime(form, time.localtime(seconds))


def setUpModule():
    global browser, station
    browser = Browser()
    station = Station(PROGRAMS, SCENARIO)


def tearDownModule():
    browser.close()
    station.close()


class StationWeb(unittest.TestCase):
    def test_1_api_answers_as_described(self):
        spec = station.get('/api/v1/openapi.json')[1]
        components = spec['components']
        for schema in components['schemas'].values():
            jsonschema.Draft202012Validator.check_schema(schema)

        def check(path, query, status):
            code, body = station.get(path + '?' + urllib.parse.urlencode(query))
            self.assertEqual(code, status, (path, query, body))
            answer = spec['paths'][path]['get']['responses'][str(status)]
            while '$ref' in answer:
                answer = components['responses'][answer['$ref'].split('/')[-1]]
            schema = dict(answer['content']['application/json']['schema'], components=components)
            jsonschema.validate(body, schema, cls=jsonschema.Draft202012Validator)
            return body

        # Files of the past: an old event and a damaged line; trend rows with a gap.
        now = time.time()
        old = now - 7200
        station.write('SERLOGS/' + local(old, '%Y-%m.TXT'), local(old, ' 100 %d-%m-%Y--%H:%M:%S')
                      + ' -Old event\r\n garbage\r\n' + station.read(
                          'SERLOGS/' + local(now, '%Y-%m.TXT')) * (local(old, '%m') == local(now, '%m')))
        row = ',230,231,232,229,228,227,50.0,49.9,40,41,42,60,61,62,30,2'
        station.write('TRENDS/' + local(old, '%Y-%m-%d.csv'),
                      'Time' + ',x' * 16 + '\r\n' + iso(old) + row +
                      '\r\n' + iso(old + 10) + ',,,,,,,,,,,,,,,,\r\nbroken,1\r\n')
        for path in ('/api/v1/status', '/api/v1/measurements', '/api/v1/layout'):
            check(path, {}, 200)
        events = check('/api/v1/events', {'from': iso(old - 60), 'to': iso(old + 60)}, 200)
        self.assertEqual([(e['code'], e['text']) for e in events], [(100, '-Old event')])
        events = check('/api/v1/events', {'from': iso(now - 60), 'to': iso(now + 60)}, 200)
        self.assertIn('Program start', [e['text'] for e in events])
        trends = check('/api/v1/trends', {'from': iso(old - 5), 'to': iso(old + 5)}, 200)
        self.assertEqual(trends['rows'][0][1:4] + trends['rows'][0][7:9], [230, 231, 232, 50, 49.9])
        self.assertEqual(len(trends['rows']), 1)
        gap = check('/api/v1/trends', {'from': iso(old + 5), 'to': iso(old + 15)}, 200)
        self.assertEqual(gap['rows'][0][1:], [None] * 16)
        for path, query in [('/api/v1/events', {'from': iso(now), 'to': iso(now - 1)}),
                            ('/api/v1/events', {'from': 'yesterday', 'to': iso(now)}),
                            ('/api/v1/trends', {'from': iso(now - 90000), 'to': iso(now)}),
                            ('/api/v1/trends', {})]:
            check(path, query, 400)

    def test_2_page_shows_blackout_and_lost_link_and_lost_stream(self):
        if SCREENSHOT:  # an hour behind the picture's trends
            now = int(time.time())
            station.write('TRENDS/' + local(now, '%Y-%m-%d.csv'), ''.join(
                iso(now - s) + f',{230 + s // 400},230,231,229,{228 + s // 600},231,50.0,49.9,'
                f'{40 + s // 300},41,{44 - s // 900},60,61,62,{30 + s // 600},2\r\n'
                for s in range(3600, 0, -10)))
        browser.open(station.url('/'))
        self.assertTrue(browser.wait("return document.getElementById('link').textContent"
                                     ".startsWith('Link up')"), 'the page shows no state')
        lit = browser.run("return ['Line1', 'Line2'].filter(n => document.getElementById(n)"
                          ".getAttribute('visibility') == 'visible')")
        self.assertEqual(len(lit), 1)
        browser.run("""window.seen = {};
            const lamp = document.getElementById('a-s1_blackout');
            new MutationObserver(() => {
              if (lamp.classList.contains('on')) seen.lamp = seen.lamp || Date.now();
              if (document.getElementById(arguments[0]).getAttribute('visibility') == 'hidden')
                seen.path = seen.path || Date.now();
            }).observe(document.body, {subtree: true, attributes: true});""", lit[0])
        seen = browser.wait('return seen.lamp && seen.path && seen', BLACKOUT_S + 2)
        self.assertTrue(seen, 'no black-out on the page')
        status = station.replies('SAS')
        changed = next(at for (at, text), (_, before) in zip(status[1:], status)
                       if text != before and at > station.started + BLACKOUT_S - 1)
        for what in ('lamp', 'path'):
            delay = seen[what] / 1000 - changed
            print(f'{what} changed {delay * 1000:.0f} ms after the reply')
            self.assertLess(delay, 1.0, what)
        if SCREENSHOT:
            time.sleep(1)  # every panel's next reply
            browser.screenshot(SCREENSHOT)
        banner = browser.wait("const b = document.getElementById('banner');"
                              "return !b.hidden && b.textContent", CUT_S - BLACKOUT_S + 5)
        self.assertTrue(banner and banner.startswith('Link to the STS lost'), banner)
        station.monitor.terminate()
        banner = browser.wait("const b = document.getElementById('banner');"
                              "return b.textContent.startsWith('No connection') && b.textContent")
        self.assertTrue(banner, 'no banner once the stream is gone')


if __name__ == '__main__':
    unittest.main()
