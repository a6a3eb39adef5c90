// The page side of the browser edition. Page handlers only append what the user did to one
// queue; the program's one loop takes from it (next, take) and renders what the framework says.
// Nothing here decides: the framework owns every state.
var ostrovaPage = (function () {
  'use strict';
  const queue = [];
  let wake = null;
  let quiet = 0;  // the program moves the focus itself: no report

  function post(ev) {
    queue.push(ev);
    if (wake) {
      const w = wake;
      wake = null;
      w();
    }
  }

  // [anchor, caret] of a text field.
  function selectionOf(el) {
    const s = el.selectionStart || 0, e = el.selectionEnd || 0;
    return el.selectionDirection === 'backward' ? [e, s] : [s, e];
  }

  function at(el) {
    const c = el.closest('[data-index]');
    return c ? {view: +c.dataset.view, index: +c.dataset.index} : null;
  }

  // --- Text fields: every change is the framework's. -----------------------------------------
  function wireEdit(el) {
    const me = () => at(el);
    el.addEventListener('beforeinput', (ev) => {
      if (ev.isComposing || ev.inputType === 'insertCompositionText') return;
      ev.preventDefault();
      let data = ev.data;
      if (data == null && ev.dataTransfer) data = ev.dataTransfer.getData('text/plain');
      const [anchor, caret] = selectionOf(el);
      post(Object.assign(me(), {type: 'edit', op: ev.inputType, data: (data || '').replace(/[\r\n]+/g, ''),
                                anchor, caret}));
    });
    // Only what could not be stopped comes here: an input method's finished text.
    el.addEventListener('input', () => post(Object.assign(me(), {type: 'edited', text: el.value,
                                                                 caret: el.selectionEnd || 0})));
    const moved = () => {
      const [anchor, caret] = selectionOf(el);
      post(Object.assign(me(), {type: 'caret', anchor, caret}));
    };
    el.addEventListener('selectionchange', moved);
    el.addEventListener('keydown', (ev) => {
      const k = ev.key.toLowerCase();
      if ((ev.ctrlKey || ev.metaKey) && !ev.altKey && (k === 'z' || k === 'y')) {
        ev.preventDefault();
        const [anchor, caret] = selectionOf(el);
        post(Object.assign(me(), {type: 'undo', redo: k === 'y' || ev.shiftKey, anchor, caret}));
      }
    });
  }

  // --- Buttons, boxes and radios report a click; their look is rendered back. -----------------
  function wireButton(el) {
    el.addEventListener('click', (ev) => {
      ev.preventDefault();
      if (el.getAttribute('aria-disabled') !== 'true' && !el.disabled)
        post(Object.assign(at(el), {type: 'click'}));
    });
    if (el.tagName !== 'BUTTON') {  // Space clicks a box or radio as it does a button
      el.addEventListener('keyup', (ev) => {
        if (ev.key === ' ' && el.getAttribute('aria-disabled') !== 'true')
          post(Object.assign(at(el), {type: 'click'}));
      });
      el.addEventListener('keydown', (ev) => { if (ev.key === ' ') ev.preventDefault(); });
    }
  }

  // --- Combo boxes: a box (a field or not) and a list that only the page opens. ---------------
  function listOf(combo) { return combo.querySelector('[role=listbox]'); }
  function isOpen(combo) { return combo.classList.contains('open'); }
  function highlight(combo, i) {
    const items = listOf(combo).children;
    for (let k = 0; k < items.length; ++k) items[k].setAttribute('aria-selected', k === i ? 'true' : 'false');
    combo.dataset.hot = i;
    const box = combo.querySelector('[role=combobox]');
    if (i >= 0 && items[i]) {
      box.setAttribute('aria-activedescendant', items[i].id);
      items[i].scrollIntoView({block: 'nearest'});
    } else {
      box.removeAttribute('aria-activedescendant');
    }
  }
  function openList(combo, open) {
    if (open === isOpen(combo)) return;
    combo.classList.toggle('open', open);
    combo.querySelector('[role=combobox]').setAttribute('aria-expanded', open ? 'true' : 'false');
    if (open) highlight(combo, +combo.dataset.selection);
  }
  // Closes an open list; returns the entry it was on (-1: none).
  function closeList(combo) {
    const hot = isOpen(combo) ? +(combo.dataset.hot || -1) : -1;
    openList(combo, false);
    return hot;
  }
  function wireCombo(combo) {
    const box = combo.querySelector('[role=combobox]');
    const me = () => at(combo);
    const toggle = (ev) => {
      ev.preventDefault();
      if (combo.classList.contains('disabled')) return;
      quiet++;
      box.focus();
      quiet--;
      post(Object.assign(me(), {type: 'focus'}));
      openList(combo, !isOpen(combo));
    };
    combo.querySelector('.drop').addEventListener('mousedown', toggle);
    if (box.tagName !== 'INPUT') box.addEventListener('mousedown', toggle);
    listOf(combo).addEventListener('mousedown', (ev) => ev.preventDefault());
    listOf(combo).addEventListener('click', (ev) => {
      const item = ev.target.closest('[role=option]');
      if (!item) return;
      openList(combo, false);
      post(Object.assign(me(), {type: 'pick', item: +item.dataset.item}));
    });
    box.addEventListener('blur', () => openList(combo, false));
    box.addEventListener('keydown', (ev) => {
      const down = ev.key === 'ArrowDown', up = ev.key === 'ArrowUp';
      if (ev.key === 'F4' || ((down || up) && ev.altKey)) {
        ev.preventDefault();
        openList(combo, !isOpen(combo));
      } else if ((down || up) && !ev.ctrlKey && !ev.shiftKey && !ev.metaKey) {
        ev.preventDefault();
        const count = listOf(combo).children.length;
        if (isOpen(combo)) {
          const hot = +(combo.dataset.hot || -1);
          highlight(combo, Math.max(0, Math.min(count - 1, hot + (down ? 1 : -1))));
        } else {
          // A closed list steps its selection, as the desktop's combo boxes do.
          const sel = +combo.dataset.selection;
          const item = sel < 0 ? 0 : sel + (down ? 1 : -1);
          if (item >= 0 && item < count && item !== sel) post(Object.assign(me(), {type: 'pick', item}));
        }
      }
    });
  }

  // --- The dialog manager's keys go to the framework with what only the page knows. ----------
  function wireWindow(win, view) {
    win.addEventListener('keydown', (ev) => {
      if (ev.defaultPrevented) return;
      const target = at(ev.target);
      const index = target && target.view === view ? target.index : -1;
      const combo = ev.target.closest('.combo');
      const listOpen = !!combo && isOpen(combo);
      const plain = !ev.altKey && !ev.ctrlKey && !ev.metaKey;
      let key = null;
      if (ev.key === 'Tab' && plain) key = ev.shiftKey ? 'BackTab' : 'Tab';
      else if (ev.key === 'Enter' && plain) key = 'Enter';
      else if (ev.key === 'Escape' && plain && !ev.shiftKey) key = 'Escape';
      else if (plain && !ev.shiftKey && /^Arrow/.test(ev.key) && ev.target.dataset.arrows === 'group')
        key = ev.key === 'ArrowDown' || ev.key === 'ArrowRight' ? 'Next' : 'Previous';
      else if (ev.key === ' ' && ev.altKey && !ev.ctrlKey) {
        ev.preventDefault();
        const menu = win.querySelector('.sysmenu-button');
        if (menu) menu.click();
        return;
      }
      if (key === null) return;
      ev.preventDefault();
      post({type: 'key', view, key, index, listOpen});
    });
  }

  function wireFocus(el) {
    el.addEventListener('focus', () => {
      if (!quiet) post(Object.assign(at(el), {type: 'focus'}));
    });
  }

  // --- The window's own scroll bar: requests with the classic codes. --------------------------
  function wireScrollBar(bar, view) {
    const thumb = bar.querySelector('.thumb');
    const request = (code, pos) => post({type: 'vscroll', view, code, pos: pos || 0});
    bar.querySelector('.up').addEventListener('mousedown', (ev) => { ev.preventDefault(); request(0); });
    bar.querySelector('.down').addEventListener('mousedown', (ev) => { ev.preventDefault(); request(1); });
    bar.querySelector('.track').addEventListener('mousedown', (ev) => {
      if (ev.target !== ev.currentTarget) return;
      ev.preventDefault();
      request(ev.offsetY < thumb.offsetTop ? 2 : 3);
    });
    thumb.addEventListener('pointerdown', (ev) => {
      ev.preventDefault();
      thumb.setPointerCapture(ev.pointerId);
      const startY = ev.clientY, startTop = thumb.offsetTop;
      let pos = +bar.dataset.pos;
      const move = (e) => {
        const room = bar.querySelector('.track').clientHeight - thumb.offsetHeight;
        const span = +bar.dataset.top - +bar.dataset.min;
        const top = Math.max(0, Math.min(room, startTop + e.clientY - startY));
        pos = +bar.dataset.min + (room > 0 ? Math.round(top * span / room) : 0);
        request(5, pos);
      };
      const up = () => {
        thumb.removeEventListener('pointermove', move);
        thumb.removeEventListener('pointerup', up);
        request(4, pos);
        request(8);
      };
      thumb.addEventListener('pointermove', move);
      thumb.addEventListener('pointerup', up);
    });
  }

  function wireWheel(el, view) {
    let rest = 0;
    el.addEventListener('wheel', (ev) => {
      if (ev.deltaY === 0) return;  // a sideways tilt is not ours
      ev.preventDefault();
      rest += ev.deltaMode === 0 ? ev.deltaY : ev.deltaY * 40;
      // One notch is 120 units turned away from the user, the desktop's measure.
      while (Math.abs(rest) >= 50) {
        const down = rest > 0;
        rest -= down ? 100 : -100;
        if (Math.abs(rest) < 50) rest = 0;
        post({type: 'wheel', view, delta: down ? -120 : 120});
      }
    }, {passive: false});
  }

  // --- The title bar's menu and close box. ----------------------------------------------------
  function wireTitleBar(win, view) {
    const button = win.querySelector('.sysmenu-button');
    const menu = win.querySelector('[role=menu]');
    const close = () => { menu.hidden = true; button.setAttribute('aria-expanded', 'false'); };
    button.addEventListener('click', (ev) => {
      ev.preventDefault();
      if (!menu.children.length) return;
      menu.hidden = !menu.hidden;
      button.setAttribute('aria-expanded', menu.hidden ? 'false' : 'true');
      if (!menu.hidden) menu.firstElementChild.focus();
    });
    menu.addEventListener('click', (ev) => {
      const item = ev.target.closest('[role=menuitem]');
      if (!item) return;
      close();
      post({type: 'syscommand', view, command: +item.dataset.command});
    });
    menu.addEventListener('keydown', (ev) => {
      ev.stopPropagation();
      if (ev.key === 'Escape') { close(); button.focus(); }
      else if (ev.key === 'Enter' || ev.key === ' ') { ev.preventDefault(); ev.target.click(); }
    });
    menu.addEventListener('focusout', (ev) => { if (!menu.contains(ev.relatedTarget)) close(); });
    win.querySelector('.close-box').addEventListener('click', () => post({type: 'close', view}));
  }

  // --- Message boxes: one OK, titled with the application's name. ------------------------------
  function messageBox(box, serial) {
    const ok = box.querySelector('.msgbuttons button');
    ok.addEventListener('click', () => post({type: 'msgok', view: serial}));
    box.querySelector('.close-box').addEventListener('click', () => post({type: 'msgok', view: serial}));
    box.addEventListener('keydown', (ev) => {
      if (ev.key === 'Enter' || ev.key === 'Escape') {
        ev.preventDefault();
        post({type: 'msgok', view: serial});
      } else if (ev.key === 'Tab') {
        ev.preventDefault();
      }
    });
    quiet++;
    ok.focus();
    quiet--;
  }

  // --- Metrics of the template fonts, as the desktop measures them. ---------------------------
  const canvas = document.createElement('canvas').getContext('2d');
  function measure(font, text) {
    canvas.font = font;
    const m = canvas.measureText(text);
    return {width: m.width, ascent: Math.round(m.fontBoundingBoxAscent),
            descent: Math.round(m.fontBoundingBoxDescent)};
  }

  // Timers post their ticks like any other event; they tick on behind modal layers.
  const timers = new Map();
  function startTimer(view, id, ms) {
    const key = view + ':' + id;
    clearInterval(timers.get(key));
    timers.set(key, setInterval(() => post({type: 'timer', view, id}), Math.max(ms, 1)));
  }
  function stopTimers(view) {
    for (const key of Array.from(timers.keys())) {
      if (key.startsWith(view + ':')) {
        clearInterval(timers.get(key));
        timers.delete(key);
      }
    }
  }

  function focusQuietly(el) {
    quiet++;
    el.focus({preventScroll: true});
    quiet--;
  }

  // The first time the program waits for the user, the form is interactive.
  let waited = false;
  function next() {
    if (!waited) {
      waited = true;
      performance.mark('ostrova-interactive');
    }
    return queue.length ? Promise.resolve() : new Promise((r) => { wake = r; });
  }

  return {
    post, next,
    take: () => queue.shift(), pending: () => queue.length,
    wireEdit, wireButton, wireCombo, wireWindow, wireFocus, wireScrollBar, wireWheel,
    wireTitleBar, messageBox, measure, focusQuietly, openList, closeList, startTimer, stopTimers,
    selectionOf,
  };
})();
