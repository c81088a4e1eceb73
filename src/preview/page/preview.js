// The preview page: shows the state the server sends over Server-Sent Events
// (the drawing, the faults, the figures, the running times), zooms the
// profile along the km like a map (the server draws the visible stretch
// anew), and keeps the zoom and the chosen fault in the address.
'use strict';

const SVG_NS = 'http://www.w3.org/2000/svg';
const MIN_ZOOM = 1 / 400;  // narrowest plan view, as a share of the whole plan
const MAX_ZOOM = 2;
const MIN_WINDOW_M = 100;  // the narrowest stretch of the profile
const WHEEL_RATE = 0.0015;

let current = null;  // the last state received
let chosenFault = null;  // the text of the fault whose place is marked
// The stretch of the route the profile shows, in metres; null: the whole route.
let profileWindow = null;
let windowRequest = null;  // the stretch asked of the server and not yet answered

// ---------------------------------------------------------------------------
// The address keeps the profile's stretch, the chosen fault and the time the
// slider was set to: #from=METRES&to=METRES&fault=TEXT&time=SECONDS.

function readAddress() {
  const params = new URLSearchParams(location.hash.slice(1));
  const from = Number(params.get('from'));
  const to = Number(params.get('to'));
  if (params.has('from') && params.has('to') && Number.isFinite(from) && Number.isFinite(to) && to > from) {
    profileWindow = { from, to };
  }
  chosenFault = params.get('fault');
  const time = Number(params.get('time'));
  if (params.has('time') && Number.isFinite(time)) {
    clockValue = time;
    clockChosen = true;
  }
}

function writeAddress() {
  const params = new URLSearchParams();
  if (profileWindow) {
    params.set('from', String(Math.round(profileWindow.from)));
    params.set('to', String(Math.round(profileWindow.to)));
  }
  if (chosenFault) params.set('fault', chosenFault);
  if (clockChosen && clockValue !== null) params.set('time', String(Math.round(clockValue)));
  const hash = params.toString();
  history.replaceState(null, '', hash ? `#${hash}` : location.pathname + location.search);
}

// ---------------------------------------------------------------------------
// Views: a part of the drawing (one group of the plot's SVG) in its own <svg>.

function makeView(elementId, groupId) {
  return { svg: document.getElementById(elementId), groupId, home: null, box: null, moved: false };
}

const views = {
  profile: makeView('profile-view', 'profile'),
  plan: makeView('plan-view', 'plan'),
  legend: makeView('legend-view', 'legend'),
  graph: makeView('graph-view', 'graph'),
};

function setBox(view, box) {
  if (!box) return;
  view.box = box;
  view.svg.setAttribute('viewBox', `${box.x} ${box.y} ${box.w} ${box.h}`);
}

function toDrawing(view, clientX, clientY) {
  const point = new DOMPoint(clientX, clientY);
  const matrix = view.svg.getScreenCTM();
  return matrix ? point.matrixTransform(matrix.inverse()) : point;
}

// Drawing units per screen pixel.
function unitsPerPixel(view) {
  const matrix = view.svg.getScreenCTM();
  return matrix && matrix.a ? 1 / matrix.a : 1;
}

// Puts `group` (an element of a parsed drawing) in the view, in place of
// what it showed; fits the view to it unless the author moved it.
function showGroup(view, group, fontFamily) {
  view.svg.replaceChildren();
  if (group) view.svg.appendChild(document.importNode(group, true));
  viewChanged(view, Boolean(group), fontFamily);
}

function viewChanged(view, shown, fontFamily) {
  view.svg.classList.remove('stale');
  if (!shown) return;
  view.svg.setAttribute('font-family', fontFamily || 'sans-serif');
  view.home = view === views.profile && current && current.axis ? profileFrame(current.axis) : fitted(view);
  if (!view.moved || !view.box) setBox(view, view.home);
}

// The box around what the view holds, with a little room.
function fitted(view) {
  const box = view.svg.firstElementChild.getBBox();
  const pad = Math.max(box.width, box.height) * 0.02;
  return { x: box.x - pad, y: box.y - pad, w: box.width + 2 * pad, h: box.height + 2 * pad };
}

// The profile keeps one frame at every zoom: the page's width, from the
// stations' names to the km axes.
function profileFrame(axis) { return { x: 0, y: axis.top, w: axis.width, h: axis.bottom - axis.top }; }

function parseDrawing(svgText) {
  const drawing = new DOMParser().parseFromString(svgText, 'image/svg+xml');
  return drawing.querySelector('parsererror') ? null : drawing;
}

// ---------------------------------------------------------------------------
// The drawing arrives in pieces: each state names the pieces of each group
// of the drawing (a tree whose leaves are runs of elements, each named by a
// hash of its text), and its larger parts (faults, figures, running times)
// by the hash of their text. The page fetches the pieces it does not hold
// and changes only what changed; the rest stays as drawn.

const pieceTexts = new Map();  // the text of each piece of the state shown, by its key
const partValues = new Map();  // the parts of the state shown, read, by their keys
const MAX_KEYS_ASKED = 100;  // more: all the drawing's runs are asked for at once

function leafKeys(node, into) {
  if (node.g) for (const child of node.c) leafKeys(child, into);
  else into.add(node.k);
  return into;
}

// Fetches the pieces of `keys` the page does not hold; false when some
// could not be had (the server has published twice since): the next state
// brings them.
async function fetchPieces(keys) {
  const missing = [...keys].filter((key) => !pieceTexts.has(key));
  if (missing.length === 0) return true;
  const query = missing.length > MAX_KEYS_ASKED ? '' : `?keys=${missing.join(',')}`;
  const answer = await fetch(`/pieces${query}`);
  if (!answer.ok) return false;
  for (const [key, text] of Object.entries(await answer.json())) pieceTexts.set(key, text);
  return missing.every((key) => pieceTexts.has(key));
}

// The element for a node: a group with its children, or a run in a group of its own.
function buildPiece(node) {
  const holder = document.createElementNS(SVG_NS, 'g');
  if (!node.g) {
    holder.innerHTML = pieceTexts.get(node.k);
    holder.piece = node.k;
    return holder;
  }
  holder.innerHTML = `${node.g}</g>`;
  const group = holder.firstElementChild;
  group.opening = node.g;
  reconcile(group, node.c);
  group.piece = node.k;
  return group;
}

// Makes the pieces among `parent`'s children those of `nodes`, in order:
// a piece already there is kept as it is drawn, a group whose start tag is
// unchanged is brought up to date within, the rest is built or removed.
// Children that are no pieces (the marks of a fault) are left alone.
function reconcile(parent, nodes) {
  const existing = [...parent.children].filter((child) => child.piece);
  const wanted = new Set(nodes.map((node) => node.k));
  let i = 0;
  for (const node of nodes) {
    while (i < existing.length && !wanted.has(existing[i].piece) && !(node.g && existing[i].opening === node.g)) {
      existing[i++].remove();
    }
    const here = existing[i];
    if (here && here.piece === node.k) {
      ++i;
    } else if (here && node.g && here.opening === node.g && !wanted.has(here.piece)) {
      reconcile(here, node.c);
      here.piece = node.k;
      ++i;
    } else {
      parent.insertBefore(buildPiece(node), here ?? null);
    }
  }
  for (; i < existing.length; ++i) existing[i].remove();
}

function drawingGroup(state, id) { return state.drawing && state.drawing.groups[id]; }

function showPieces(view, node, font) {
  if (!node) {
    view.svg.replaceChildren();
    return;
  }
  const root = [...view.svg.children].find((child) => child.piece);
  if (root && root.piece === node.k) return viewChanged(view, false);
  if (!root) view.svg.replaceChildren();
  reconcile(view.svg, [node]);
  viewChanged(view, true, font);
}

function showDrawing(state) {
  if (!state.drawing) {
    for (const view of Object.values(views)) view.svg.classList.add('stale');
    return;
  }
  for (const view of Object.values(views)) {
    if (view === views.profile && profileWindow) continue;  // its stretch comes from the server
    showPieces(view, drawingGroup(state, view.groupId), state.drawing.font);
  }
  for (const view of [views.profile, views.plan]) view.svg.classList.toggle('partial', Boolean(state.partial));
}

// ---------------------------------------------------------------------------
// The plan: zoomed and panned through its viewBox, as a picture.

function zoomPlanAt(event) {
  const view = views.plan;
  event.preventDefault();
  if (!view.box || !view.home) return;
  const wanted = Math.exp(event.deltaY * WHEEL_RATE);
  const width = Math.min(Math.max(view.box.w * wanted, view.home.w * MIN_ZOOM), view.home.w * MAX_ZOOM);
  const factor = width / view.box.w;
  const p = toDrawing(view, event.clientX, event.clientY);
  view.moved = true;
  setBox(view, {
    x: p.x - (p.x - view.box.x) * factor,
    y: p.y - (p.y - view.box.y) * factor,
    w: view.box.w * factor,
    h: view.box.h * factor,
  });
}

function dragPlan(event) {
  const view = views.plan;
  if (event.button !== 0 || !view.box) return;
  const scale = unitsPerPixel(view);
  const start = { x: event.clientX, y: event.clientY, box: view.box };
  followDrag(view, event, (e) => {
    view.moved = true;
    setBox(view, { ...start.box, x: start.box.x - (e.clientX - start.x) * scale, y: start.box.y - (e.clientY - start.y) * scale });
  });
}

function followDrag(view, event, move) {
  view.svg.setPointerCapture(event.pointerId);
  view.svg.classList.add('dragging');
  const end = () => {
    view.svg.classList.remove('dragging');
    view.svg.removeEventListener('pointermove', move);
    view.svg.removeEventListener('pointerup', end);
    view.svg.removeEventListener('pointercancel', end);
  };
  view.svg.addEventListener('pointermove', move);
  view.svg.addEventListener('pointerup', end);
  view.svg.addEventListener('pointercancel', end);
}

views.plan.svg.addEventListener('wheel', zoomPlanAt, { passive: false });
views.plan.svg.addEventListener('pointerdown', dragPlan);
views.plan.svg.addEventListener('dblclick', () => { views.plan.moved = false; setBox(views.plan, views.plan.home); });

// ---------------------------------------------------------------------------
// The profile: zoomed along the km only. The server draws the stretch shown
// with its axes, names and lanes laid out for it.

function routeEnd() { return current && current.axis ? Math.max(current.axis.end_m, 1) : 1; }

function shownStretch() { return profileWindow ?? { from: 0, to: routeEnd() }; }

// The stretch `wanted`, kept within the route and no narrower than the narrowest.
function withinRoute(wanted) {
  const end = routeEnd();
  let width = Math.min(Math.max(wanted.to - wanted.from, Math.min(MIN_WINDOW_M, end)), end);
  let from = Math.min(Math.max(wanted.from, 0), end - width);
  if (width >= end) { from = 0; width = end; }
  return { from, to: from + width };
}

function setProfileWindow(wanted) {
  const stretch = withinRoute(wanted);
  profileWindow = stretch.from <= 0 && stretch.to >= routeEnd() ? null : stretch;
  writeAddress();
  showWindowText();
  if (!profileWindow) {
    delete views.profile.svg.dataset.from;
    delete views.profile.svg.dataset.to;
    if (current && current.drawing) {
      views.profile.svg.replaceChildren();
      showPieces(views.profile, drawingGroup(current, 'profile'), current.drawing.font);
      markChosen();
      markClock();
    }
    return;
  }
  requestWindow();
}

function showWindowText() {
  const stretch = shownStretch();
  document.getElementById('window').textContent =
    profileWindow ? `km ${km(stretch.from)} to ${km(stretch.to)}` : 'the whole route';
}

// Asks the server for the stretch shown; one request at a time, the newest
// stretch asked for once the last is answered.
async function requestWindow() {
  if (windowRequest || !profileWindow || !current) return;
  const asked = { ...profileWindow, generation: current.generation };
  windowRequest = asked;
  try {
    const answer = await fetch(`/window?from_m=${Math.round(asked.from)}&to_m=${Math.round(asked.to)}`);
    if (answer.ok) showWindow(await answer.json());
  } catch (error) {
    // The connection is lost: the status says so, and the next state asks again.
  } finally {
    windowRequest = null;
  }
  const now = profileWindow;
  if (now && current && (Math.round(now.from) !== Math.round(asked.from) || Math.round(now.to) !== Math.round(asked.to) ||
      current.generation !== asked.generation)) {
    requestWindow();
  }
}

function showWindow(answer) {
  if (!profileWindow || !answer.svg || (current && answer.generation !== current.generation)) return;
  const drawing = parseDrawing(answer.svg);
  if (!drawing) return;
  showGroup(views.profile, drawing.getElementById('profile'), drawing.documentElement.getAttribute('font-family'));
  views.profile.svg.dataset.from = answer.from_m;
  views.profile.svg.dataset.to = answer.to_m;
  markChosen();
  markClock();
}

// The route position under a point of the profile's drawing.
function positionAt(x) {
  const axis = current.axis;
  const stretch = shownStretch();
  return stretch.from + ((x - axis.x0) / (axis.x1 - axis.x0)) * (stretch.to - stretch.from);
}

function xOf(position) {
  const axis = current.axis;
  const stretch = shownStretch();
  return axis.x0 + ((position - stretch.from) / (stretch.to - stretch.from)) * (axis.x1 - axis.x0);
}

function zoomProfile(factor, anchor) {
  if (!current || !current.axis) return;
  const stretch = shownStretch();
  const at = anchor ?? (stretch.from + stretch.to) / 2;
  setProfileWindow({ from: at - (at - stretch.from) * factor, to: at + (stretch.to - at) * factor });
}

function panProfile(share) {
  const stretch = shownStretch();
  const shift = (stretch.to - stretch.from) * share;
  setProfileWindow({ from: stretch.from + shift, to: stretch.to + shift });
}

// Centres the profile on `position`, keeping its width (a whole-route view
// is narrowed to a tenth of the route first).
function centreProfileOn(position) {
  const stretch = shownStretch();
  const width = profileWindow ? stretch.to - stretch.from : Math.max(routeEnd() / 10, MIN_WINDOW_M);
  setProfileWindow({ from: position - width / 2, to: position + width / 2 });
}

views.profile.svg.addEventListener('wheel', (event) => {
  event.preventDefault();
  if (!current || !current.axis) return;
  const p = toDrawing(views.profile, event.clientX, event.clientY);
  zoomProfile(Math.exp(event.deltaY * WHEEL_RATE), positionAt(p.x));
}, { passive: false });

views.profile.svg.addEventListener('pointerdown', (event) => {
  const view = views.profile;
  if (event.button !== 0 || !current || !current.axis) return;
  const start = { x: event.clientX, stretch: shownStretch() };
  const metresPerPixel = unitsPerPixel(view) * (start.stretch.to - start.stretch.from) / (current.axis.x1 - current.axis.x0);
  followDrag(view, event, (e) => {
    const shift = -(e.clientX - start.x) * metresPerPixel;
    setProfileWindow({ from: start.stretch.from + shift, to: start.stretch.to + shift });
  });
});

views.profile.svg.addEventListener('dblclick', () => setProfileWindow({ from: 0, to: routeEnd() }));

const ZOOM_STEP = 1.5;

// Keys for the profile, anywhere on the page but in a text field.
document.addEventListener('keydown', (event) => {
  if (event.target.closest('input, textarea, select') || event.ctrlKey || event.metaKey || event.altKey) return;
  const actions = {
    '+': () => zoomProfile(1 / ZOOM_STEP),
    '=': () => zoomProfile(1 / ZOOM_STEP),
    '-': () => zoomProfile(ZOOM_STEP),
    '_': () => zoomProfile(ZOOM_STEP),
    ArrowLeft: () => panProfile(-0.25),
    ArrowRight: () => panProfile(0.25),
    0: () => setProfileWindow({ from: 0, to: routeEnd() }),
    Home: () => setProfileWindow({ from: 0, to: routeEnd() }),
  };
  const action = actions[event.key];
  if (!action) return;
  event.preventDefault();
  action();
});

document.getElementById('zoom-in').addEventListener('click', () => zoomProfile(1 / ZOOM_STEP));
document.getElementById('zoom-out').addEventListener('click', () => zoomProfile(ZOOM_STEP));
document.getElementById('zoom-reset').addEventListener('click', () => setProfileWindow({ from: 0, to: routeEnd() }));
document.getElementById('zoom').addEventListener('submit', (event) => {
  event.preventDefault();
  const message = document.getElementById('zoom-message');
  const text = document.getElementById('goto-km').value.trim().replace(',', '.');
  const value = Number(text);
  const endKm = routeEnd() / 1000;
  if (!/^[0-9]*\.?[0-9]+$/.test(text) || !Number.isFinite(value) || value > endKm) {
    message.textContent = `give a km from 0 to ${endKm.toFixed(3)}`;
    return;
  }
  message.textContent = '';
  centreProfileOn(value * 1000);
});

// ---------------------------------------------------------------------------
// The place of a fault: a band across the profile and across the
// time-distance graph, a ring on the plan. A view that does not show the
// place is moved to it, keeping its zoom.

function centrePlanOn(x, y) {
  const view = views.plan;
  const box = { ...view.box };
  if (x < box.x || x > box.x + box.w) box.x = x - box.w / 2;
  if (y < box.y || y > box.y + box.h) box.y = y - box.h / 2;
  setBox(view, box);
}

function markProfile(positionM) {
  const view = views.profile;
  if (!current || !current.axis || positionM === null || positionM === undefined || !view.home) return;
  const stretch = shownStretch();
  if (profileWindow && (positionM < stretch.from || positionM > stretch.to)) {
    centreProfileOn(positionM);  // marked when the stretch arrives
    return;
  }
  const x = xOf(positionM);
  const mark = document.createElementNS(SVG_NS, 'rect');
  const width = Math.max(view.box.w / 250, 0.15);
  mark.setAttribute('id', 'fault-place');
  mark.setAttribute('x', x - width / 2);
  mark.setAttribute('y', view.home.y);
  mark.setAttribute('width', width);
  mark.setAttribute('height', view.home.h);
  mark.setAttribute('fill', '#e00');
  mark.setAttribute('fill-opacity', '0.45');
  view.svg.appendChild(mark);
}

function markPlan(point) {
  const view = views.plan;
  if (!point || !Number.isFinite(point.x) || !Number.isFinite(point.y) || !view.home) return;
  const ring = document.createElementNS(SVG_NS, 'circle');
  ring.setAttribute('id', 'fault-place-plan');
  ring.setAttribute('cx', point.x);
  ring.setAttribute('cy', point.y);
  ring.setAttribute('r', Math.max(view.box.w / 60, 0.3));
  ring.setAttribute('fill', 'none');
  ring.setAttribute('stroke', '#e00');
  ring.setAttribute('stroke-width', Math.max(view.box.w / 300, 0.1));
  view.svg.appendChild(ring);
  centrePlanOn(point.x, point.y);
}

// The place of a fault on the time-distance graph: a band across it.
function markGraph(y) {
  const view = views.graph;
  if (y === null || y === undefined || !Number.isFinite(y) || !view.home) return;
  const height = Math.max(view.home.h / 300, 0.3);
  view.svg.appendChild(svgElement('rect', {
    id: 'fault-place-graph', x: view.home.x, y: y - height / 2, width: view.home.w, height,
    fill: '#e00', 'fill-opacity': '0.45',
  }));
}

function faultNamed(text) {
  if (!current || !text) return null;
  for (const fault of current.faults) {
    if (fault.text === text) return fault;
    const note = fault.notes.find((n) => n.text === text);
    if (note) return note;
  }
  return null;
}

function markChosen() {
  views.profile.svg.querySelector('#fault-place')?.remove();
  views.plan.svg.querySelector('#fault-place-plan')?.remove();
  views.graph.svg.querySelector('#fault-place-graph')?.remove();
  const fault = faultNamed(chosenFault);
  if (!fault) return;
  markProfile(fault.position_m);
  markPlan(fault.plan_point);
  markGraph(fault.graph_y);
}

function choose(fault) {
  chosenFault = fault.text;
  for (const other of document.querySelectorAll('#faults a.chosen')) other.classList.remove('chosen');
  for (const link of document.querySelectorAll('#faults a.fault')) {
    if (link.textContent === fault.text) link.classList.add('chosen');
  }
  writeAddress();
  markChosen();
}

// ---------------------------------------------------------------------------
// The time slider: the train's place at a time of day, which the server
// works out from the run it drew, marked on the profile, the plan and the
// graph: the fastest run solid and blue, the timetable dashed and black.

const RUN_COLOUR = '#2166ac';
let clockValue = null;  // the time chosen, seconds since midnight; null: none yet
let clockChosen = false;  // the author moved the slider (or the address set it): the address keeps it
let clockPlace = null;  // the server's answer for it
let clockRequest = null;  // the time asked of the server and not yet answered

function showClock(state) {
  const slider = document.getElementById('clock');
  const clock = state.clock;
  document.getElementById('clock-bar').hidden = !clock;
  document.getElementById('clock-key').hidden = !clock;
  if (!clock) {
    clockPlace = null;
    markClock();
    return;
  }
  slider.min = String(Math.floor(clock.first_s));
  slider.max = String(Math.ceil(clock.last_s));
  clockValue = Math.min(Math.max(clockValue ?? clock.first_s, clock.first_s), clock.last_s);
  if (document.activeElement !== slider) slider.value = String(clockValue);
  requestPlace();
}

// Asks the server where the train is at the time chosen; one request at a
// time, the newest time asked for once the last is answered.
async function requestPlace() {
  if (clockRequest || clockValue === null || !current || !current.clock) return;
  const asked = { value: clockValue, generation: current.generation };
  clockRequest = asked;
  try {
    const answer = await fetch(`/position?clock_s=${asked.value}`);
    clockPlace = answer.ok ? await answer.json() : null;
  } catch (error) {
    clockPlace = null;  // the connection is lost: the status says so
  } finally {
    clockRequest = null;
  }
  if (current && (clockValue !== asked.value || current.generation !== asked.generation)) {
    requestPlace();
    return;
  }
  showPlaceText();
  markClock();
}

function showPlaceText() {
  const slider = document.getElementById('clock');
  const place = clockPlace;
  document.getElementById('clock-text').textContent = place ? place.clock : '';
  slider.setAttribute('aria-valuetext', place ? place.clock : '');
  const parts = [];
  if (place && place.run) parts.push(`fastest run at km ${km(place.run.position_m)}, ${Math.round(place.run.speed_kmh)} km/h`);
  else if (place) parts.push('fastest run: none at this time');
  if (place && place.timetable) parts.push(`timetable at km ${km(place.timetable.position_m)}`);
  document.getElementById('clock-places').textContent = parts.join(' · ');
}

function svgElement(tag, attributes) {
  const node = document.createElementNS(SVG_NS, tag);
  for (const [name, value] of Object.entries(attributes)) node.setAttribute(name, value);
  return node;
}

// A mark of each kind in the view's own group of marks.
function clockGroup(view) {
  view.svg.querySelector(':scope > .clock-marks')?.remove();
  const group = svgElement('g', { class: 'clock-marks' });
  view.svg.appendChild(group);
  return group;
}

function runDot(id, point, r) {
  return svgElement('circle', { id, cx: point.x, cy: point.y, r, fill: RUN_COLOUR, stroke: '#fff', 'stroke-width': r / 4 });
}

function timetableDiamond(id, point, r) {
  return svgElement('rect', {
    id, x: point.x - r * 0.7, y: point.y - r * 0.7, width: r * 1.4, height: r * 1.4, fill: '#fff', stroke: '#000',
    'stroke-width': r / 4, transform: `rotate(45 ${point.x} ${point.y})`,
  });
}

function markClockProfile(place) {
  const view = views.profile;
  if (!view.home || !current || !current.axis) return;
  const group = clockGroup(view);
  const stretch = shownStretch();
  const width = Math.max(view.box.w / 500, 0.1);
  const line = (id, position, stroke, dash) => {
    if (position < stretch.from || position > stretch.to) return;
    const x = xOf(position);
    group.appendChild(svgElement('line', {
      id, x1: x, y1: view.home.y, x2: x, y2: view.home.y + view.home.h, stroke, 'stroke-width': width,
      ...(dash ? { 'stroke-dasharray': `${width * 4} ${width * 3}` } : {}),
    }));
  };
  if (place.timetable) line('clock-timetable-profile', place.timetable.position_m, '#000', true);
  if (place.run) line('clock-run-profile', place.run.position_m, RUN_COLOUR, false);
}

function markClockPlan(place) {
  const view = views.plan;
  if (!view.box) return;
  const group = clockGroup(view);
  const r = Math.max(view.box.w / 90, 0.25);
  if (place.timetable && place.timetable.plan_point) group.appendChild(timetableDiamond('clock-timetable-plan', place.timetable.plan_point, r));
  if (place.run && place.run.plan_point) group.appendChild(runDot('clock-run-plan', place.run.plan_point, r));
}

function markClockGraph(place) {
  const view = views.graph;
  if (!view.home) return;
  const group = clockGroup(view);
  const r = Math.max(view.home.w / 250, 0.4);
  const at = (place.run ?? place.timetable)?.graph_point;
  if (at) {
    group.appendChild(svgElement('line', {
      id: 'clock-time-graph', x1: at.x, y1: view.home.y, x2: at.x, y2: view.home.y + view.home.h,
      stroke: '#595959', 'stroke-width': r / 4,
    }));
  }
  if (place.timetable) group.appendChild(timetableDiamond('clock-timetable-graph', place.timetable.graph_point, r));
  if (place.run) group.appendChild(runDot('clock-run-graph', place.run.graph_point, r));
}

function markClock() {
  for (const view of [views.profile, views.plan, views.graph]) view.svg.querySelector(':scope > .clock-marks')?.remove();
  if (!clockPlace) return;
  markClockProfile(clockPlace);
  markClockPlan(clockPlace);
  markClockGraph(clockPlace);
}

document.getElementById('clock').addEventListener('input', (event) => {
  clockValue = Number(event.target.value);
  clockChosen = true;
  writeAddress();
  requestPlace();
});

// ---------------------------------------------------------------------------
// Faults.

function element(tag, text, className) {
  const node = document.createElement(tag);
  if (text !== undefined) node.textContent = text;
  if (className) node.className = className;
  return node;
}

function caretLine(fault) {
  let pad = '';
  for (let i = 0; i + 1 < fault.column && i < fault.source_line.length; ++i) pad += fault.source_line[i] === '\t' ? '\t' : ' ';
  return `${fault.source_line}\n${pad}^`;
}

// One diagnostic: a link that opens the editor at its line and marks its
// place in the drawings, its line with a caret, and its notes below it.
function faultItem(fault) {
  const item = element('li', undefined, fault.severity);
  item.appendChild(element('span', fault.severity, 'tag'));
  const link = element('a', fault.text, 'fault');
  link.href = fault.link ?? '#';
  const where = fault.position_m !== null ? `at km ${km(fault.position_m)} of the route` : 'no place on the route';
  link.title = fault.link ? `open the editor at line ${fault.line}; ${where}` : where;
  if (fault.text === chosenFault) link.classList.add('chosen');
  link.addEventListener('click', (event) => {
    if (!fault.link) event.preventDefault();
    choose(fault);
  });
  item.appendChild(link);
  if (fault.line > 0 && fault.source_line) item.appendChild(element('pre', caretLine(fault)));
  if (fault.notes.length) {
    const notes = element('ol');
    for (const note of fault.notes) notes.appendChild(faultItem(note));
    item.appendChild(notes);
  }
  return item;
}

function showFaults(state) {
  const list = document.getElementById('faults');
  list.replaceChildren(...state.faults.map(faultItem));
  document.getElementById('no-faults').hidden = state.faults.length > 0 || Boolean(state.unreadable);
  document.getElementById('fault-count').textContent = state.faults.length ? `(${state.faults.length})` : '';
  const unreadable = document.getElementById('unreadable');
  unreadable.hidden = !state.unreadable && !state.drawing_failure;
  unreadable.textContent = state.unreadable || (state.drawing_failure ? `no drawing: ${state.drawing_failure}` : '');
  if (chosenFault && !faultNamed(chosenFault)) {
    chosenFault = null;
    writeAddress();
  }
}

// ---------------------------------------------------------------------------
// Figures, running times and the model's values.

function km(metres) { return (metres / 1000).toFixed(3); }

function showFigures(state) {
  const counts = document.getElementById('counts');
  const rows = document.querySelector('#stations tbody');
  counts.replaceChildren();
  rows.replaceChildren();
  const figures = state.figures;
  if (!figures) return;
  const facts = [
    ['Length', `${km(figures.length_m)} km (cells 0 to ${figures.cells})`],
    ['Stations', figures.stations.length],
    ['Signals', figures.signals],
    ['Speed boards', figures.speed_boards],
    ['Sign boards', figures.sign_boards],
    ['Slowdowns', figures.slowdowns],
    ['Code-drop points', figures.code_drops],
    ['Mountain stretches', figures.mountain_stretches],
  ];
  for (const [name, value] of facts) {
    counts.appendChild(element('dt', name));
    counts.appendChild(element('dd', String(value), 'figure-' + name.toLowerCase().replace(/[^a-z]+/g, '-')));
  }
  for (const station of figures.stations) {
    const row = element('tr', undefined, 'station');
    row.appendChild(element('td', station.name));
    row.appendChild(element('td', km(station.position_m), 'km'));
    row.appendChild(element('td', station.times));
    rows.appendChild(row);
  }
}

function showTimetable(state) {
  const head = document.querySelector('#timetable thead');
  const body = document.querySelector('#timetable tbody');
  const warnings = document.getElementById('timetable-warnings');
  head.replaceChildren();
  body.replaceChildren();
  warnings.replaceChildren();
  const summary = document.getElementById('model-summary');
  const model = state.model;
  summary.textContent = model.summary ? `Fastest run of the model: ${model.summary}` :
    model.run_left_out ? 'No run: the train has no braked-mass percentage; give its braking.' : '';
  const table = state.timetable;
  if (!table) return;
  const [heads, ...legs] = table.rows;
  const headRow = element('tr');
  for (const text of heads) headRow.appendChild(element('th', text));
  head.appendChild(headRow);
  legs.forEach((cells, k) => {
    const row = element('tr', undefined, table.problems[k] ? 'leg problem' : 'leg');
    cells.forEach((text, c) => row.appendChild(element('td', text, c >= 2 && c <= 6 ? 'number' : undefined)));
    body.appendChild(row);
  });
  if (legs.length === 0) body.appendChild(element('tr')).appendChild(element('td', 'none: the train has fewer than two stations'));
  for (const problem of table.problems) if (problem) warnings.appendChild(element('li', problem, 'warning'));
}

// The model's values: each empty (the model's own) or a finite number above 0.
const MODEL_FIELDS = [
  ['acceleration', 'the acceleration', 'm/s²'],
  ['braking', 'the braking', 'm/s²'],
  ['max_speed', 'the top speed', 'km/h'],
];

function showModelValues(state) {
  for (const [name] of MODEL_FIELDS) {
    const input = document.getElementById(`model-${name}`);
    if (document.activeElement !== input) input.value = state.model[name] ?? '';
  }
}

function modelRefusal(name, what, unit, text) {
  if (text === '') return null;
  const value = Number(text);
  if (!/^[+]?([0-9]+\.?[0-9]*|\.[0-9]+)([eE][+-]?[0-9]+)?$/.test(text) || !Number.isFinite(value) || value <= 0) {
    return `${what}: give a number above 0 (${unit}), not '${text}'`;
  }
  return null;
}

document.getElementById('model').addEventListener('submit', async (event) => {
  event.preventDefault();
  const message = document.getElementById('model-message');
  const params = new URLSearchParams();
  for (const [name, what, unit] of MODEL_FIELDS) {
    const input = document.getElementById(`model-${name}`);
    const text = input.value.trim();
    const refusal = modelRefusal(name, what, unit, text);
    input.setAttribute('aria-invalid', refusal ? 'true' : 'false');
    if (refusal) {
      message.textContent = refusal;
      input.focus();
      return;
    }
    params.set(name, text);
  }
  message.textContent = '';
  try {
    const answer = await fetch(`/model?${params}`);
    if (!answer.ok) message.textContent = (await answer.text()).trim();
  } catch (error) {
    message.textContent = 'the server cannot be reached';
  }
});

// ---------------------------------------------------------------------------
// Title, status and exports.

function plural(n, word) { return `${n} ${word}${n === 1 ? '' : 's'}`; }

function showStatus(state) {
  const status = document.getElementById('status');
  const time = new Date().toLocaleTimeString();
  const faults = state.faults.length;
  let text = state.unreadable ? 'a file cannot be read' : faults === 0 ? 'no faults' : plural(faults, 'fault');
  text += ` · compilation ${state.generation} in ${state.compile_ms.toFixed(1)} ms · ${time}`;
  status.textContent = text;
  status.className = 'status ' + (faults === 0 && !state.unreadable ? 'clean' : 'faulty');
  document.getElementById('files').textContent = `${state.files.line}  ·  ${state.files.train}`;
  const name = `${state.title.scenario} – train ${state.title.train}`;
  document.getElementById('title').textContent = name;
  document.title = `${faults === 0 ? 'no faults' : plural(faults, 'fault')} · ${name} · scenariogen preview`;
  const partial = document.getElementById('partial');
  partial.hidden = !state.partial;
  partial.textContent = state.partial ?
    'Partial drawing: the reading stopped at a fault, so the route is drawn only as far as it was read.' : '';
  for (const tag of document.querySelectorAll('.partial-tag')) tag.hidden = !state.partial;
  for (const format of ['svg', 'png', 'pdf']) {
    const link = document.getElementById(`export-${format}`);
    link.hidden = !state.exports.includes(format) || !state.drawing;
  }
}

document.getElementById('print').addEventListener('click', () => window.print());

// What each part was shown from: its key and `also`, what else it shows.
// A part shown from the same is not shown again.
const shownParts = {};

function showPart(state, name, show, also = '') {
  const from = `${state.parts[name]} ${also}`;
  if (shownParts[name] === from) return;
  show(state);
  shownParts[name] = from;
}

function apply(state) {
  const routeChanged = !current || !current.axis || !state.axis || current.axis.end_m !== state.axis.end_m;
  current = state;
  if (profileWindow && routeChanged && state.axis) profileWindow = withinRoute(profileWindow);
  showDrawing(state);
  showPart(state, 'faults', showFaults, `${state.unreadable} ${state.drawing_failure}`);
  showPart(state, 'figures', showFigures);
  showPart(state, 'timetable', showTimetable, JSON.stringify(state.model));
  showModelValues(state);
  showStatus(state);
  showWindowText();
  markChosen();
  showClock(state);
  markClock();
  document.body.dataset.generation = state.generation;
  if (profileWindow) requestWindow();
}

let latest = null;  // the state last received

// A state received: the pieces it names that the page does not hold and
// that did not come with it are fetched, then it is shown, unless a newer
// one arrived meanwhile.
async function receive(state) {
  latest = state;
  for (const [key, text] of Object.entries(state.texts ?? {})) pieceTexts.set(key, text);
  const keys = new Set(Object.values(state.parts));
  if (state.drawing) for (const node of Object.values(state.drawing.groups)) leafKeys(node, keys);
  let complete = false;
  try {
    complete = await fetchPieces(keys);
  } catch (error) {
    // The connection is lost: the status says so, and the next state asks again.
  }
  if (!complete || state !== latest) return;
  for (const [name, key] of Object.entries(state.parts)) {
    if (!partValues.has(key)) partValues.set(key, JSON.parse(pieceTexts.get(key)));
    state[name] = partValues.get(key);
  }
  apply(state);
  for (const key of [...pieceTexts.keys()]) if (!keys.has(key)) pieceTexts.delete(key);
  for (const key of [...partValues.keys()]) if (!keys.has(key)) partValues.delete(key);
}

// ---------------------------------------------------------------------------

readAddress();
const events = new EventSource('/events');
events.addEventListener('state', (event) => receive(JSON.parse(event.data)));
events.addEventListener('error', () => {
  const status = document.getElementById('status');
  status.textContent = 'connection lost: reconnecting…';
  status.className = 'status waiting';
});
