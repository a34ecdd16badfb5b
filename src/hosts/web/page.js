// The page's side of the web host: the canvas and its scaling, input, Web Audio, the animated
// cursor and the icon, the name-entry form, and the working directory with its record files.
//
// Record files: the working directory /tolvaro is an IndexedDB file system that keeps only
// mg.tol and lhb.lhb (the picture and cursor files beside them are links into the page's
// package). The game saves them the moment a record is made, and each of its fsyncs waits for
// an IndexedDB sync (Asyncify). Every write of a record file is also copied at once,
// synchronously, into localStorage together with the file's time, and an IndexedDB sync starts.
// A tab that closes writes the files (as a window closed on the desktop does) in its pagehide
// handler, where an IndexedDB sync may not get to finish; the localStorage copy is complete by
// then. At start-up a copy newer than what IndexedDB gave back (or one IndexedDB lacks) is
// written into the file.

var TolvaroWeb = (function () {
  'use strict';
  var WORK = '/tolvaro';
  var PACK = '/pack';
  var RECORD_FILES = ['mg.tol', 'lhb.lhb'];
  var LINKED = ['03_16', 'charImg', 'mouse6.ani'];
  var MIRROR_PREFIX = 'tolvaro:';
  var EventCode = {
    key: 1, move: 2, leftDown: 3, leftDouble: 4, rightDown: 5, paint: 6,
    dialogCommand: 11, dialogMove: 12, dialogLeftDown: 13, dialogRightDown: 14
  };
  var LEFT_FLAG = 1, RIGHT_FLAG = 2, IDOK = 1, IDCANCEL = 2;
  var FRAME_LOG_CAP = 100000;

  var web = {
    frameLog: [],       // [ms since the previous present began, ms the present took]
    firstFrameAt: 0,    // performance.now() at the end of the first present
    syncs: 0,           // IndexedDB syncs finished
    syncing: false,
    ended: false,
    replayed: []        // record files restored from the localStorage copy at start-up
  };

  var queue = [];
  var stage, screen, ctx, image, dialogBox, face, faceCtx, nameBox, soundSign, keySign;
  var width = 1024, height = 768;
  var started = false, dialogOpen = false, lastPresent = 0;

  function el(id) { return document.getElementById(id); }
  function push(type, w, l) { queue.push([type, w >>> 0, l >>> 0]); }
  function pack(x, y) { return ((y & 0xFFFF) << 16 | (x & 0xFFFF)) >>> 0; }

  // ---- the working directory and the record files ----

  function isRecordPath(path) {
    var slash = path.lastIndexOf('/');
    return path.slice(0, slash) === WORK && RECORD_FILES.indexOf(path.slice(slash + 1)) >= 0;
  }

  var syncing = false, syncAgain = false, dirty = false;
  function idbSync() {
    if (syncing) { syncAgain = true; return; }
    syncing = web.syncing = true;
    FS.syncfs(false, function (err) {
      web.syncError = err ? String(err && (err.message || err.errno || err)) : '';
      syncing = web.syncing = false;
      web.syncs++;
      if (syncAgain) { syncAgain = false; idbSync(); return; }
      syncWaiters.splice(0).forEach(function (f) { f(); });
    });
  }
  var syncWaiters = [];  // called once the files written so far are in IndexedDB

  // Once a record is saved, the browser is asked to keep the site's storage, which it may
  // otherwise clear under storage pressure or after days without a visit. A refusal changes
  // nothing for the player; the answer is kept for the tests.
  web.storageKept = null;
  var keepAsked = false;
  function keepStorage() {
    if (keepAsked || !navigator.storage || !navigator.storage.persist) return;
    // The first start makes the record files empty; that is nothing to keep yet.
    try { if (!FS.stat(WORK + '/lhb.lhb').size) return; } catch (e) { return; }
    keepAsked = true;
    navigator.storage.persist().then(function (kept) { web.storageKept = kept; },
                                     function () { web.storageKept = false; });
  }

  function toLatin1(bytes) {
    var s = '';
    for (var i = 0; i < bytes.length; i += 8192) {
      s += String.fromCharCode.apply(null, bytes.subarray(i, i + 8192));
    }
    return s;
  }
  function fromLatin1(s) {
    var bytes = new Uint8Array(s.length);
    for (var i = 0; i < s.length; i++) bytes[i] = s.charCodeAt(i) & 0xFF;
    return bytes;
  }

  function mirror() {
    RECORD_FILES.forEach(function (name) {
      var path = WORK + '/' + name;
      try {
        var data = FS.readFile(path);
        var time = FS.stat(path).mtime.getTime();
        localStorage.setItem(MIRROR_PREFIX + name, JSON.stringify({ t: time, d: toLatin1(data) }));
      } catch (e) { /* no such file yet, or no storage */ }
    });
  }

  // Copies what was written and starts writing it to IndexedDB.
  function persist() {
    if (!dirty) return;
    dirty = false;
    mirror();
    idbSync();
    keepStorage();
  }

  // While IndexedDB's files are being put back, their writes are not the game's.
  var restoring = false;
  function noteWrite(path) {
    if (restoring || !path || !isRecordPath(path)) return;
    dirty = true;
    queueMicrotask(persist);
  }

  function replayMirror() {
    RECORD_FILES.forEach(function (name) {
      var path = WORK + '/' + name, copy = null, time = -1;
      try { copy = JSON.parse(localStorage.getItem(MIRROR_PREFIX + name)); } catch (e) { copy = null; }
      if (!copy || typeof copy.t !== 'number' || typeof copy.d !== 'string') return;
      try { time = FS.stat(path).mtime.getTime(); } catch (e) { time = -1; }
      if (copy.t <= time) return;
      FS.writeFile(path, fromLatin1(copy.d));
      FS.utime(path, copy.t, copy.t);
      web.replayed.push(name);
    });
  }

  function mountWorkingDirectory() {
    // IndexedDB keeps the record files alone: the file system's own walk would follow the links
    // into the preloaded package.
    IDBFS.getLocalSet = function (mount, callback) {
      var entries = {};
      RECORD_FILES.forEach(function (name) {
        var path = WORK + '/' + name;
        try { entries[path] = { 'timestamp': FS.stat(path).mtime }; } catch (e) { /* not yet */ }
      });
      callback(null, { type: 'local', entries: entries });
    };
    var rename = FS.rename, close = FS.close;
    FS.rename = function (from, to) {
      rename(from, to);
      noteWrite(PATH.normalize(to.charAt(0) === '/' ? to : FS.cwd() + '/' + to));
    };
    FS.close = function (stream) {
      var path = stream.path, wrote = (stream.flags & 3) !== 0;
      close(stream);
      if (wrote) noteWrite(path);
    };

    FS.mkdir(WORK);
    FS.mount(IDBFS, {}, WORK);
    LINKED.forEach(function (name) { FS.symlink(PACK + '/' + name, WORK + '/' + name); });
    FS.chdir(WORK);
    addRunDependency('tolvaro-records');
    restoring = true;
    FS.syncfs(true, function () {
      try { replayMirror(); } catch (e) { /* start with what IndexedDB had */ }
      restoring = false;
      if (web.replayed.length) { dirty = true; persist(); }
      removeRunDependency('tolvaro-records');
    });
  }

  // ---- the picture ----

  function fit() {
    var w = window.innerWidth, h = window.innerHeight;
    var s = Math.min(w / width, h / height);
    stage.style.transform = 'translate(' + (w - width * s) / 2 + 'px,' + (h - height * s) / 2 +
                            'px) scale(' + s + ')';
  }

  web.openCanvas = function (w, h) {
    width = w; height = h;
    ctx = screen.getContext('2d', { alpha: false });
    ctx.fillStyle = '#000';
    ctx.fillRect(0, 0, w, h);
    image = ctx.createImageData(w, h);
    started = true;
    fit();
  };

  // Only the rectangle x, y, dw, dh changed: its rows are copied, and only it is put.
  web.present = function (rgba, w, h, x, y, dw, dh) {
    var start = performance.now();
    if (image.width !== w || image.height !== h) {
      image = ctx.createImageData(w, h);
      x = 0; y = 0; dw = w; dh = h;  // a new image holds nothing yet
    }
    for (var row = y; row < y + dh; ++row) {
      var from = rgba + (row * w + x) * 4;
      image.data.set(HEAPU8.subarray(from, from + dw * 4), (row * w + x) * 4);
    }
    if (dw > 0 && dh > 0) ctx.putImageData(image, 0, 0, x, y, dw, dh);
    var end = performance.now();
    if (!web.firstFrameAt) {
      web.firstFrameAt = end;
      window.dispatchEvent(new Event('tolvaro-first-frame'));
    }
    if (web.frameLog.length < FRAME_LOG_CAP) {
      web.frameLog.push([lastPresent ? start - lastPresent : 0, end - start]);
    }
    lastPresent = start;
  };

  web.programEnded = function () {
    web.ended = true;
    started = false;
    web.stopSound();
    ctx.fillStyle = '#000';
    ctx.fillRect(0, 0, width, height);
    el('ended-sign').style.display = 'block';
  };

  // ---- sleeping: a message hop first, so the timer that follows is not clamped ----

  var hopChannel = new MessageChannel(), hopNext = null;
  hopChannel.port1.onmessage = function () { var f = hopNext; hopNext = null; if (f) f(); };
  web.wakeAt = function (until, wakeUp) {
    hopNext = function () {
      var left = until - performance.now();
      if (left < 0.5) wakeUp(); else setTimeout(wakeUp, Math.round(left));
    };
    hopChannel.port2.postMessage(0);
  };

  web.nextEvent = function (out) {
    if (!queue.length) return 0;
    var e = queue.shift();
    HEAPU32[out >> 2] = e[0];
    HEAPU32[(out >> 2) + 1] = e[1];
    HEAPU32[(out >> 2) + 2] = e[2];
    return 1;
  };

  // ---- input ----

  // The key's virtual-key code: Enter (either), Esc, and letters by the letter on the key;
  // a key of another script's layout counts as the Latin letter of its place.
  function virtualKey(e) {
    // A key an input method takes for its composition comes as 'Process' (229): its place on
    // the keyboard still names it.
    if (e.key === 'Process' || e.keyCode === 229 || e.isComposing) {
      if (e.code === 'Enter' || e.code === 'NumpadEnter') return 13;
      if (e.code === 'Escape') return 27;
      return /^Key[A-Z]$/.test(e.code) ? e.code.charCodeAt(3) : 0;
    }
    if (e.key === 'Enter' || e.code === 'NumpadEnter') return 13;
    if (e.key === 'Escape') return 27;
    if (e.key && e.key.length === 1) {
      var c = e.key.toUpperCase().charCodeAt(0);
      if (c >= 65 && c <= 90) return c;
      if (c >= 0x80 && /^Key[A-Z]$/.test(e.code)) return e.code.charCodeAt(3);
    }
    return 0;
  }
  var PAGE_KEYS = /^(Tab|Backspace| |Spacebar|Arrow.*|Page.*|Home|End|Enter|Escape|F1|F3|\/|')$/;

  function pointerIn(target, e, w, h, clamp) {
    var r = target.getBoundingClientRect();
    var x = Math.floor((e.clientX - r.left) * w / r.width);
    var y = Math.floor((e.clientY - r.top) * h / r.height);
    if (clamp) return [Math.min(Math.max(x, 0), w - 1), Math.min(Math.max(y, 0), h - 1)];
    return x >= 0 && y >= 0 && x < w && y < h ? [x, y] : null;
  }
  function buttons(e) {
    return (e.buttons & 1 ? LEFT_FLAG : 0) | (e.buttons & 2 ? RIGHT_FLAG : 0);
  }

  function onKeyDown(e) {
    unlockSound();
    noteKeyboard();
    if (e.ctrlKey || e.metaKey || e.altKey) return;
    if (dialogOpen) {
      if (e.isComposing || e.keyCode === 229) return;
      if (e.key === 'Enter' || e.key === 'Escape') {
        push(EventCode.dialogCommand, e.key === 'Enter' ? IDOK : IDCANCEL, 0);
        e.preventDefault();
      } else if (e.target !== nameBox) {
        nameBox.focus();
      }
      return;
    }
    var code = virtualKey(e);
    if (code || PAGE_KEYS.test(e.key)) e.preventDefault();
    if (code && started) push(EventCode.key, code, 0);
  }

  // A mouse event the browser made from a touch: the pointer events have told it already.
  function fromTouch(e) { return !!(e.sourceCapabilities && e.sourceCapabilities.firesTouchEvents); }

  function onMouseMove(e) {
    if (!started || dialogOpen || fromTouch(e)) return;
    var at = pointerIn(screen, e, width, height, false);
    if (at) push(EventCode.move, buttons(e), pack(at[0], at[1]));
  }

  function onMouseDown(e) {
    e.preventDefault();
    if (fromTouch(e)) return;
    screen.focus();
    if (web.ended) { location.reload(); return; }
    if (!started || dialogOpen) return;
    var at = pointerIn(screen, e, width, height, true);
    if (e.button === 0) {
      // As Windows reports it: every second press of a double click is a double click.
      var second = e.detail >= 2 && e.detail % 2 === 0;
      push(second ? EventCode.leftDouble : EventCode.leftDown, LEFT_FLAG, pack(at[0], at[1]));
    } else if (e.button === 2) {
      push(EventCode.rightDown, RIGHT_FLAG, pack(at[0], at[1]));
    }
  }

  // A touch or a pen: a tap is a move to its point, then a left press. Held back, the browser's
  // own mouse events that would follow do not come (and are left out where they still come).
  function onTapDown(e) {
    if (e.pointerType === 'mouse') return;
    e.preventDefault();
    unlockSound();
    if (web.ended) { location.reload(); return; }
    if (!started || dialogOpen) return;
    var at = pointerIn(screen, e, width, height, true);
    push(EventCode.move, LEFT_FLAG, pack(at[0], at[1]));
    push(EventCode.leftDown, LEFT_FLAG, pack(at[0], at[1]));
  }
  function onTapMove(e) {
    if (e.pointerType === 'mouse' || !started || dialogOpen) return;
    var at = pointerIn(screen, e, width, height, false);
    if (at) push(EventCode.move, buttons(e), pack(at[0], at[1]));
  }
  function onFaceTap(e) {
    if (e.pointerType === 'mouse') return;
    e.preventDefault();
    if (!dialogOpen) return;
    var at = pointerIn(face, e, face.width, face.height, true);
    push(EventCode.dialogMove, LEFT_FLAG, pack(at[0], at[1]));
    push(EventCode.dialogLeftDown, LEFT_FLAG, pack(at[0], at[1]));
  }

  // ---- letters come from a keyboard: a sign says so while a game waits for them and none
  // has been used, in the free part of the screen the game names ----

  var keyboardUsed = false;
  function noteKeyboard() {
    keyboardUsed = true;
    keySign.style.display = 'none';
  }
  var KEY_SIGN_INSET = 8, FULL_SCREEN_ROOM = 74;  // the full-screen button sits at its right end
  web.gameTakesLetters = function (on, x, y, w, h) {
    keySign.style.left = x + KEY_SIGN_INSET + 'px';
    keySign.style.top = y + KEY_SIGN_INSET + 'px';
    keySign.style.width = w - 2 * KEY_SIGN_INSET - FULL_SCREEN_ROOM + 'px';
    keySign.style.height = h - 2 * KEY_SIGN_INSET + 'px';
    keySign.style.display = on && !keyboardUsed ? 'flex' : 'none';
  };

  // ---- full screen; there Esc is the game's (held down, it leaves full screen) ----

  function toggleFullScreen(e) {
    e.preventDefault();
    e.stopPropagation();
    unlockSound();
    if (document.fullscreenElement) {
      document.exitFullscreen();
      return;
    }
    document.documentElement.requestFullscreen().then(function () {
      if (navigator.keyboard && navigator.keyboard.lock) navigator.keyboard.lock(['Escape']);
    }, function () {});
  }
  function onFullScreenChange() {
    el('full').textContent = document.fullscreenElement ? '退出全屏' : '全屏';
    if (!document.fullscreenElement && navigator.keyboard && navigator.keyboard.unlock) {
      navigator.keyboard.unlock();
    }
  }

  // ---- sound: one at a time, heard only after the page's first click or key ----

  var audio = null, unlocked = false, buffers = {}, current = null;

  function audioContext() {
    if (audio === null) {
      // Even where the browser would let it play at once, the page stays silent until the
      // first click or key, as its sign says.
      try { audio = new (window.AudioContext || window.webkitAudioContext)(); } catch (e) { audio = false; }
    }
    return audio;
  }

  function begin(sound) {
    if (current !== sound || !unlocked || sound.source || !buffers[sound.id]) return;
    var source = audio.createBufferSource();
    source.buffer = buffers[sound.id];
    source.loop = sound.loop;
    source.connect(audio.destination);
    source.start();
    sound.source = source;
  }

  function unlockSound() {
    if (unlocked) return;
    unlocked = true;
    soundSign.style.display = 'none';
    var a = audioContext();
    if (!a) return;
    a.resume();
    // Music asked for before the first click starts now; a short sound's moment has passed.
    if (current && current.loop) begin(current); else current = null;
  }

  web.stopSound = function () {
    if (current && current.source) {
      try { current.source.stop(); } catch (e) { /* already ended */ }
    }
    current = null;
  };

  function decodeSound(id, data) {
    buffers[id] = null;
    audio.decodeAudioData(data).then(function (buffer) {
      buffers[id] = buffer;
      if (current && current.id === id) begin(current);
    }, function () { delete buffers[id]; });
  }

  web.playSound = function (id, loop, bytes, length) {
    web.stopSound();
    var a = audioContext();
    // No bytes: a long sound still being unpacked, which starts when it comes (soundWritten).
    if (!a || (!length && !web.soundPending(id))) return;
    var sound = { id: id, loop: !!loop, source: null };
    current = sound;
    if (buffers[id]) { begin(sound); return; }
    if (buffers[id] === null || !length) return;  // being decoded, or to come: it starts when ready if still asked for
    decodeSound(id, HEAPU8.slice(bytes, bytes + length).buffer);
  };
  web.soundWritten = function (id, file) {
    if (audio && current && current.id === id && buffers[id] === undefined) decodeSound(id, file.slice().buffer);
  };

  // ---- cursor and icon ----

  // The animated cursor file's frames (each a .cur file) as cursor pictures, and its steps.
  function readAnimatedCursor(bytes) {
    var view = new DataView(bytes.buffer, bytes.byteOffset, bytes.byteLength);
    function tag(at) { return String.fromCharCode(bytes[at], bytes[at + 1], bytes[at + 2], bytes[at + 3]); }
    if (bytes.length < 12 || tag(0) !== 'RIFF' || tag(8) !== 'ACON') return null;
    var frames = [], rates = null, seq = null, rate = 10, steps = 0;
    function walk(at, end) {
      while (at + 8 <= end) {
        var id = tag(at), size = view.getUint32(at + 4, true), body = at + 8;
        if (body + size > end) return;
        if (id === 'anih' && size >= 36) {
          steps = view.getUint32(body + 8, true);
          rate = view.getUint32(body + 28, true) || 10;
        } else if (id === 'rate') {
          rates = [];
          for (var i = 0; i + 4 <= size; i += 4) rates.push(view.getUint32(body + i, true));
        } else if (id === 'seq ') {
          seq = [];
          for (var j = 0; j + 4 <= size; j += 4) seq.push(view.getUint32(body + j, true));
        } else if (id === 'LIST' && size >= 4 && tag(body) === 'fram') {
          walk(body + 4, body + size);
        } else if (id === 'icon') {
          frames.push(bytes.slice(body, body + size));
        }
        at = body + size + (size & 1);
      }
    }
    walk(12, bytes.length);
    if (!frames.length) return null;
    if (!steps) steps = seq ? seq.length : frames.length;
    var list = [];
    for (var s = 0; s < steps; s++) {
      var frame = seq ? seq[s] : s;
      if (frame >= frames.length) return null;
      list.push({ frame: frame, ms: Math.max(1, (rates && rates[s] || rate) * 1000 / 60) });
    }
    var pictures = frames.map(function (cur) {
      // A cursor file's first picture names its hot spot.
      var hx = cur.length >= 14 ? cur[10] | cur[11] << 8 : 0;
      var hy = cur.length >= 14 ? cur[12] | cur[13] << 8 : 0;
      var url = URL.createObjectURL(new Blob([cur], { type: 'image/x-icon' }));
      return 'url(' + url + ') ' + hx + ' ' + hy + ', auto';
    });
    return { pictures: pictures, steps: list };
  }

  web.cursor = null;
  web.setCursor = function (path) {
    var bytes;
    try { bytes = FS.readFile(path); } catch (e) { return; }
    var cursor = readAnimatedCursor(bytes);
    if (!cursor) return;
    web.cursor = cursor;
    var step = 0;
    (function show() {
      var s = cursor.steps[step];
      stage.style.cursor = cursor.pictures[s.frame];
      step = (step + 1) % cursor.steps.length;
      if (cursor.steps.length > 1) setTimeout(show, s.ms);
    })();
  };

  web.setIcon = function (bytes) {
    el('icon').href = URL.createObjectURL(new Blob([bytes], { type: 'image/x-icon' }));
  };

  // ---- the name-entry dialog; the game's dialog procedure draws its buttons ----

  var gbkTable = null;
  function gbkEncoder() {
    if (gbkTable) return gbkTable;
    gbkTable = new Map();
    var pairs = [];
    for (var lead = 0x81; lead <= 0xFE; lead++) {
      for (var trail = 0x40; trail <= 0xFE; trail++) {
        if (trail !== 0x7F) pairs.push(lead, trail, 0x0A);
      }
    }
    var chars = new TextDecoder('gbk').decode(new Uint8Array(pairs)).split('\n');
    for (var i = 0; i < chars.length && i * 3 < pairs.length; i++) {
      var ch = chars[i];
      if (ch.length === 1 && ch !== '\uFFFD' && !gbkTable.has(ch)) {
        gbkTable.set(ch, [pairs[i * 3], pairs[i * 3 + 1]]);
      }
    }
    return gbkTable;
  }
  // Printable ASCII and the characters GBK has, each whole; the rest is left out.
  web.toGbk = function (text) {
    var table = gbkEncoder(), out = [];
    for (var ch of text) {
      var c = ch.codePointAt(0);
      if (c < 0x80) {
        if (c >= 0x20 && c !== 0x7F) out.push(c);
      } else if (table.has(ch)) {
        out.push.apply(out, table.get(ch));
      }
    }
    return new Uint8Array(out);
  };

  function putPixels(target, rgba, w, h, x, y) {
    var picture = target.createImageData(w, h);
    picture.data.set(HEAPU8.subarray(rgba, rgba + w * h * 4));
    target.putImageData(picture, x, y);
  }

  web.openDialog = function (rgba, w, h) {
    faceCtx.fillStyle = '#fff';
    faceCtx.fillRect(0, 0, face.width, face.height);
    if (w && h) putPixels(faceCtx, rgba, w, h, 0, 0);
    nameBox.value = '';
    dialogBox.style.display = 'block';
    dialogOpen = true;
    nameBox.focus();
  };
  web.drawOnDialog = function (rgba, w, h, x, y) { putPixels(faceCtx, rgba, w, h, x, y); };
  web.dialogText = function (lengthOut) {
    var bytes = web.toGbk(nameBox.value);
    var at = _malloc(bytes.length + 1);
    HEAPU8.set(bytes, at);
    HEAP32[lengthOut >> 2] = bytes.length;
    return at;
  };
  web.setDialogText = function (gbk) { nameBox.value = new TextDecoder('gbk').decode(gbk); };
  web.closeDialog = function () {
    dialogOpen = false;
    dialogBox.style.display = 'none';
    nameBox.blur();
    screen.focus();
  };

  function onFaceMove(e) {
    if (!dialogOpen || fromTouch(e)) return;
    var at = pointerIn(face, e, face.width, face.height, false);
    if (at) push(EventCode.dialogMove, buttons(e), pack(at[0], at[1]));
  }
  function onFaceDown(e) {
    e.preventDefault();  // the name box keeps the focus
    if (!dialogOpen || fromTouch(e)) return;
    var at = pointerIn(face, e, face.width, face.height, true);
    if (e.button === 0) push(EventCode.dialogLeftDown, LEFT_FLAG, pack(at[0], at[1]));
    if (e.button === 2) push(EventCode.dialogRightDown, RIGHT_FLAG, pack(at[0], at[1]));
  }

  // ---- leaving the page: a closed tab is a closed window ----

  // With Asyncify, fsync waits for IndexedDB, which a page that is going away cannot do: its
  // last save (called from pagehide, while the game sleeps) must not sleep again.
  var closing = false, fileSync = _fd_sync;
  _fd_sync = function (fd) { return closing ? 0 : fileSync(fd); };

  function onPageHide() {
    closing = true;
    if (started && !web.ended) {
      try { _tolvaro_web_close(); } catch (e) { /* the game has gone */ }
    }
    persist();
    idbSync();
  }

  // Ends the game as a closed tab does; `done` runs once IndexedDB holds what it saved.
  web.endAndSave = function (done) {
    syncWaiters.push(done);
    onPageHide();
  };

  function setUp() {
    stage = el('stage'); screen = el('screen'); dialogBox = el('dialog'); face = el('dialog-face');
    faceCtx = face.getContext('2d'); nameBox = el('name'); soundSign = el('sound-sign');
    keySign = el('key-sign');
    screen.tabIndex = 0;
    fit();
    window.addEventListener('resize', fit);
    window.addEventListener('keydown', onKeyDown, true);
    window.addEventListener('mousemove', onMouseMove);
    window.addEventListener('pointerdown', unlockSound, true);
    window.addEventListener('contextmenu', function (e) { e.preventDefault(); });
    window.addEventListener('wheel', function (e) { e.preventDefault(); }, { passive: false });
    screen.addEventListener('mousedown', onMouseDown);
    screen.addEventListener('pointerdown', onTapDown);
    screen.addEventListener('pointermove', onTapMove);
    face.addEventListener('pointerdown', onFaceTap);
    face.addEventListener('mousemove', onFaceMove);
    face.addEventListener('mousedown', onFaceDown);
    el('full').addEventListener('mousedown', toggleFullScreen);
    document.addEventListener('fullscreenchange', onFullScreenChange);
    window.addEventListener('pagehide', onPageHide);
    window.addEventListener('pageshow', function (e) { if (e.persisted && web.ended) location.reload(); });
    document.addEventListener('visibilitychange', function () {
      if (document.visibilityState === 'hidden') { persist(); idbSync(); }
    });
    window.addEventListener('focus', function () { if (started && !dialogOpen) push(EventCode.paint, 0, 0); });
  }

  Module['preRun'] = Module['preRun'] || [];
  Module['preRun'].push(function () {
    setUp();
    // The records are read only once this tab may play (one-tab.js).
    addRunDependency('tolvaro-one-tab');
    TolvaroOneTab.whenPlaying(function () {
      mountWorkingDirectory();
      removeRunDependency('tolvaro-one-tab');
    });
  });
  return web;
})();
