// Files as a browser allows: a file input to load, the File System Access API or a download to
// save, and IndexedDB for the files saved beside the program (the settings saved last).
var ostrovaFiles = (function () {
  'use strict';
  const handles = new Map();  // file name -> the handle the user granted for it

  function input() { return document.getElementById('load-file'); }

  // The picked file's name and bytes, or null when the user cancelled.
  function pickFile() {
    const el = input();
    el.value = '';
    return new Promise((resolve) => {
      const done = () => {
        el.removeEventListener('change', changed);
        el.removeEventListener('cancel', cancelled);
      };
      const changed = async () => {
        done();
        const file = el.files && el.files[0];
        if (!file) return resolve(null);
        try {
          resolve({name: file.name, bytes: new Uint8Array(await file.arrayBuffer())});
        } catch (e) {
          resolve({name: file.name, bytes: null});
        }
      };
      const cancelled = () => { done(); resolve(null); };
      el.addEventListener('change', changed);
      el.addEventListener('cancel', cancelled);
      el.click();
    });
  }

  const canPick = () => typeof window.showSaveFilePicker === 'function';

  function pickerTypes(ext) {
    return [{description: '*.' + ext.toLowerCase(),
             accept: {'application/octet-stream': ['.' + ext.toLowerCase()]}}];
  }

  // Save as: the name the user granted a handle for; '' when cancelled; null without the API.
  async function savePicker(suggested, ext) {
    if (!canPick()) return null;
    try {
      const handle = await window.showSaveFilePicker({suggestedName: suggested, types: pickerTypes(ext)});
      handles.set(handle.name, handle);
      return handle.name;
    } catch (e) {
      return '';
    }
  }

  function download(name, bytes) {
    const a = document.createElement('a');
    a.href = URL.createObjectURL(new Blob([bytes], {type: 'application/octet-stream'}));
    a.download = name;
    document.body.appendChild(a);
    a.click();
    a.remove();
    setTimeout(() => URL.revokeObjectURL(a.href), 60000);
  }

  // Hands a saved file to the user: into the handle granted for its name (asking once where the
  // API exists), else as a download. False when a granted file could not be written.
  async function deliver(name, bytes, ext) {
    let handle = handles.get(name);
    if (!handle && canPick()) {
      try {
        handle = await window.showSaveFilePicker({suggestedName: name, types: pickerTypes(ext)});
        handles.set(name, handle);
      } catch (e) {
        return true;  // the user chose not to keep a copy outside the browser
      }
    }
    if (!handle) {
      download(name, bytes);
      return true;
    }
    try {
      const w = await handle.createWritable();
      await w.write(bytes);
      await w.close();
      return true;
    } catch (e) {
      handles.delete(name);
      return false;
    }
  }

  // --- The settings saved last, kept by this browser. ------------------------------------------
  function db() {
    return new Promise((resolve) => {
      let req;
      try {
        req = indexedDB.open('ostrova-settings', 1);
      } catch (e) {
        return resolve(null);
      }
      req.onupgradeneeded = () => req.result.createObjectStore('files');
      req.onsuccess = () => resolve(req.result);
      req.onerror = () => resolve(null);
    });
  }

  async function remember(key, bytes) {
    const d = await db();
    if (!d) return;
    await new Promise((resolve) => {
      const tx = d.transaction('files', 'readwrite');
      const store = tx.objectStore('files');
      store.put(bytes.slice(), key);
      tx.oncomplete = tx.onerror = tx.onabort = resolve;
    });
    d.close();
  }

  // [name, bytes] of every file saved beside the program, as this browser keeps them.
  async function recall() {
    const d = await db();
    if (!d) return [];
    const found = await new Promise((resolve) => {
      const files = [];
      const tx = d.transaction('files', 'readonly');
      const req = tx.objectStore('files').openCursor();
      req.onsuccess = () => {
        const c = req.result;
        if (!c) return resolve(files);
        files.push([String(c.key), new Uint8Array(c.value)]);
        c.continue();
      };
      req.onerror = () => resolve(files);
    });
    d.close();
    return found;
  }

  // --- What the program asks, with its file system at hand. ----------------------------------
  async function fontsReady() {
    try {
      await Promise.all([document.fonts.load('13px "Times New Roman"'), document.fonts.load('13px Arial'),
                         document.fonts.load('italic bold 18px Arial')]);
    } catch (e) {
      // measured with whatever font the page has
    }
  }

  async function recallInto(FS, dir) {
    for (const file of await recall()) {
      if (/^[^/]+$/.test(file[0])) FS.writeFile(dir + '/' + file[0], file[1]);
    }
  }

  async function pickInto(FS) {
    const f = await pickFile();
    if (!f) return 0;
    FS.mkdirTree('/loaded');
    const path = '/loaded/' + f.name.replace(/\//g, '_');
    try { FS.unlink(path); } catch (e) { /* not there yet */ }
    if (f.bytes) FS.writeFile(path, f.bytes);  // an unreadable file stays missing: it fails to open
    api.picked = path;
    return 1;
  }

  async function askSaveName(suggested, ext) {
    const name = await savePicker(suggested, ext);
    if (name === null) return -1;
    if (name === '') return 0;
    api.picked = name;
    return 1;
  }

  async function deliverFrom(FS, path, keep) {
    const bytes = FS.readFile(path);
    const name = path.substring(path.lastIndexOf('/') + 1);
    const dot = name.lastIndexOf('.');
    // The picker first, while the click on OK still counts as the user's.
    const delivered = await deliver(name, bytes, dot < 0 ? 'cfg' : name.substring(dot + 1));
    if (keep) await remember(name, bytes);
    return delivered ? 1 : 0;
  }

  const api = {fontsReady, recallInto, pickInto, askSaveName, deliverFrom, canPick, picked: ''};
  return api;
})();

// Offline after the first visit, and installable as an app.
if ('serviceWorker' in navigator && location.protocol.startsWith('http'))
  navigator.serviceWorker.register('sw.js').catch(() => {});
