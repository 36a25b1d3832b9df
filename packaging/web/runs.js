// The page's kept runs and run links. The program records every game into its in-memory file
// system (/runs) and tells the page as the run grows and when it ends; the page copies the file
// into IndexedDB (kept with the rest of the site's storage, which the page asks the browser to
// persist) and keeps the 20 newest there. A run travels as a link: the page's address with
// "#run=" and the recording compressed as raw deflate, in base64url without padding.
(function () {
  'use strict';

  // A browser's longest address, and the longest recording the program reads.
  var LINK_LIMIT = 2097152;
  var TEXT_LIMIT = 64 * 1024 * 1024;
  var KEPT = 20;
  // While a run goes on its copy is written at most once a second: a tab closed without warning
  // loses about a second of it; a hidden or closed page writes at once.
  var WRITE_GAP = 1000;
  var DATABASE = 'skiddlewick';
  var STORE = 'runs';
  var LINK_PREFIX = '#run=';

  function failure(message) {
    var error = new Error(message);
    error.shown = true;
    return error;
  }

  // -- links

  function toBase64Url(bytes) {
    var text = '';
    for (var i = 0; i < bytes.length; i += 0x8000)
      text += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
    return btoa(text).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
  }

  function fromBase64Url(text) {
    if (!/^[A-Za-z0-9_-]*$/.test(text) || text.length % 4 === 1)
      throw failure('This link is damaged: it holds no run.');
    var binary = atob(text.replace(/-/g, '+').replace(/_/g, '/'));
    var bytes = new Uint8Array(binary.length);
    for (var i = 0; i < binary.length; ++i) bytes[i] = binary.charCodeAt(i);
    return bytes;
  }

  // Reads a stream to its end, stopping as soon as it passes `limit` bytes.
  async function readBounded(stream, limit, tooLong) {
    var reader = stream.getReader();
    var parts = [];
    var total = 0;
    for (;;) {
      var next = await reader.read();
      if (next.done) break;
      total += next.value.length;
      if (total > limit) {
        reader.cancel().catch(function () {});
        throw failure(tooLong);
      }
      parts.push(next.value);
    }
    var bytes = new Uint8Array(total);
    var at = 0;
    parts.forEach(function (part) {
      bytes.set(part, at);
      at += part.length;
    });
    return bytes;
  }

  function isLink(hash) {
    return hash.indexOf(LINK_PREFIX) === 0;
  }

  // The recording a "#run=" address holds; a clear message (error.shown) when it holds none.
  async function decodeLink(address) {
    if (address.length > LINK_LIMIT)
      throw failure('This link is too long to play: a run link has at most ' + LINK_LIMIT +
                    ' characters.');
    var hash = address.slice(address.indexOf('#'));
    var packed = fromBase64Url(hash.slice(LINK_PREFIX.length));
    var inflated = new Blob([packed]).stream().pipeThrough(new DecompressionStream('deflate-raw'));
    try {
      return await readBounded(inflated, TEXT_LIMIT,
                               'This link\'s run is too long to play (more than 64 MiB).');
    } catch (e) {
      if (e.shown) throw e;
      throw failure('This link is damaged: its run cannot be read.');
    }
  }

  // The "#run=" hash of a recording's bytes.
  async function encodeLink(bytes) {
    var packed = new Blob([bytes]).stream().pipeThrough(new CompressionStream('deflate-raw'));
    var compressed = new Uint8Array(await new Response(packed).arrayBuffer());
    return LINK_PREFIX + toBase64Url(compressed);
  }

  // The "#run=" hash of a file the player chose or dropped, bounded as a link is.
  async function linkOfFile(file, pageAddress) {
    if (file.size > TEXT_LIMIT)
      throw failure('This file is too long to play (more than 64 MiB).');
    var hash = await encodeLink(new Uint8Array(await file.arrayBuffer()));
    if (pageAddress.length + hash.length > LINK_LIMIT)
      throw failure('This file\'s run is too long to play in the page.');
    return hash;
  }

  // -- storage

  var opened = null;

  function openDatabase() {
    if (!opened) {
      opened = new Promise(function (done, fail) {
        if (!window.indexedDB) return fail(new Error('no IndexedDB'));
        var request = indexedDB.open(DATABASE, 1);
        request.onupgradeneeded = function () {
          request.result.createObjectStore(STORE, { keyPath: 'name' });
        };
        request.onsuccess = function () { done(request.result); };
        request.onerror = function () { fail(request.error); };
      });
      opened.catch(function () { opened = null; });
    }
    return opened;
  }

  function finished(transaction) {
    return new Promise(function (done, fail) {
      transaction.oncomplete = function () { done(); };
      transaction.onerror = transaction.onabort = function () { fail(transaction.error); };
    });
  }

  // The program names a kept run by its start ("YYYYMMDD-HHMMSS"), with "-2", "-3"... for a
  // later one in the same second: newest first is by the stamp, then by that copy number.
  function copyOf(name) {
    var copy = /^.{15}-(\d+)\.replay$/.exec(name);
    return copy ? Number(copy[1]) : 1;
  }

  function newerFirst(a, b) {
    var stampA = a.slice(0, 15), stampB = b.slice(0, 15);
    if (stampA !== stampB) return stampA > stampB ? -1 : 1;
    return copyOf(b) - copyOf(a);
  }

  // Stores the runs and keeps the newest KEPT, in one transaction.
  async function storeRuns(runs) {
    var database = await openDatabase();
    var transaction = database.transaction(STORE, 'readwrite');
    var store = transaction.objectStore(STORE);
    runs.forEach(function (run) { store.put(run); });
    store.getAllKeys().onsuccess = function (event) {
      event.target.result.slice().sort(newerFirst).slice(KEPT).forEach(function (name) {
        store.delete(name);
      });
    };
    return finished(transaction);
  }

  // The kept runs, newest first.
  async function listRuns() {
    var database = await openDatabase();
    var transaction = database.transaction(STORE, 'readonly');
    var request = transaction.objectStore(STORE).getAll();
    await finished(transaction);
    return request.result.sort(function (a, b) { return newerFirst(a.name, b.name); });
  }

  // When the game started, from the file's "# kept DATE" line (its first lines only).
  function keptDate(bytes) {
    var head = new TextDecoder().decode(bytes.subarray(0, 4096));
    var found = /^# kept (\S+)/m.exec(head);
    var date = found ? new Date(found[1]) : new Date(NaN);
    return isNaN(date) ? null : date.toISOString();
  }

  // Copies the program's kept runs into storage: at once when one ends or the page goes away,
  // otherwise at most once a second. `files()` is the program's file system.
  function keeper(files) {
    var pending = {};
    var timer = null;
    var lastWrite = 0;

    function flush() {
      clearTimeout(timer);
      timer = null;
      lastWrite = Date.now();
      var runs = [];
      Object.keys(pending).forEach(function (path) {
        var summary = pending[path];
        delete pending[path];
        var bytes;
        try {
          bytes = files().readFile(path);
        } catch (e) {
          return;
        }
        // Once stored, an ended run has no more use for the page's memory.
        if (summary.ended) {
          try { files().unlink(path); } catch (e) { /* gone already */ }
        }
        runs.push({ name: path.slice(path.lastIndexOf('/') + 1), bytes: bytes,
                    kept: keptDate(bytes), score: summary.score, level: summary.level,
                    updates: summary.updates, ended: summary.ended });
      });
      if (runs.length)
        storeRuns(runs).catch(function (e) { console.warn('A run was not kept: ' + e); });
    }

    window.addEventListener('pagehide', flush);
    document.addEventListener('visibilitychange', function () {
      if (document.hidden) flush();
    });

    return function runKept(path, ended, score, level, updates) {
      pending[path] = { ended: ended, score: score, level: level, updates: updates };
      if (ended) {
        flush();
      } else if (!timer) {
        timer = setTimeout(flush, Math.max(0, lastWrite + WRITE_GAP - Date.now()));
      }
    };
  }

  window.skiddlewickRuns = {
    isLink: isLink, decodeLink: decodeLink, encodeLink: encodeLink, linkOfFile: linkOfFile,
    listRuns: listRuns, keeper: keeper,
  };
})();
