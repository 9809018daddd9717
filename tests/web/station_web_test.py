"""The station's web endpoint on sts-sim playing a black-out, then a cut line: its read API
against its OpenAPI file; the page in headless Chromium shows the black-out within a second of the
reply, then the banners of a lost link and a lost stream. Args: <program dir> [screenshot.png]"""
import http.client
import json
import sys
import time
import urllib.parse
import urllib.request

import jsonschema

from browser import Browser
from station import Station

PROGRAMS = sys.argv.pop(1)
SCREENSHOT = sys.argv.pop(1) if len(sys.argv) > 1 else None
# The black-out comes once the API is checked and the page watches, even on a loaded machine.
BLACKOUT_S, CUT_S = 8, 9
SCENARIO = f'{BLACKOUT_S}s source1 blackout\n{CUT_S}s cut on\n'
BANNER = "document.getElementById('banner').textContent"  # empty while hidden


def iso(seconds):
    return time.strftime('%Y-%m-%dT%H:%M:%S+00:00', time.gmtime(seconds))


def local(seconds, form):
    return time.strftime(form, time.localtime(seconds))


def api_answers_as_described(station):
    described = station.get('/api/v1/openapi.json')[1]
    components = described['components']
    for schema in components['schemas'].values():
        jsonschema.Draft202012Validator.check_schema(schema)

    def check(path, query, status):
        code, body = station.get(path + '?' + urllib.parse.urlencode(query))
        assert code == status, (path, query, body)
        answer = described['paths'][path]['get']['responses'][str(status)]
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
    assert [(e['code'], e['text']) for e in events] == [(100, '-Old event')], events
    events = check('/api/v1/events', {'from': iso(now - 60), 'to': iso(now + 60)}, 200)
    assert 'Program start' in [e['text'] for e in events], events
    trends = check('/api/v1/trends', {'from': iso(old - 5), 'to': iso(old + 5)}, 200)
    assert [row[1:4] + row[7:9] for row in trends['rows']] == [[230, 231, 232, 50, 49.9]]
    gap = check('/api/v1/trends', {'from': iso(old + 5), 'to': iso(old + 15)}, 200)
    assert gap['rows'][0][1:] == [None] * 16, gap
    for path, query in [('/api/v1/events', {'from': iso(now), 'to': iso(now - 1)}),
                        ('/api/v1/events', {'from': 'yesterday', 'to': iso(now)}),
                        ('/api/v1/trends', {'from': iso(now - 90000), 'to': iso(now)}),
                        ('/api/v1/trends', {})]:
        check(path, query, 400)
    rebound = http.client.HTTPConnection('127.0.0.1', station.port, timeout=5)
    rebound.request('GET', '/api/v1/status', headers={'Host': 'rebound.example'})
    assert rebound.getresponse().status == 403, 'served to a name that merely leads here'
    with urllib.request.urlopen(station.url('/api/v1/stream'), timeout=5) as stream:
        retry, _, event, data = (stream.readline() for _ in range(4))
    assert (retry, event) == (b'retry: 1000\n', b'event: state\n'), (retry, event)
    jsonschema.validate(json.loads(data[len('data: '):]), dict(components['schemas']['State'],
                        components=components), cls=jsonschema.Draft202012Validator)


def page_shows_blackout_and_lost_link_and_lost_stream(station, browser):
    browser.open(station.url('/'))
    assert browser.wait("return document.getElementById('link').textContent"
                        ".startsWith('Link up')"), 'the page shows no state'
    lit = browser.run("return ['Line1', 'Line2'].filter(n => document.getElementById(n)"
                      ".getAttribute('visibility') == 'visible')")
    assert len(lit) == 1, lit
    browser.run("""window.seen = {};
        const lamp = document.getElementById('a-s1_blackout');
        new MutationObserver(() => {
          if (lamp.classList.contains('on')) seen.lamp = seen.lamp || Date.now();
          if (document.getElementById(arguments[0]).getAttribute('visibility') == 'hidden')
            seen.path = seen.path || Date.now();
        }).observe(document.body, {subtree: true, attributes: true});""", lit[0])
    seen = browser.wait('return seen.lamp && seen.path && seen', BLACKOUT_S + 2)
    assert seen, 'no black-out on the page'
    status = station.replies('SAS')
    changed = next(at for (at, text), (_, before) in zip(status[1:], status)
                   if text != before and at > station.started + BLACKOUT_S - 1)
    for what in ('lamp', 'path'):
        delay = seen[what] / 1000 - changed
        print(f'{what} changed {delay * 1000:.0f} ms after the reply')
        assert delay < 1.0, what
    if SCREENSHOT:
        time.sleep(1)  # every panel's next reply
        browser.screenshot(SCREENSHOT)
    banner = browser.wait(f'return {BANNER}', CUT_S - BLACKOUT_S + 5)
    assert banner and banner.startswith('Link to the STS lost'), banner
    station.monitor.terminate()
    assert browser.wait(f"return {BANNER}.startsWith('No connection')"), 'no banner without stream'
    station.start_monitor()  # the page finds it again by itself
    assert browser.wait(f"return !{BANNER}.startsWith('No connection')"), 'no reconnection'


browser, station = Browser(), Station(PROGRAMS, SCENARIO)
try:
    api_answers_as_described(station)
    page_shows_blackout_and_lost_link_and_lost_stream(station, browser)
finally:
    browser.close()
    station.close()
