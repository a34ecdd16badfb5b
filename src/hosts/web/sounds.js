// The long sounds come as Opus files (sounds.json lists them). Each is decoded at its own rate
// and written back as the WAVE file the game reads, in its own format and with its exact length
// in frames. A sound that cannot be had stays missing: the game is silent there, as with any
// missing sound.
(function () {
  'use strict';
  var WAVE_DIR = '/res/wave';
  var started = performance.now();

  function bytesOf(base64) {
    return Uint8Array.from(atob(base64), function (c) { return c.charCodeAt(0); });
  }

  // The decoded samples as the WAVE file's own: 16-bit signed or 8-bit unsigned, interleaved.
  function waveFile(sound, decoded) {
    var head = bytesOf(sound.head), tail = bytesOf(sound.tail);
    var step = sound.bits / 8, size = sound.frames * sound.channels * step;
    var file = new Uint8Array(head.length + size + tail.length);
    file.set(head, 0);
    file.set(tail, head.length + size);
    var view = new DataView(file.buffer, head.length, size);
    var frames = Math.min(sound.frames, decoded.length);
    for (var c = 0; c < sound.channels; c++) {
      var from = decoded.getChannelData(Math.min(c, decoded.numberOfChannels - 1));
      for (var i = 0; i < frames; i++) {
        var v = Math.max(-1, Math.min(1, from[i])), at = (i * sound.channels + c) * step;
        if (step === 2) view.setInt16(at, Math.max(-32768, Math.min(32767, Math.round(v * 32768))), true);
        else view.setUint8(at, Math.max(0, Math.min(255, Math.round(v * 128) + 128)));
      }
    }
    // Frames the decoder did not give are silence.
    if (step === 1) file.fill(128, head.length + frames * sound.channels, head.length + size);
    return file;
  }

  function decode(sound) {
    return fetch(sound.file).then(function (r) {
      if (!r.ok) throw new Error(sound.file + ': ' + r.status);
      return r.arrayBuffer();
    }).then(function (bytes) {
      var context = new OfflineAudioContext(sound.channels, Math.max(1, sound.frames), sound.rate);
      return context.decodeAudioData(bytes);
    }).then(function (samples) { return { id: sound.id, file: waveFile(sound, samples) }; });
  }

  // Fetching and decoding start at once, beside the program's own download, one sound after
  // another; the game starts without waiting, and waits only when it asks for a sound still on
  // its way, which is then decoded next.
  var listed = false, pending = new Set(), decoded = [], fileSystemReady = false, settled;
  var waiting = [];
  TolvaroWeb.soundErrors = [];
  TolvaroWeb.soundsSettled = new Promise(function (resolve) { settled = resolve; });
  TolvaroWeb.soundPending = function (id) {
    var at = waiting.findIndex(function (sound) { return sound.id === id; });
    if (at >= 0) start(waiting.splice(at, 1)[0]);
    return !listed || pending.has(id);
  };
  function start(sound) {
    decode(sound).then(function (made) { settle(sound.id, made.file, null); },
                       function (e) { settle(sound.id, null, e); })
      .then(function () { if (waiting.length) start(waiting.shift()); });
  }

  function write(id, file) {
    FS.mkdirTree(WAVE_DIR);
    FS.writeFile(WAVE_DIR + '/' + id + '.wav', file, { canOwn: true });
    pending.delete(id);
    TolvaroWeb.soundWritten(id, file);
    done();
  }
  function done() {
    if (pending.size || !listed || TolvaroWeb.soundsUnpackedMs) return;
    TolvaroWeb.soundsUnpackedMs = performance.now() - started;
    settled();
  }
  function settle(id, file, error) {
    if (error) {
      TolvaroWeb.soundErrors.push(String(error));
      pending.delete(id);
      done();
    } else if (fileSystemReady) {
      write(id, file);
    } else {
      decoded.push([id, file]);
    }
  }

  fetch('sounds.json').then(function (r) {
    if (!r.ok) throw new Error('sounds.json: ' + r.status);
    return r.json();
  }).then(function (list) {
    list.sounds.forEach(function (sound) { pending.add(sound.id); });
    listed = true;
    waiting = list.sounds.slice();
    if (waiting.length) start(waiting.shift());
    done();
  }).catch(function (e) {
    TolvaroWeb.soundErrors.push(String(e));
    listed = true;
    done();
  });

  Module['preRun'] = Module['preRun'] || [];
  Module['preRun'].push(function () {
    fileSystemReady = true;
    decoded.forEach(function (d) { write(d[0], d[1]); });
    decoded = [];
  });
})();
