// The page is Velmora's window: a menu bar, the board's canvas with an accessible
// checkbox over each card, and a message box. Everything it shows comes from the
// core (velmora.js); this module only adapts the browser to it.
import createCore from './velmora.js';

const menubar = document.getElementById('menubar');
const deck = document.getElementById('deck');
const canvas = document.getElementById('board');
const context = canvas.getContext('2d');
const dialog = document.getElementById('message');
const dialogText = document.getElementById('message-text');
const announcement = document.getElementById('announcement');
const titles = [...menubar.querySelectorAll('.menu > [role=menuitem]')];
const menus = titles.map((title) => title.nextElementSibling);

const cards = [];

// What the core calls (page.js).
const page = {
  put(x, y, image) {
    if (!context)
      return false;
    context.putImageData(image, x, y);
    return true;
  },
  message: (text) => showMessage(text),
  addCard(index, name) {
    const box = document.createElement('div');
    box.setAttribute('role', 'checkbox');
    box.setAttribute('aria-checked', 'false');
    box.setAttribute('aria-label', name);
    box.addEventListener('click', () => core._velmora_activate(index));
    cards[index] = box;
    deck.append(box);
  },
  // The board as the core fitted it, in device pixels; the core draws it next.
  sizeBoard(width, height) {
    cssSize = [Math.ceil(width / devicePixelRatio), Math.ceil(height / devicePixelRatio)];
    canvas.style.width = `${cssSize[0]}px`;
    canvas.style.height = `${cssSize[1]}px`;
    if (!fitBackingStore())
      context?.clearRect(0, 0, canvas.width, canvas.height);
  },
  placeCard(index, ...box) {
    const [left, top, width, height] = box.map((device) => `${device / devicePixelRatio}px`);
    Object.assign(cards[index].style, {left, top, width, height});
  },
  cardState: (index, played) => cards[index].setAttribute('aria-checked', String(played)),
  // A new text node each time, so that the same words twice are spoken twice.
  announce: (text) => announcement.replaceChildren(text),
  // The core takes no more input from here on.
  fatal(text) {
    menubar.inert = deck.inert = true;
    if (dialog.open)
      dialog.close();
    showMessage(text, () => {
      document.body.replaceChildren();
      window.close();
    });
  },
};

const core = await createCore({page});
core._velmora_start();

// --- The message box: modal, titled "Velmora", OK focused. Enter presses OK, Escape
// closes it; the rest of the page is inert while it is open.

function showMessage(text, onClose = () => deck.focus()) {
  dialogText.textContent = text.split('\r').join('\n');
  dialog.addEventListener('close', onClose, {once: true});
  dialog.showModal();
  dialog.querySelector('button').focus();
}

// --- Drawing: the canvas's backing store is exactly the device pixels of its CSS box,
// and its box is a whole number of CSS pixels, so that the core's device pixels are
// the screen's, with no column dropped or doubled.

let cssSize = [0, 0];
// The canvas box in device pixels as the browser reports it, where it does.
let reported = null;

// Gives the canvas the device pixels of its box; true if that changed them, which cleared it.
// A reported size is used where it agrees with the CSS size to within the browser's
// rounding; an emulated ratio, for one, is not reported.
function fitBackingStore() {
  const device = (css, report) =>
    report !== undefined && Math.abs(report - css * devicePixelRatio) < 1 ? report : Math.round(css * devicePixelRatio);
  const width = device(cssSize[0], reported?.inlineSize);
  const height = device(cssSize[1], reported?.blockSize);
  if (canvas.width === width && canvas.height === height)
    return false;
  canvas.width = width;
  canvas.height = height;
  return true;
}

// The core fits the board to the device pixels under the menu bar, and draws it.
function layout() {
  const ratio = devicePixelRatio;
  // The board starts on a device pixel row.
  menubar.style.height = `${Math.ceil(22 * ratio) / ratio}px`;
  const top = menubar.getBoundingClientRect().height;
  core._velmora_layout(Math.floor(innerWidth * ratio), Math.floor((innerHeight - top) * ratio), ratio);
}

if ('devicePixelContentBoxSize' in ResizeObserverEntry.prototype) {
  new ResizeObserver(([entry]) => {
    reported = entry.devicePixelContentBoxSize[0];
    if (fitBackingStore())
      core._velmora_redraw();
  }).observe(canvas, {box: 'device-pixel-content-box'});
}

function watchRatio() {
  matchMedia(`(resolution: ${devicePixelRatio}dppx)`).addEventListener('change', () => {
    layout();
    watchRatio();
  }, {once: true});
}

addEventListener('resize', layout);
watchRatio();
layout();

// --- The board's input: the core's click rule, fed with every button change in
// device pixels. A second button pressed while one is held arrives as a move.

const buttonBits = [1, 4, 2, 8, 16];

function devicePoint(event) {
  const box = canvas.getBoundingClientRect();
  return [(event.clientX - box.left) * canvas.width / box.width,
          (event.clientY - box.top) * canvas.height / box.height];
}

function onPointer(event) {
  if (event.button < 0)
    return;
  event.preventDefault();
  const [x, y] = devicePoint(event);
  const pressed = event.type === 'pointerdown' ||
      (event.type === 'pointermove' && (event.buttons & buttonBits[event.button]) !== 0);
  if (pressed) {
    // As a click in a desktop window would, the press takes the focus from the menu bar.
    deck.focus();
    canvas.setPointerCapture(event.pointerId);
    core._velmora_press(event.button, x, y);
  } else {
    core._velmora_release(event.button, x, y);
  }
}

for (const type of ['pointerdown', 'pointermove', 'pointerup'])
  canvas.addEventListener(type, onPointer);
canvas.addEventListener('pointercancel', () => core._velmora_lost());
addEventListener('blur', () => core._velmora_lost());
deck.addEventListener('contextmenu', (event) => event.preventDefault());

// --- The menu bar: File › Reset and Help › About..., by pointer, touch and keys
// (Alt+F then R, Alt+H then A, arrows, Enter, Escape).

let openMenu = -1;

function itemsOf(menu) {
  return [...menus[menu].querySelectorAll('[role=menuitem]')];
}

function closeMenu() {
  if (openMenu < 0)
    return;
  menus[openMenu].hidden = true;
  titles[openMenu].setAttribute('aria-expanded', 'false');
  openMenu = -1;
}

function openMenuAt(menu) {
  closeMenu();
  openMenu = menu;
  titles.forEach((title, i) => title.tabIndex = i === menu ? 0 : -1);
  titles[menu].setAttribute('aria-expanded', 'true');
  menus[menu].hidden = false;
  itemsOf(menu)[0].focus();
}

function run(item) {
  closeMenu();
  deck.focus();
  if (item.dataset.command === 'reset')
    core._velmora_reset();
  else
    core._velmora_about();
}

titles.forEach((title, menu) => {
  title.addEventListener('click', () => openMenu === menu ? closeMenu() : openMenuAt(menu));
  // Only a mouse slides from one open menu to the next: a tap's enter comes just before its click.
  title.addEventListener('pointerenter', (event) => event.pointerType === 'mouse' && openMenu >= 0 &&
                         openMenu !== menu && openMenuAt(menu));
  for (const item of itemsOf(menu)) {
    item.addEventListener('click', () => run(item));
    item.addEventListener('pointerenter', () => item.focus());
  }
});

// A press outside the open menu closes it and goes no further.
document.addEventListener('pointerdown', (event) => {
  if (openMenu >= 0 && !menubar.contains(event.target)) {
    closeMenu();
    event.preventDefault();
    event.stopPropagation();
  }
}, true);

document.addEventListener('keydown', (event) => {
  // OK is the message box's default button, wherever a click left the focus.
  if (dialog.open && event.key === 'Enter') {
    event.preventDefault();
    dialog.close();
  }
  if (dialog.open || event.ctrlKey || event.metaKey)
    return;
  const menu = titles.findIndex((title) => title.dataset.key === event.code);
  if (event.altKey && menu >= 0) {
    openMenuAt(menu);
  } else if (openMenu >= 0) {
    const item = itemsOf(openMenu).find((candidate) => candidate.dataset.key === event.code);
    if (item)
      run(item);
    else if (event.key === 'Escape')
      closeMenu(), deck.focus();
    else if (event.key === 'ArrowLeft' || event.key === 'ArrowRight')
      openMenuAt((openMenu + (event.key === 'ArrowLeft' ? titles.length - 1 : 1)) % titles.length);
    else
      return;
  } else {
    const focused = titles.indexOf(document.activeElement);
    if (focused < 0)
      return;
    if (event.key === 'ArrowDown' || event.key === 'Enter' || event.key === ' ')
      openMenuAt(focused);
    else if (event.key === 'ArrowLeft' || event.key === 'ArrowRight')
      titles[(focused + 1) % titles.length].focus();
    else
      return;
  }
  event.preventDefault();
});

navigator.serviceWorker?.register('sw.js');
