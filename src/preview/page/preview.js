// The preview page: shows the state the server sends over Server-Sent Events
// (the drawing, the faults, the figures) and keeps each view's zoom and pan
// across updates.
'use strict';

const SVG_NS = 'http://www.w3.org/2000/svg';
const MIN_ZOOM = 1 / 400;  // narrowest view, as a share of the whole drawing
const MAX_ZOOM = 2;

let current = null;  // the last state received
let chosenFault = null;  // the text of the fault whose place is highlighted

// ---------------------------------------------------------------------------
// Views: a part of the drawing (one group of the plot's SVG) in its own
// <svg>, zoomed and panned through the viewBox.

function makeView(elementId, groupId) {
  const view = { svg: document.getElementById(elementId), groupId, home: null, box: null, moved: false };
  view.svg.addEventListener('wheel', (event) => zoomAt(view, event), { passive: false });
  view.svg.addEventListener('pointerdown', (event) => startDrag(view, event));
  view.svg.addEventListener('dblclick', () => { view.moved = false; setBox(view, view.home); });
  return view;
}

const views = { profile: makeView('profile-view', 'profile'), plan: makeView('plan-view', 'plan') };

function setBox(view, box) {
  if (!box) return;
  view.box = box;
  view.svg.setAttribute('viewBox', `${box.x} ${box.y} ${box.w} ${box.h}`);
}

// Drawing units per screen pixel.
function unitsPerPixel(view) {
  const matrix = view.svg.getScreenCTM();
  return matrix && matrix.a ? 1 / matrix.a : 1;
}

function toDrawing(view, clientX, clientY) {
  const point = new DOMPoint(clientX, clientY);
  const matrix = view.svg.getScreenCTM();
  return matrix ? point.matrixTransform(matrix.inverse()) : point;
}

function zoomAt(view, event) {
  event.preventDefault();
  if (!view.box || !view.home) return;
  const wanted = Math.exp(event.deltaY * 0.0015);
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

function startDrag(view, event) {
  if (event.button !== 0 || !view.box) return;
  const scale = unitsPerPixel(view);
  const start = { x: event.clientX, y: event.clientY, box: view.box };
  view.svg.setPointerCapture(event.pointerId);
  view.svg.classList.add('dragging');
  const move = (e) => {
    view.moved = true;
    setBox(view, { ...start.box, x: start.box.x - (e.clientX - start.x) * scale, y: start.box.y - (e.clientY - start.y) * scale });
  };
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

// Puts the view's group of the new drawing in place of the old one; the
// view keeps its zoom unless the author never moved it.
function showGroup(view, drawing) {
  const group = drawing.getElementById(view.groupId);
  view.svg.replaceChildren();
  view.svg.classList.remove('stale');
  if (!group) return;
  view.svg.setAttribute('font-family', drawing.documentElement.getAttribute('font-family') || 'sans-serif');
  view.svg.appendChild(document.importNode(group, true));
  const box = view.svg.firstElementChild.getBBox();
  const pad = Math.max(box.width, box.height) * 0.02;
  view.home = { x: box.x - pad, y: box.y - pad, w: box.width + 2 * pad, h: box.height + 2 * pad };
  if (!view.moved || !view.box) setBox(view, view.home);
}

function showDrawing(state) {
  if (!state.svg) {
    for (const view of Object.values(views)) view.svg.classList.add('stale');
    return;
  }
  const drawing = new DOMParser().parseFromString(state.svg, 'image/svg+xml');
  if (drawing.querySelector('parsererror')) return;
  for (const view of Object.values(views)) showGroup(view, drawing);
}

// ---------------------------------------------------------------------------
// The place of a fault: a band across the profile, a ring on the plan. A
// view that does not show the place is moved to it, keeping its zoom.

function centreOn(view, x, y) {
  const box = { ...view.box };
  if (x < box.x || x > box.x + box.w) box.x = x - box.w / 2;
  if (y !== undefined && (y < box.y || y > box.y + box.h)) box.y = y - box.h / 2;
  setBox(view, box);
}

function markProfile(positionM) {
  const view = views.profile;
  const axis = current && current.axis;
  if (!axis || positionM === null || positionM === undefined || !view.home) return;
  const x = axis.x0 + (positionM / Math.max(axis.end_m, 1)) * (axis.x1 - axis.x0);
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
  centreOn(view, x);
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
  centreOn(view, point.x, point.y);
}

function highlight(fault) {
  views.profile.svg.querySelector('#fault-place')?.remove();
  views.plan.svg.querySelector('#fault-place-plan')?.remove();
  if (!fault) return;
  markProfile(fault.position_m);
  markPlan(fault.plan_point);
}

// ---------------------------------------------------------------------------
// Faults and figures.

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

function showFaults(state) {
  const list = document.getElementById('faults');
  list.replaceChildren();
  for (const fault of state.faults) {
    const item = element('li');
    const link = element('a', fault.text, 'fault');
    link.href = '#';
    if (fault.position_m !== null) {
      link.dataset.position = fault.position_m;
      link.title = `at ${(fault.position_m / 1000).toFixed(3)} km along the route: show it on the profile`;
    } else {
      link.title = 'this fault has no place on the route';
    }
    if (fault.text === chosenFault) link.classList.add('chosen');
    link.addEventListener('click', (event) => {
      event.preventDefault();
      chosenFault = fault.text;
      for (const other of list.querySelectorAll('a.chosen')) other.classList.remove('chosen');
      link.classList.add('chosen');
      highlight(fault);
    });
    item.appendChild(link);
    if (fault.line > 0 && fault.source_line) item.appendChild(element('pre', caretLine(fault)));
    list.appendChild(item);
  }
  document.getElementById('fault-count').textContent = state.faults.length ? `(${state.faults.length})` : '';
  const unreadable = document.getElementById('unreadable');
  unreadable.hidden = !state.unreadable && !state.drawing_failure;
  unreadable.textContent = state.unreadable || (state.drawing_failure ? `no drawing: ${state.drawing_failure}` : '');
  const still = state.faults.find((fault) => fault.text === chosenFault);
  chosenFault = still ? chosenFault : null;
  highlight(still ?? null);
}

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

function showStatus(state) {
  const status = document.getElementById('status');
  const time = new Date().toLocaleTimeString();
  const faults = state.faults.length;
  let text = state.unreadable ? 'a file cannot be read' : faults === 0 ? 'no faults' : faults === 1 ? '1 fault' : `${faults} faults`;
  text += ` · compilation ${state.generation} in ${state.compile_ms.toFixed(1)} ms · ${time}`;
  status.textContent = text;
  status.className = 'status ' + (faults === 0 && !state.unreadable ? 'clean' : 'faulty');
  document.getElementById('files').textContent = `${state.files.line}  ·  ${state.files.train}`;
}

function apply(state) {
  current = state;
  showDrawing(state);
  showFaults(state);
  showFigures(state);
  showStatus(state);
  document.body.dataset.generation = state.generation;
}

// ---------------------------------------------------------------------------

const events = new EventSource('/events');
events.addEventListener('state', (event) => apply(JSON.parse(event.data)));
events.addEventListener('error', () => {
  const status = document.getElementById('status');
  status.textContent = 'connection lost: reconnecting…';
  status.className = 'status waiting';
});
