// The page as an installed app, in real headless Chromium, served with gzip under a folder of
// the site: what the first visit downloads, the manifest and its icons, the service worker, a
// reload with the server gone (the menu, the exact picture and sound files, a caught letter), a
// rebuilt page replacing the cache while a saved record stays, and a game played by touch.
// Usage: node app_test.mjs <web folder> <generated tree>. Speed and memory are printed, not tested.
import { execFileSync } from 'node:child_process';
import { createHash } from 'node:crypto';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import zlib from 'node:zlib';
import { W, H, check, differing, failures, firstFrame as firstFrameOf, formOpen as formOpenOf,
         generated, launch, newPage, shoot as shootOf, sleep, until, within } from './lib.mjs';

const [webDir, genDir] = process.argv.slice(2).map((p) => path.resolve(p));
const here = path.dirname(new URL(import.meta.url).pathname);
const pageFiles = path.join(here, '../../src/hosts/web/page_files.mjs');
const serviceWorker = path.join(here, '../../src/hosts/web/sw.js');
const TRANSFER_GOAL = 3.0e6;
const PREFIX = '/schools/typing/tolvaro/';
const { bitmap, showsText, catchLetters: catchLettersOf } = generated(genDir);

function pngSize(bytes) {
  return bytes.toString('latin1', 1, 4) === 'PNG' ? [bytes.readUInt32BE(16), bytes.readUInt32BE(20)] : null;
}

// ---- the site: the page under PREFIX, gzip where the browser takes it, a switch that cuts it off ----

const TYPES = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
                '.json': 'application/json', '.webmanifest': 'application/manifest+json',
                '.png': 'image/png', '.opus': 'audio/ogg' };
function serveSite(root) {
  const site = { offline: false, reached: [], sentBytes: 0, gzipped: new Map() };
  const server = http.createServer((req, res) => {
    const url = new URL(req.url, 'http://localhost');
    if (site.offline) {
      // The checks for a new version (the browser's for the worker, the worker's for the page)
      // are no use of the page.
      if (!/\/(sw\.js|files\.json)$/.test(url.pathname)) site.reached.push(url.pathname);
      req.socket.destroy();
      return;
    }
    let rel = url.pathname.startsWith(PREFIX) ? decodeURIComponent(url.pathname.slice(PREFIX.length)) : null;
    if (rel === '') rel = 'index.html';
    const file = rel === null ? '' : path.join(root, rel);
    if (!file.startsWith(root + path.sep) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      res.writeHead(404).end();
      return;
    }
    const body = fs.readFileSync(file), tag = `"${createHash('sha1').update(body).digest('hex')}"`;
    if (req.headers['if-none-match'] === tag) {
      res.writeHead(304, { ETag: tag }).end();
      return;
    }
    const gzip = /\bgzip\b/.test(req.headers['accept-encoding'] || '');
    if (gzip && !site.gzipped.has(tag)) site.gzipped.set(tag, zlib.gzipSync(body));
    const out = gzip ? site.gzipped.get(tag) : body;
    res.writeHead(200, { 'Content-Type': TYPES[path.extname(file)] || 'application/octet-stream',
                         'Content-Length': out.length, 'Cache-Control': 'no-cache', ETag: tag,
                         ...(gzip ? { 'Content-Encoding': 'gzip' } : {}) });
    site.sentBytes += out.length;
    res.end(out);
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => {
    site.server = server;
    site.url = `http://127.0.0.1:${server.address().port}${PREFIX}`;
    resolve(site);
  }));
}

const work = fs.mkdtempSync(path.join(os.tmpdir(), 'tolvaro-app-'));
const root = path.join(work, 'site'), profile = path.join(work, 'profile');
fs.cpSync(webDir, root, { recursive: true });
const site = await serveSite(root);
const browser = await launch(profile);
const page = await newPage(browser);
const cdp = await page.createCDPSession();

const firstFrame = () => firstFrameOf(page);
const shoot = () => shootOf(page);
const shows = (id, x, y, w) => within(`picture ${id}`, async () =>
  differing(await shoot(), bitmap(id), x, y, 0, 0, w) === 0);
const swVersion = () => JSON.parse(fs.readFileSync(path.join(root, 'files.json'))).version;
const cacheNames = () => page.evaluate(() => caches.keys());
async function tap(x, y) {
  await cdp.send('Input.dispatchTouchEvent', { type: 'touchStart', touchPoints: [{ x, y }] });
  await cdp.send('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [] });
}
// The tab's own memory: the anonymous resident memory of its renderer process (the largest).
function rendererMemoryMb() {
  const pids = execFileSync('ps', ['-eo', 'pid=,args=']).toString().split('\n')
    .filter((l) => l.includes('--type=renderer') && l.includes(profile)).map((l) => parseInt(l, 10));
  const kb = pids.map((pid) => {
    try { return Number(/RssAnon:\s+(\d+)/.exec(fs.readFileSync(`/proc/${pid}/status`, 'utf8'))[1]); } catch (e) { return 0; }
  });
  return Math.max(0, ...kb) / 1024;
}

// Places of the game's screens.
// The lobby's first button at rest, left of its label.
const START_ITEM = [800, 225], LOBBY_START = [800, 115], LOBBY_BUTTON = [155, 724, 98, 80];
const RECORDS_NAME_X = 361, RECORDS_ROWS_Y = [250, 302, 355, 411, 461, 512];
const RECORDS_CONFIRM = [420, 559], PLAYFIELD = [60, 40, 158];  // the lobby's frame panel
const LOBBY_TITLE = 180;  // over the panel in the idle lobby, at (99, 147)

const catchLetters = () => catchLettersOf(page, (code) => page.keyboard.press(code), 1500);
const formOpen = () => formOpenOf(page);
const keySign = () => page.evaluate(() => {
  const s = document.getElementById('key-sign'), r = s.getBoundingClientRect();
  return { shown: getComputedStyle(s).display !== 'none', text: s.textContent, r: [r.left, r.top, r.right, r.bottom] };
});

try {
  // ---- the first visit ----
  await page.goto(site.url, { waitUntil: 'load' });
  console.log(`figure: first frame cold ${(await firstFrame()).toFixed(0)} ms after navigation`);
  const unpacked = await until('the sounds', () => page.evaluate(() => TolvaroWeb.soundsUnpackedMs));
  console.log(`figure: sounds unpacked ${unpacked.toFixed(0)} ms after the script started`);
  check(await until('the page controlled', () => page.evaluate(() => !!navigator.serviceWorker.controller &&
    navigator.serviceWorker.controller.state === 'activated')).catch(() => false),
        'the service worker is active and controls the page');
  const transfer = site.sentBytes;
  console.log(`figure: first visit transfer ${(transfer / 1e6).toFixed(2)} MB gzip, files kept included`);
  check(transfer <= TRANSFER_GOAL, `the first visit downloads ${transfer} bytes, at most ${TRANSFER_GOAL}`);
  const version = swVersion();
  check(JSON.stringify(await cacheNames()) === JSON.stringify([`tolvaro ${site.url} ${version}`]),
        `one cache, of this folder and version ${version}`);

  // ---- the manifest ----
  const { url: manifestUrl, errors, data } = await cdp.send('Page.getAppManifest');
  const manifest = JSON.parse(data || 'null');
  check(manifestUrl === `${site.url}manifest.webmanifest` && errors.length === 0 && manifest,
        `the manifest parses without errors (${JSON.stringify(errors)})`);
  check(/[\u4e00-\u9fff]/.test(manifest.name) && /[\u4e00-\u9fff]/.test(manifest.short_name) &&
        manifest.display === 'fullscreen' && manifest.display_override.includes('standalone') &&
        manifest.orientation === 'landscape' && /^#[0-9a-f]{6}$/.test(manifest.theme_color) &&
        /^#[0-9a-f]{6}$/.test(manifest.background_color),
        'Chinese name and short name, full screen then standalone, landscape, its colours');
  const icons = [];
  for (const icon of manifest.icons) {
    const got = await page.evaluate(async (src) => {
      const r = await fetch(src);
      return r.ok ? Array.from(new Uint8Array(await r.arrayBuffer())) : null;
    }, new URL(icon.src, manifestUrl).href);
    const size = got && pngSize(Buffer.from(got));
    icons.push(`${icon.sizes} ${icon.purpose}`);
    check(size && `${size[0]}x${size[1]}` === icon.sizes, `icon ${icon.src} is a PNG of ${icon.sizes} (${size})`);
  }
  check(['192x192 any', '512x512 any', '512x512 maskable'].every((i) => icons.includes(i)),
        `icons of 192 and 512 pixels and a maskable one (${icons.join(', ')})`);

  // ---- a game to a saved record ----
  await shows(148, 680, 200);
  await page.mouse.click(...START_ITEM);
  await shows(...LOBBY_BUTTON);
  await sleep(1500);
  await page.mouse.click(...LOBBY_START);
  await page.keyboard.press('Enter');
  check(await catchLetters() > 0 && (await page.keyboard.press('Escape'), await formOpen()),
        'a game with the mouse and the keys ends in the name form');
  await page.type('#name', 'old');
  await page.keyboard.press('Enter');
  check(await until('the records screen', async () => showsText(await shoot(), 'old', RECORDS_NAME_X, RECORDS_ROWS_Y[0]))
    .catch(() => false), 'the records screen shows the record "old"');

  // ---- offline ----
  site.offline = true;
  await page.reload({ waitUntil: 'load' });
  console.log(`figure: first frame offline ${(await firstFrame()).toFixed(0)} ms after navigation`);
  console.log(`figure: tab memory ${rendererMemoryMb().toFixed(0)} MB (the renderer's anonymous resident memory)`);
  const menuBackgroundShown = await until('the menu', async () => {
    const shot = await shoot(), sky = bitmap(143);
    let n = 0;  // the sky left of the menu items
    for (let y = 60; y < 180; y++) for (let x = 0; x < 560; x++) {
      const s = (y * W + x) * 3;
      if (shot.rgb.compare(sky.rgb, s, s + 3, s, s + 3) !== 0) n++;
    }
    return n === 0;
  }).catch(() => false);
  check(menuBackgroundShown && (await shows(148, 680, 200)), 'with the server gone, a reload shows the menu');
  // The files the game reads, byte for byte: a picture, a short sound, and a long sound made back
  // from Opus with its own header, trailer and length.
  const read = (p) => page.evaluate((f) => Array.from(Module.FS.readFile(f)), p).then(Buffer.from);
  check((await read('/res/bitmap/143.bmp')).equals(fs.readFileSync(path.join(genDir, 'bitmap/143.bmp'))) &&
        (await read('/res/wave/199.wav')).equals(fs.readFileSync(path.join(genDir, 'wave/199.wav'))),
        'the package gives bitmap 143 and sound 199 byte for byte');
  const listed = JSON.parse(fs.readFileSync(path.join(root, 'sounds.json'))).sounds;
  for (const sound of listed) {
    const made = await read(`/res/wave/${sound.id}.wav`);
    const original = fs.readFileSync(path.join(genDir, `wave/${sound.id}.wav`));
    const head = Buffer.from(sound.head, 'base64').length;
    const samples = original.length - head - Buffer.from(sound.tail, 'base64').length;
    // Not silence: a sample frame in every thousand differs from the middle value.
    let heard = 0;
    for (let i = head; i < head + samples; i += 1000 * (sound.bits / 8)) {
      if ((sound.bits === 16 ? Math.abs(made.readInt16LE(i)) : Math.abs(made[i] - 128)) > 2) heard++;
    }
    check(made.length === original.length && made.subarray(0, head).equals(original.subarray(0, head)) &&
          made.subarray(head + samples).equals(original.subarray(head + samples)) && heard > samples / 1e4,
          `sound ${sound.id} is made back with its header and ${sound.frames} frames, and is not silent`);
  }
  await page.mouse.click(...START_ITEM);
  await shows(...LOBBY_BUTTON);
  await sleep(1500);
  await page.mouse.click(...LOBBY_START);
  await page.keyboard.press('Enter');
  check(await catchLetters() > 0, 'offline, a game reacts to letter keys');
  check(site.reached.length === 0, `nothing was asked of the server while it was gone (${site.reached.join(' ')})`);
  site.offline = false;

  // ---- a rebuilt page at the same address ----
  const html = path.join(root, 'tolvaro.html');
  fs.writeFileSync(html, fs.readFileSync(html, 'utf8').replace('<head>', '<head>\n<!-- rebuilt -->'));
  execFileSync('node', [pageFiles, 'finish', root, path.join(genDir, 'web'), serviceWorker]);
  const newVersion = swVersion();
  await page.reload({ waitUntil: 'load' });
  check(await until('the new cache alone', async () => JSON.stringify(await cacheNames()) ===
    JSON.stringify([`tolvaro ${site.url} ${newVersion}`])).catch(() => false),
        `the next visit replaces the cache of ${version} with one of ${newVersion}`);
  await page.reload({ waitUntil: 'load' });
  await firstFrame();
  check((await page.content()).includes('<!-- rebuilt -->'), 'the visit after it opens the rebuilt page');

  // ---- by touch: a game from the menu, the records screen, its 确定 ----
  await page.setViewport({ width: W, height: H, hasTouch: true });
  await page.reload({ waitUntil: 'load' });
  await firstFrame();
  await shows(148, 680, 200);
  await tap(...START_ITEM);
  check(await shows(...LOBBY_BUTTON), 'a tap on 开始游戏 opens the lobby');
  await sleep(1500);
  await tap(...LOBBY_START);
  const sign = await until('the keyboard sign', async () => { const s = await keySign(); return s.shown && s; })
    .catch(() => ({ shown: false, r: [] }));
  const field = bitmap(PLAYFIELD[2]);
  const clear = sign.r[0] >= PLAYFIELD[0] + field.width || sign.r[2] <= PLAYFIELD[0] ||
                sign.r[1] >= PLAYFIELD[1] + field.height || sign.r[3] <= PLAYFIELD[1];
  check(sign.shown && sign.text.includes('键盘') && clear,
        `a tap on the lobby's start button starts a game, and a sign clear of the playfield says letters come from the keyboard (${sign.r})`);
  await page.keyboard.press('Enter');
  check(!(await keySign()).shown, 'the sign goes with the first key');
  check(await catchLetters() > 0 && (await page.keyboard.press('Escape'), await formOpen()),
        'the game started by touch takes letters and ends in the name form');
  await page.type('#name', 'new');
  await tap(352 + 100, 304 + 125);
  const rows = await until('the records screen', async () => {
    const shot = await shoot();
    const names = ['old', 'new'].map((n) => RECORDS_ROWS_Y.findIndex((y) => showsText(shot, n, RECORDS_NAME_X, y)));
    return names.every((i) => i >= 0) && names;
  }).catch(() => null);
  check(rows !== null, `a tap on the form's 确定 stores the name; the record saved before the update stays (rows ${rows})`);
  await tap(...RECORDS_CONFIRM);
  check(await shows(...LOBBY_BUTTON) && await shows(LOBBY_TITLE, 99, 147),
        'a tap on the records screen\'s 确定 leads back into the lobby');
  // The keyboard has been used: the next game starts without the sign.
  await tap(...LOBBY_START);
  const intro = await until('the level announcement', async () =>
    differing(await shoot(), bitmap(LOBBY_TITLE), 99, 147) > 0).catch(() => false);
  check(intro && !(await keySign()).shown, 'once a key has been pressed, a new game shows no sign');
} catch (e) {
  check(false, e.message);
  await page.screenshot({ path: path.join(webDir, '..', 'app-test-failure.png') }).catch(() => {});
} finally {
  await browser.close();
  site.server.close();
  fs.rmSync(work, { recursive: true, force: true });
}
console.log(failures() ? `${failures()} app check(s) failed` : 'all app checks passed');
process.exit(failures() ? 1 : 0);
