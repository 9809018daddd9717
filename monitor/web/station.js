// The station page: the layout once, then the state from the live stream.
'use strict';

const SVG = 'http://www.w3.org/2000/svg';
const HOUR = 3600 * 1000;
// Without a message (heartbeats included) for this long the stream counts as lost.
const SILENCE_MS = 25000;

const $ = (id) => document.getElementById(id);
let layout = null;
let stream = null;
let lastMessage = 0;
let streamLost = false;
let linkDown = null; // the banner's text for a lost link, or null
let trend = {};      // quantity name -> [[ms, value], ...] of the last hour

function svg(parent, name, attributes) {
  const element = document.createElementNS(SVG, name);
  for (const [key, value] of Object.entries(attributes)) element.setAttribute(key, value);
  parent.appendChild(element);
  return element;
}

function text(parent, tag, content, className) {
  const element = document.createElement(tag);
  element.textContent = content;
  if (className) element.className = className;
  parent.appendChild(element);
  return element;
}

function drawSchematic() {
  const drawing = $('schematic');
  for (const line of layout.schematic.lines) {
    svg(drawing, 'line', {id: line.name, x1: line.x1, y1: line.y1, x2: line.x2, y2: line.y2,
                          stroke: line.colour, 'stroke-width': 60, 'stroke-linecap': 'square',
                          visibility: 'hidden'});
  }
  // The panels stand in the path and hide the lines beneath them, as in the window.
  for (const box of layout.schematic.boxes) {
    svg(drawing, 'rect', {x: box.left, y: box.top, width: box.width, height: box.height,
                          fill: '#ece9d8', stroke: '#808080', 'stroke-width': 20});
    svg(drawing, 'text', {x: box.left + box.width / 2, y: box.top + box.height / 2 + 90,
                          'font-size': 260, 'text-anchor': 'middle'}).textContent = box.title;
  }
  for (const [label, x, y] of [['Source 1', 100, 2840], ['Source 2', 100, 4100]]) {
    svg(drawing, 'text', {x, y, 'font-size': 160}).textContent = label;
  }
  for (const sw of layout.schematic.switches) {
    const g = svg(drawing, 'g', {id: sw.name});
    svg(g, 'title', {}).textContent = sw.title;
    svg(g, 'rect', {x: sw.left, y: sw.top, width: sw.width, height: sw.height,
                    fill: '#e0e0e0', stroke: '#000', 'stroke-width': 20});
    svg(g, 'line', {class: 'blade', x1: sw.left + 60, y1: sw.top + sw.height / 2,
                    x2: sw.left + sw.width - 60, y2: sw.top + sw.height / 2,
                    stroke: '#000', 'stroke-width': 50});
  }
}

function drawPanels() {
  const table = $('values');
  for (const q of layout.quantities) {
    const row = table.insertRow();
    text(row, 'td', q.title);
    text(row, 'td', '', 'value').id = 'q-' + q.name;
    text(row, 'td', q.unit);
  }
  for (const alarm of layout.alarms) text($('lamps'), 'li', alarm.caption).id = 'a-' + alarm.name;
}

function isoLocal(ms) {
  const offset = -new Date(ms).getTimezoneOffset();
  const local = new Date(ms + offset * 60000).toISOString().slice(0, 19);
  const abs = Math.abs(offset);
  const pad = (n) => String(n).padStart(2, '0');
  return local + (offset < 0 ? '-' : '+') + pad(Math.floor(abs / 60)) + ':' + pad(abs % 60);
}

async function loadTrends() {
  const now = Date.now();
  const answer = await fetch('api/v1/trends?from=' + encodeURIComponent(isoLocal(now - HOUR)) +
                            '&to=' + encodeURIComponent(isoLocal(now)));
  if (!answer.ok) return;
  const table = await answer.json();
  table.columns.slice(1).forEach((name, i) => {
    trend[name] = table.rows.map((row) => [Date.parse(row[0]), row[i + 1]]);
  });
  drawTrends();
}

function drawTrends() {
  const charts = $('charts');
  charts.textContent = '';
  const now = Date.now();
  const units = [...new Set(layout.quantities.map((q) => q.unit))];
  for (const unit of units) {
    const names = layout.quantities.filter((q) => q.unit === unit).map((q) => q.name);
    const values = names.flatMap((n) => (trend[n] || []).map((p) => p[1])).filter((v) => v !== null);
    if (values.length === 0) continue;
    const low = Math.min(...values), high = Math.max(...values, low + 1);
    text(charts, 'p', unit + ': ' + low + ' to ' + high);
    const chart = svg(charts, 'svg', {viewBox: '0 0 3600 100', preserveAspectRatio: 'none'});
    names.forEach((name, i) => {
      const points = (trend[name] || []).filter((p) => p[1] !== null && p[0] > now - HOUR)
        .map((p) => ((p[0] - now + HOUR) / 1000).toFixed(0) + ',' +
                    (95 - 90 * (p[1] - low) / (high - low)).toFixed(1));
      svg(chart, 'polyline', {points: points.join(' '), fill: 'none', 'stroke-width': 2,
                              stroke: `hsl(${i * 70}, 70%, 40%)`, 'vector-effect': 'non-scaling-stroke'});
    });
  }
}

function show(state) {
  $('station').textContent = state.station;
  document.title = state.station + ' - STS';
  const link = state.status.link;
  const since = state.link_since ? ' since ' + new Date(state.link_since).toLocaleString() : '';
  const peer = link.kind + (link.peer ? ' ' + link.peer : '');
  $('link').textContent = 'Link ' + (link.up ? 'up' : 'lost') + ' (' + peer + ')' + since;
  linkDown = link.up ? null : 'Link to the STS lost' + since + ': the values shown are old.';
  for (const [name, shown] of Object.entries(state.schematic)) {
    const element = $(name);
    if (!element) continue;
    if (element.tagName === 'g') {
      // A closed switch's blade lies along the line, an open one's is lifted.
      const blade = element.querySelector('.blade');
      const top = Number(element.querySelector('rect').getAttribute('y'));
      blade.setAttribute('y1', shown ? blade.getAttribute('y2') : top + 60);
    } else {
      element.setAttribute('visibility', shown ? 'visible' : 'hidden');
    }
  }
  const now = Date.now();
  for (const [name, value] of Object.entries(state.measurements)) {
    $('q-' + name).textContent = value === null ? '-' : value;
    (trend[name] = trend[name] || []).push([now, value]);
    while (trend[name].length && trend[name][0][0] < now - HOUR) trend[name].shift();
  }
  for (const [name, on] of Object.entries(state.status.alarms || {})) {
    $('a-' + name).classList.toggle('on', on);
  }
  const t = state.status.transfer;
  $('transfer').textContent = t ? 'Load fed by ' + (t.source ? 'source ' + t.source : 'no source') : '';
  $('faults').textContent = Object.values(state.status.faults || {}).filter((f) => f).join(' / ');
  const events = $('events');
  events.textContent = '';
  for (const e of state.events.slice().reverse()) {
    text(events, 'li', new Date(e.time).toLocaleString() + '  ' + e.code + '  ' + e.text);
  }
  showBanner();
}

function showBanner() {
  const banner = $('banner');
  const text = streamLost ? 'No connection to the station: the values shown are old. Reconnecting...'
                          : linkDown;
  banner.hidden = text === null;
  banner.textContent = text || '';
  document.body.classList.toggle('stale', text !== null);
}

function connect() {
  if (stream) stream.close();
  stream = new EventSource('api/v1/stream');
  lastMessage = Date.now();
  const heard = () => { lastMessage = Date.now(); streamLost = false; };
  stream.addEventListener('state', (e) => { heard(); show(JSON.parse(e.data)); });
  stream.addEventListener('heartbeat', () => { heard(); showBanner(); });
  stream.onerror = () => {
    streamLost = true;
    showBanner();
    // The browser retries by itself unless the answer was not a stream.
    if (stream.readyState === EventSource.CLOSED) setTimeout(connect, 3000);
  };
}

async function start() {
  try {
    layout = await (await fetch('api/v1/layout')).json();
  } catch (error) {
    streamLost = true;
    showBanner();
    setTimeout(start, 3000);
    return;
  }
  drawSchematic();
  drawPanels();
  connect();
  loadTrends();
  setInterval(() => {
    if (Date.now() - lastMessage > SILENCE_MS) {
      streamLost = true;
      showBanner();
      connect();
    }
  }, 1000);
  setInterval(drawTrends, 10000);
}

start();
