// The web page's files beside the program, made by the build:
//   node page_files.mjs sounds WAVE_DIR KEPT_DIR WEB_DIR
//     Long PCM sounds become Ogg Opus files in WEB_DIR/sounds with a list (sounds.json) of what
//     the page needs to make each back into a WAVE file of the same format and length: the
//     bytes around its samples and its frame count. The other sounds are copied to KEPT_DIR.
//   node page_files.mjs finish WEB_DIR APP_DIR SERVICE_WORKER
//     The page's own name index.html, the app manifest and its icons from APP_DIR, the service
//     worker, and the list it keeps (files.json): the page's version, a hash of every file in
//     it, and the files.
import { createHash } from 'node:crypto';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';

// Shorter or packed sounds are left as they are: they cost little and stay exact.
const SMALLEST_PACKED_SAMPLES = 64 * 1024;
const OPUS_KBITS = 64;

function chunks(bytes) {
  const found = {};
  if (bytes.toString('latin1', 0, 4) !== 'RIFF' || bytes.toString('latin1', 8, 12) !== 'WAVE') return found;
  for (let at = 12; at + 8 <= bytes.length;) {
    const id = bytes.toString('latin1', at, at + 4), size = bytes.readUInt32LE(at + 4);
    if (at + 8 + size > bytes.length) break;
    found[id] ??= { at: at + 8, size };
    at += 8 + size + (size & 1);
  }
  return found;
}

function packSounds(waveDir, keptDir, webDir) {
  const soundsDir = path.join(webDir, 'sounds');
  fs.rmSync(soundsDir, { recursive: true, force: true });
  fs.rmSync(keptDir, { recursive: true, force: true });
  fs.mkdirSync(soundsDir, { recursive: true });
  fs.mkdirSync(keptDir, { recursive: true });
  const list = [];
  let before = 0, after = 0;
  for (const name of fs.readdirSync(waveDir).sort()) {
    const file = path.join(waveDir, name), bytes = fs.readFileSync(file);
    const { 'fmt ': fmt, data } = chunks(bytes);
    const format = fmt && fmt.size >= 16 ? {
      tag: bytes.readUInt16LE(fmt.at), channels: bytes.readUInt16LE(fmt.at + 2),
      rate: bytes.readUInt32LE(fmt.at + 4), align: bytes.readUInt16LE(fmt.at + 12),
      bits: bytes.readUInt16LE(fmt.at + 14)
    } : null;
    const pcm = format && data && format.tag === 1 && (format.bits === 8 || format.bits === 16) &&
                format.align === format.channels * format.bits / 8 && data.size % format.align === 0;
    const id = /^(\d+)\.wav$/.exec(name);
    if (!id || !pcm || data.size < SMALLEST_PACKED_SAMPLES) {
      fs.copyFileSync(file, path.join(keptDir, name));
      continue;
    }
    const opus = `sounds/${id[1]}.opus`;
    // A fixed stream serial keeps the build, and so the page's version, the same for the same sounds.
    execFileSync('opusenc', ['--quiet', '--serial', id[1], '--bitrate', String(OPUS_KBITS), '--comp', '10',
                             file, path.join(webDir, opus)]);
    list.push({
      id: Number(id[1]), file: opus, frames: data.size / format.align, channels: format.channels,
      rate: format.rate, bits: format.bits,
      head: bytes.subarray(0, data.at).toString('base64'),
      tail: bytes.subarray(data.at + data.size).toString('base64')
    });
    before += bytes.length;
    after += fs.statSync(path.join(webDir, opus)).size;
  }
  fs.writeFileSync(path.join(webDir, 'sounds.json'), JSON.stringify({ sounds: list }));
  console.log(`sounds: ${list.length} packed, ${before} bytes of WAVE to ${after} of Opus`);
}

function filesUnder(dir, prefix = '') {
  return fs.readdirSync(dir, { withFileTypes: true }).flatMap((entry) => entry.isDirectory()
    ? filesUnder(path.join(dir, entry.name), `${prefix}${entry.name}/`)
    : [`${prefix}${entry.name}`]).sort();
}

function finish(webDir, appDir, worker) {
  fs.copyFileSync(path.join(webDir, 'tolvaro.html'), path.join(webDir, 'index.html'));
  for (const name of fs.readdirSync(appDir)) fs.copyFileSync(path.join(appDir, name), path.join(webDir, name));
  const kept = filesUnder(webDir).filter((f) => f !== 'sw.js' && f !== 'tolvaro.html' && f !== 'files.json');
  const hash = createHash('sha256');
  for (const f of kept) hash.update(f).update('\0').update(fs.readFileSync(path.join(webDir, f)));
  const version = hash.digest('hex').slice(0, 16);
  fs.copyFileSync(worker, path.join(webDir, 'sw.js'));
  fs.writeFileSync(path.join(webDir, 'files.json'), JSON.stringify({ version, files: ['./', ...kept] }));
  console.log(`web page version ${version}: ${kept.length} files`);
}

const [command, ...args] = process.argv.slice(2);
if (command === 'sounds' && args.length === 3) packSounds(...args);
else if (command === 'finish' && args.length === 3) finish(...args);
else {
  console.error('usage: page_files.mjs sounds WAVE_DIR KEPT_DIR WEB_DIR | finish WEB_DIR APP_DIR SERVICE_WORKER');
  process.exit(2);
}
