// The page's side of the browser game: it loads the fonts, the marks and the
// WebAssembly, makes the board's controls where the game lays them out, plays the
// game's pictures onto their canvases, and turns keys, clicks and the clock into
// the game's calls (web/shell_web.cpp). The game decides everything else.
//
// The page's state is one record (newPage), handed to every function; the game
// reaches the page through the object Indovina, made on it.
//
// With ?test in the address the page is driven by a test: the clocks are the
// test's (Indovina.advance, Indovina.setTimeOfDay) and the clock ticks only when
// the test says (Indovina.tick), so that every run sees the same times.
'use strict';

const $ = (id) => document.getElementById(id);

function newPage() {
  const params = new URLSearchParams(location.search);
  return {
    params, testMode: params.has('test'), module: null, shell: 0, opened: false, ended: false, leftCtrl: false,
    menu: 0,  // 0 closed, 1 its bar active (F10), 2 its entry open
    timer: 0, boxCaption: '',
    surfaces: new Map(),  // canvas state by control id
    fonts: new Map(),     // font metrics by face, pixels and style
    boxes: [],            // the open boxes, oldest first
    clock: { wall: 0, steady: 1000000 },  // the test's clocks, in milliseconds
    measurer: document.createElement('canvas').getContext('2d'),
  };
}

// --- Texts, colours and fonts --------------------------------------------------

const latin1 = (heap, at, length) => {
  let text = '';
  for (let i = 0; i < length; i++) text += String.fromCharCode(heap[at + i]);
  return text;
};
const css = (colour) => `rgb(${colour & 255},${(colour >>> 8) & 255},${(colour >>> 16) & 255})`;
const roundHalfEven = (v) => {
  const whole = Math.floor(v);
  const part = v - whole;
  return part > 0.5 || (part === 0.5 && whole % 2 !== 0) ? whole + 1 : whole;
};
// The free faces served with the page stand in for the ones the board names.
const families = { 'times new roman': 'Indovina Serif', 'lucida console': 'Indovina Mono', 'ocr-b 10 bt': 'Indovina OCR' };
const familyOf = (face) => `"${families[face.toLowerCase()] || face}", serif`;
// Control characters are drawn as blanks, so that they keep their width.
const shown = (text) => text.replace(/[\x00-\x1f]/g, ' ');

// Setting a context's font parses it: only a new one is set.
function useFont(ctx, css) {
  if (ctx.fontSet !== css) ctx.font = ctx.fontSet = css;
}
// A font as the canvases draw it: the line is the face's ascent and descent, each
// rounded, and every character advances a whole number of pixels, so that text
// measured is text drawn and notes printed one by one land on their digits.
function fontOf(page, face, pixels, style) {
  const key = `${face}|${pixels}|${style}`;
  if (page.fonts.has(key)) return page.fonts.get(key);
  const font = { css: `${style & 2 ? 'italic ' : ''}${style & 1 ? 'bold ' : ''}${pixels}px ${familyOf(face)}`, style, advances: new Map() };
  useFont(page.measurer, font.css);
  const metrics = page.measurer.measureText('Hg');
  font.ascent = roundHalfEven(metrics.fontBoundingBoxAscent);
  font.lineHeight = font.ascent + roundHalfEven(metrics.fontBoundingBoxDescent);
  const sample = 'abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ';
  font.charWidth = Math.round(page.measurer.measureText(sample).width / sample.length);
  page.fonts.set(key, font);
  return font;
}
function advances(page, font, text) {
  return [...shown(text)].map((c) => {
    if (font.advances.has(c)) return font.advances.get(c);
    useFont(page.measurer, font.css);
    font.advances.set(c, Math.round(page.measurer.measureText(c).width));
    return font.advances.get(c);
  });
}
const sum = (numbers) => numbers.reduce((a, b) => a + b, 0);

// --- Playing pictures -------------------------------------------------------------

function print(page, s, text) {
  if (text === '') return;
  const widths = advances(page, s.font, text);
  const width = sum(widths);
  const ctx = s.ctx;
  if (s.solid) { ctx.fillStyle = css(s.back); ctx.fillRect(s.x, s.y, width, s.font.lineHeight); }
  ctx.fillStyle = css(s.ink);
  useFont(ctx, s.font.css);
  let x = s.x;
  [...shown(text)].forEach((c, i) => { ctx.fillText(c, x, s.y + s.font.ascent); x += widths[i]; });
  if (s.font.style & 4) ctx.fillRect(s.x, s.y + s.font.ascent + 1, width, 1);
  if (s.font.style & 8) ctx.fillRect(s.x, s.y + Math.round(s.font.ascent * 0.7), width, 1);
  s.x += width;
}

// Border one pixel wide inside the box, fill within; right and bottom edges excluded.
function box(ctx, left, top, right, bottom, percent, border, fill) {
  const width = right - left, height = bottom - top;
  if (width <= 0 || height <= 0) return;
  const curve = Math.trunc((Math.min(width, height) * Math.min(Math.max(percent, 0), 100)) / 100);
  ctx.fillStyle = css(border);
  if (curve <= 1) {
    ctx.fillRect(left, top, width, height);
    ctx.fillStyle = css(fill);
    if (width > 2 && height > 2) ctx.fillRect(left + 1, top + 1, width - 2, height - 2);
    return;
  }
  ctx.beginPath(); ctx.roundRect(left, top, width, height, curve / 2); ctx.fill();
  if (width <= 2 || height <= 2) return;
  ctx.fillStyle = css(fill);
  ctx.beginPath(); ctx.roundRect(left + 1, top + 1, width - 2, height - 2, curve / 2 - 1); ctx.fill();
}

const pixelAt = (data, i) => data[i] | (data[i + 1] << 8) | (data[i + 2] << 16);
// The 4-connected area of the colour at (x, y) takes the sampled colour.
function fillLike(s, x, y) {
  const { width, height } = s.canvas;
  if (x < 0 || y < 0 || x >= width || y >= height) return;
  const image = s.ctx.getImageData(0, 0, width, height);
  const data = image.data;
  const area = pixelAt(data, (y * width + x) * 4);
  if (area === s.sampled) return;
  const pending = [[x, y]];
  while (pending.length) {
    const [px, py] = pending.pop();
    const i = (py * width + px) * 4;
    if (px < 0 || py < 0 || px >= width || py >= height || pixelAt(data, i) !== area) continue;
    data.set([s.sampled & 255, (s.sampled >>> 8) & 255, (s.sampled >>> 16) & 255, 255], i);
    pending.push([px + 1, py], [px - 1, py], [px, py + 1], [px, py - 1]);
  }
  s.ctx.putImageData(image, 0, 0);
}

// One operation of a picture, its geometry already in whole pixels (a font's size
// is the pixels of its em, a box's the percentage of its corners).
function op(page, id, kind, x, y, x2, y2, colour, fill, size, style, text) {
  const s = page.surfaces.get(id);
  if (!s) return;
  switch (kind) {
    case 0: s.ctx.fillStyle = css(colour); s.ctx.fillRect(0, 0, s.canvas.width, s.canvas.height); s.x = s.y = 0; break;
    case 1: box(s.ctx, x, y, x2, y2, size, colour, fill); break;
    case 2: s.font = fontOf(page, text, size, style); break;
    case 3: s.ink = colour; break;
    case 4: s.solid = false; break;
    case 5: s.solid = true; s.back = colour; break;
    case 6: s.x = x; s.y = y; break;
    case 7: print(page, s, text); break;
    case 8: s.x = 0; s.y += s.font.lineHeight; break;
    case 10: {
      const inside = x >= 0 && y >= 0 && x < s.canvas.width && y < s.canvas.height;
      s.sampled = inside ? pixelAt(s.ctx.getImageData(x, y, 1, 1).data, 0) : 0xffffff;
      break;
    }
    case 11: fillLike(s, x, y); break;
  }
}

// A mark's pixels (0x00BBGGRR), already stretched; the canvas keeps what falls on it.
function image(page, id, left, top, width, height, pixels) {
  const s = page.surfaces.get(id);
  if (!s) return;
  const data = new ImageData(width, height);
  new Uint32Array(data.data.buffer).set(pixels.map((p) => p | 0xff000000));  // RGBA bytes, little-endian
  s.ctx.putImageData(data, left, top);
}

// The picture's name is the canvas's; a new one (or a row scored again) is told
// through the live region, but never a clock's, ten times a second.
function named(page, id, name, nameEvent) {
  const s = page.surfaces.get(id);
  if (!s) return;
  const told = page.opened && (nameEvent === 1 || (nameEvent === 0 && name !== s.canvas.getAttribute('aria-label')));
  s.canvas.setAttribute('aria-label', name);
  if (!told) return;
  const said = document.createElement('p');
  said.textContent = name;
  const live = $('announcements');
  live.append(said);
  while (live.childElementCount > 4) live.firstElementChild.remove();
}

// --- The board's controls ---------------------------------------------------------

function call(page, name, ...args) {
  if (page.ended || !page.shell) return;
  try {
    page.module['_indovina_' + name](page.shell, ...args);
  } catch (error) {
    fail(page, `Il gioco si è fermato per un errore interno (${error}).`);
  }
}

function addToggle(page, control, id, caption) {
  control.textContent = caption;
  control.tabIndex = -1;
  control.className = 'toggle';
  control.setAttribute('aria-pressed', 'false');
  control.addEventListener('click', () => {
    const pressed = control.getAttribute('aria-pressed') !== 'true';
    control.setAttribute('aria-pressed', String(pressed));
    call(page, 'toggle', id, pressed ? 1 : 0);
  });
}

// Kinds: 0 a surface, 1 a row's field (a surface that selects its row), 2 a toggle.
function addControl(page, kind, id, x, y, width, height, caption) {
  const control = document.createElement(kind === 2 ? 'button' : 'canvas');
  Object.assign(control.style, { left: `${x}px`, top: `${y}px`, width: `${width}px`, height: `${height}px` });
  control.dataset.id = id;
  control.addEventListener('mousedown', (e) => e.preventDefault());  // the keys stay with the board
  if (kind === 2) addToggle(page, control, id, caption);
  if (kind !== 2) {
    Object.assign(control, { width, height });
    control.setAttribute('role', 'img');
    control.setAttribute('aria-label', '');
    const ctx = control.getContext('2d', { willReadFrequently: true });
    const font = fontOf(page, '', 16, 0);
    page.surfaces.set(id, { canvas: control, ctx, x: 0, y: 0, ink: 0, solid: true, back: 0xffffff, font, sampled: 0 });
  }
  // The left button, as a field's click is on the other front ends.
  if (kind === 1) control.addEventListener('mousedown', (e) => { if (e.button === 0) call(page, 'row', id); });
  $('controls').append(control);
}

// --- Boxes, the menu and the end --------------------------------------------------

function showBox(page, id, text) {
  const dialog = document.createElement('dialog');
  dialog.className = 'box';
  dialog.setAttribute('aria-labelledby', `box-title-${id}`);
  dialog.innerHTML = `<h2 id="box-title-${id}"></h2><p></p><button type="button">OK</button>`;
  dialog.querySelector('h2').textContent = page.boxCaption;
  dialog.querySelector('p').textContent = text.replace(/\r\n/g, '\n');
  dialog.querySelector('button').addEventListener('click', () => closeBox(page, dialog));
  dialog.dataset.id = id;
  page.boxes.push(dialog);
  document.body.append(dialog);
  dialog.show();  // not modal: the board goes on taking keys and clicks
  dialog.querySelector('button').focus();
}
function closeBox(page, dialog) {
  const at = page.boxes.indexOf(dialog);
  if (at < 0) return;
  page.boxes.splice(at, 1);
  dialog.remove();
  call(page, 'box_closed', Number(dialog.dataset.id));
}

function setMenu(page, state) {
  page.menu = state;
  $('menu-author').classList.toggle('active', state > 0);
  $('menu-author').setAttribute('aria-expanded', String(state === 2));
  $('menu-popup').hidden = state !== 2;
}
function chooseAuthor(page) { setMenu(page, 0); call(page, 'author'); }

// A page cannot close itself: the board is greyed out and made inert instead.
function end(page) {
  page.ended = true;
  clearInterval(page.timer);
  page.boxes.splice(0).forEach((dialog) => dialog.remove());
  setMenu(page, 0);
  $('board').inert = true;
  $('board').classList.add('ended');
  $('ended').hidden = false;
  $('new-game').focus();
}

function fail(page, message) {
  page.ended = true;
  clearInterval(page.timer);
  $('status').textContent = message;
  $('status').hidden = false;
}

// --- Keys -------------------------------------------------------------------------

// The key's place in the game's words (input/game_keys.h), the keypad's keys by
// their navigation meaning.
const positions = {
  Backspace: 1, Tab: 2, Home: 3, Numpad7: 3, ArrowUp: 4, Numpad8: 4, PageUp: 5, Numpad9: 5, ArrowLeft: 6, Numpad4: 6,
  ArrowRight: 7, Numpad6: 7, End: 8, Numpad1: 8, ArrowDown: 9, Numpad2: 9, PageDown: 10, Numpad3: 10, Insert: 11,
  Numpad0: 11, Delete: 12, NumpadDecimal: 12, NumpadAdd: 13, NumpadSubtract: 14, Enter: 15, NumpadEnter: 15, Escape: 16,
};
const modifiers = /^(Shift|Control|Alt|Meta)(Left|Right)$/;

// The layout's one character for the key (AltGr and the French digits included);
// with Ctrl alone a letter is its control character, as the desktop gives it.
function characterOf(e) {
  if (e.key.length !== 1 || e.key.charCodeAt(0) > 255) return 0;
  if (e.ctrlKey && !e.altKey && !e.getModifierState('AltGraph')) return /[a-z]/i.test(e.key) ? e.key.toUpperCase().charCodeAt(0) - 64 : 0;
  return e.key.charCodeAt(0);
}

// What the open menu does with a key; true when it took the key.
function menuKey(page, position, e) {
  if (page.menu === 1 && (position === 9 || position === 15 || e.key === ' ')) return setMenu(page, 2), true;
  if (page.menu === 2 && (position === 15 || e.key === ' ' || e.key.toLowerCase() === 'a')) return chooseAuthor(page), true;
  if (position === 16) return setMenu(page, page.menu - 1), true;
  return false;
}

// Every key goes to the game first, as on the desktop; then to the menu or the box
// that is open, or else to the window (its Enter and Escape).
function keyDown(page, e) {
  if (e.code === 'ControlLeft') page.leftCtrl = true;
  if (page.ended || !page.shell || modifiers.test(e.code) || e.key === 'AltGraph') return;
  const browserKey = ((e.ctrlKey || e.metaKey) && !e.code.startsWith('Numpad')) || /^F(5|11|12)$/.test(e.key);
  if (!browserKey) e.preventDefault();
  const position = positions[e.code] || 0;
  const menuOpen = page.menu > 0;
  const boxOpen = page.boxes.length > 0;
  // A release missed while the page had no focus leaves no left Ctrl held.
  page.leftCtrl = page.leftCtrl && e.ctrlKey;
  // The window's own Enter and Escape, which the session leaves to a box that is open.
  call(page, 'key', position, characterOf(e), page.leftCtrl ? 1 : 0, menuOpen ? 0 : 1);
  if (e.key === 'F10') return setMenu(page, page.menu ? 0 : 1);
  if (menuOpen && menuKey(page, position, e)) return;
  if (boxOpen && !menuOpen && (position === 15 || position === 16 || e.key === ' ')) closeBox(page, page.boxes[page.boxes.length - 1]);
}

// --- Loading ----------------------------------------------------------------------

function listen(page) {
  addEventListener('keydown', (e) => keyDown(page, e), true);
  addEventListener('keyup', (e) => { if (e.code === 'ControlLeft') page.leftCtrl = false; }, true);
  addEventListener('blur', () => { page.leftCtrl = false; });
  $('menu-author').addEventListener('click', () => setMenu(page, page.menu === 2 ? 0 : 2));
  $('menu-entry').addEventListener('click', () => chooseAuthor(page));
  addEventListener('mousedown', (e) => { if (page.menu && !e.target.closest('.menubar')) setMenu(page, 0); });
  $('close').addEventListener('click', () => call(page, 'close'));
  $('new-game').addEventListener('click', () => location.reload());
}

// The game's code and the marks, fetched (and the code compiled) as soon as this
// script runs, while the rest of the page loads. A mark that cannot be fetched just
// does not show, as a missing image file on the desktop.
function startFetches(page) {
  const folder = page.testMode && page.params.get('images') ? page.params.get('images') : '';
  const bytes = (answer) => (answer.ok ? answer.arrayBuffer() : Promise.reject(new Error(`${answer.url}: ${answer.status}`)));
  const code = typeof WebAssembly === 'object' ? fetch('indovina-wasm.wasm').then(bytes).then((b) => WebAssembly.compile(b)) : null;
  code?.catch(() => {});  // told by load, once it waits for it
  const marks = ['q.bmp', 'c.bmp'].map((name) => fetch(folder + name).then(bytes).catch(() => null));
  return { code, marks };
}

// The game's module, made from the code compiled early.
function gameModule(page, early) {
  const loadFailed = (why) => fail(page, `Impossibile caricare il gioco (indovina-wasm.wasm): ${why}`);
  const instantiateWasm = (imports, done) => {
    early.code.then((code) => WebAssembly.instantiate(code, imports).then((instance) => done(instance, code))).catch(loadFailed);
    return {};
  };
  return IndovinaModule({ onAbort: loadFailed, instantiateWasm }).catch(loadFailed);
}

async function load(page, early) {
  if (typeof WebAssembly !== 'object' || typeof IndovinaModule !== 'function') {
    return fail(page, 'Questo browser non può eseguire il gioco: servono WebAssembly e il file indovina-wasm.js.');
  }
  const faces = ['Indovina Serif', 'Indovina Mono', 'Indovina OCR'].map((f) => document.fonts.load(`16px "${f}"`));
  const game = gameModule(page, early);
  await Promise.race([Promise.allSettled(faces), new Promise((done) => setTimeout(done, 5000))]);
  page.module = await game;
  if (page.ended || !page.module) return;
  (await Promise.all(early.marks)).forEach((b, i) => b && page.module.FS.writeFile(['/q.bmp', '/c.bmp'][i], new Uint8Array(b)));
  if (page.testMode) page.clock.wall = Date.parse(page.params.get('start').replace(' ', 'T') + 'Z');
  listen(page);
  try {
    page.shell = page.module._indovina_start(page.module.allocateUTF8(page.testMode ? page.params.get('secret') || '' : ''));
  } catch (error) {
    return fail(page, `Il gioco si è fermato per un errore interno (${error}).`);
  }
  page.opened = true;
  requestAnimationFrame(() => performance.mark('indovina-first-board-frame'));  // for bench/web_bench.py
  if (!page.testMode) page.timer = setInterval(() => call(page, 'tick'), 100);
}

// What the game (through web/shell_web.cpp) and the tests call on the page.
function pageInterface(page) {
  const day = 86400000;
  return {
    latin1,
    titles: (caption, boxCaption) => { document.title = caption; $('caption').textContent = caption; page.boxCaption = boxCaption; },
    addControl: (...a) => addControl(page, ...a),
    op: (...a) => op(page, ...a),
    image: (...a) => image(page, ...a),
    named: (...a) => named(page, ...a),
    textWidth: (face, pixels, style, text) => sum(advances(page, fontOf(page, face, pixels, style), text)),
    cell: (face, pixels, style) => { const f = fontOf(page, face, pixels, style); return [f.charWidth, f.lineHeight]; },
    showBox: (...a) => showBox(page, ...a),
    end: () => end(page),
    wallMs: () => (page.testMode ? page.clock.wall : Date.now() - new Date().getTimezoneOffset() * 60000),
    steadyMs: () => (page.testMode ? page.clock.steady : performance.now()),
    // The test's hands on the page.
    advance: (ms) => { page.clock.wall += ms; page.clock.steady += ms; },
    setTimeOfDay: (s) => { const w = page.clock.wall; page.clock.wall = w - (w % day) + s * 1000 + (w % 1000); },
    tick: () => call(page, 'tick'),
    state: () => ({
      ready: page.opened, ended: page.ended, status: $('status').hidden ? '' : $('status').textContent,
      boxes: page.boxes.map((b) => b.querySelector('p').textContent),
      row: page.shell && !page.ended ? page.module._indovina_current_row(page.shell) : 0,
      fonts: page.shell && !page.ended ? [...Array(15).keys()].map((r) => page.module._indovina_font_size(page.shell, r)) : [],
    }),
  };
}

const Indovina = (() => {
  const page = newPage();
  const early = startFetches(page);
  addEventListener('DOMContentLoaded', () => load(page, early).catch((error) => fail(page, `Impossibile avviare il gioco: ${error}`)));
  return pageInterface(page);
})();
