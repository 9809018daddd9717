// The fleet board: the station sends the whole board on its stream at every
// change; ages are counted here against the station's clock.
"use strict";
const stateText = { red: "Alarm", nolink: "Link lost", offline: "Offline", unknown: "Waiting for its status", green: "Normal" };
const countText = { red: "alarm", nolink: "link lost", offline: "offline", unknown: "waiting", green: "normal" };
let board = null, clockOffset = 0, streamUp = false, heard = 0;

function clock(seconds) {
  return new Date(seconds * 1000).toLocaleTimeString([], { hour: "2-digit", minute: "2-digit" });
}
function age(seconds) {
  const s = Math.max(0, Math.round(Date.now() / 1000 + clockOffset - seconds));
  if (s < 60) return s + " s ago";
  if (s < 3600) return Math.floor(s / 60) + " min ago";
  if (s < 172800) return Math.floor(s / 3600) + " h ago";
  return Math.floor(s / 86400) + " days ago";
}
function line(parent, cls, text) {
  const p = document.createElement("p");
  p.className = cls;
  p.textContent = text;
  parent.append(p);
}
function tile(st) {
  // Only the station's own http(s) address becomes a link (checked there too).
  const link = st.page && /^https?:\/\//.test(st.page);
  const el = document.createElement(link ? "a" : "div");
  if (link) el.href = st.page;
  el.className = "tile " + st.state;
  el.dataset.key = st.key;
  el.dataset.state = st.state;
  const h = document.createElement("h2");
  h.textContent = st.name;
  el.append(h);
  let state = stateText[st.state];
  if (st.online !== null && (st.state === "offline" || st.sinceKnown))
    state += (st.online ? ", online " : " ") + (st.sinceKnown ? "since " : "before ") + clock(st.since);
  line(el, "state", state);
  if (st.link !== undefined) {
    line(el, "link", st.link + (st.linkUp ? "" : " (no reply)") + (st.feed ? " \u00b7 Load on " + st.feed : ""));
    if (st.alarms > 0) line(el, "alarm", st.alarm + (st.alarms > 1 ? " and " + (st.alarms - 1) + " more" : ""));
  }
  if (st.event) line(el, "event", st.event.text + " \u00b7 " + age(st.event.at));
  return el;
}
function draw() {
  if (!board) return;
  const counts = {};
  for (const st of board.stations) counts[st.state] = (counts[st.state] || 0) + 1;
  document.getElementById("summary").textContent = board.stations.length + " stations" +
    Object.keys(stateText).filter(s => counts[s]).map(s => ", " + counts[s] + " " + countText[s]).join("");
  document.getElementById("tiles").replaceChildren(...board.stations.map(tile));
  const note = document.getElementById("note");
  note.textContent = board.note;
  note.hidden = !board.note;
  const banner = document.getElementById("banner");
  banner.textContent = !streamUp ? "No connection to the station: the board is not current. Reconnecting\u2026"
    : !board.connected ? "The station has no connection to the broker" +
      (board.lostAt ? " since " + clock(board.lostAt) : "") + ": the tiles may be stale."
    : "";
  banner.hidden = !banner.textContent;
  document.body.classList.toggle("stale", !streamUp || !board.connected);
}
const stream = new EventSource("/api/v1/fleet/stream");
stream.addEventListener("board", e => {
  board = JSON.parse(e.data);
  clockOffset = board.now - Date.now() / 1000;
  streamUp = true;
  heard = Date.now();
  draw();
});
// The station sends a heartbeat every 10 s: a silent stream is a lost one.
stream.addEventListener("heartbeat", () => { heard = Date.now(); });
stream.onerror = () => { streamUp = false; draw(); };
setInterval(() => {
  if (streamUp && Date.now() - heard > 25000) streamUp = false;
  draw();
}, 1000);
