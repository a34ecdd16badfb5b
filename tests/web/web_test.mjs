// The web page in real headless Chromium: the menu as the generated pictures draw it, a game
// from the lobby to a caught letter, the name form with a Chinese name on the records screen,
// the record files after the page's renderer crashed once the form had closed (from IndexedDB
// alone), after the tab is closed with the form open, and on a later records screen.
// Usage: node web_test.mjs <web folder> <generated tree>. Speed figures are printed, not tested.
import { execFileSync, spawn } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import zlib from 'node:zlib';
import puppeteer from 'puppeteer-core';

const [webDir, genDir] = process.argv.slice(2).map((p) => path.resolve(p));
const W = 1024, H = 768;
const TEXT = [245, 71, 181];
const WAIT_MS = 30000;
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));
let failures = 0;
function check(ok, what) {
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}`);
  if (!ok) failures++;
  return ok;
}
async function until(what, condition, ms = WAIT_MS) {
  const end = Date.now() + ms;
  for (;;) {
    const value = await condition();
    if (value) return value;
    if (Date.now() > end) throw new Error(`timed out waiting for ${what}`);
    await sleep(100);
  }
}

// ---- pictures: screenshots (PNG), generated BMPs, the glyph set ----

// A picture as 8-bit RGB, through imagemagick: a PNG screenshot's bytes, or a file's path.
function rgbOf(input) {
  const file = typeof input === 'string';
  const ppm = execFileSync('/usr/bin/convert', [file ? input : 'png:-', '-depth', '8', 'ppm:-'],
                           { input: file ? undefined : input, maxBuffer: 1 << 26 });
  const header = /^P6\s+(\d+)\s+(\d+)\s+255\s/.exec(ppm.toString('latin1', 0, 32));
  return { width: Number(header[1]), height: Number(header[2]), rgb: ppm.subarray(header[0].length) };
}
const bitmap = (id) => rgbOf(path.join(genDir, 'bitmap', `${id}.bmp`));

// How many pixels of `picture` (its part sx, sy, w, h) differ from the shot at (x, y).
// With a key colour (0xRRGGBB), the picture's pixels of that colour are left out.
function differing(shot, picture, x, y, sx = 0, sy = 0, w = picture.width, h = picture.height, key = -1) {
  let n = 0;
  for (let j = 0; j < h; j++) {
    for (let i = 0; i < w; i++) {
      const s = ((y + j) * shot.width + x + i) * 3, p = ((sy + j) * picture.width + sx + i) * 3;
      if (key >= 0 && (picture.rgb[p] << 16 | picture.rgb[p + 1] << 8 | picture.rgb[p + 2]) === key) continue;
      if (shot.rgb[s] !== picture.rgb[p] || shot.rgb[s + 1] !== picture.rgb[p + 1] ||
          shot.rgb[s + 2] !== picture.rgb[p + 2]) n++;
    }
  }
  return n;
}

const glyphs = fs.readFileSync(path.join(genDir, 'glyphs', 'gbk16.bin'));
// The cells of GBK text drawn at (x, y), as the game's glyph set draws it: [x, y, on].
function textCells(gbk, x, y) {
  const cells = [];
  for (let i = 0; i < gbk.length;) {
    const lead = gbk[i], trail = gbk[i + 1];
    const pair = i + 1 < gbk.length && lead >= 0x81 && lead <= 0xFE && trail >= 0x40 &&
                 trail <= 0xFE && trail !== 0x7F;
    const width = pair ? 16 : 8, per = pair ? 2 : 1;
    const base = pair ? 16 + 4096 + ((lead - 0x81) * 191 + (trail - 0x40)) * 32 : 16 + lead * 16;
    for (let row = 0; row < 16; row++) {
      for (let col = 0; col < width; col++) {
        cells.push([x + col, y + row, (glyphs[base + row * per + (col >> 3)] & (0x80 >> (col & 7))) !== 0]);
      }
    }
    x += width;
    i += pair ? 2 : 1;
  }
  return cells;
}
// True when the shot shows exactly this text at (x, y): its pixels in the text colour, the
// cell's other pixels in other colours, and nothing in the text colour just after it.
function showsText(shot, gbk, x, y) {
  const isText = (px, py) => {
    const s = (py * shot.width + px) * 3;
    return shot.rgb[s] === TEXT[0] && shot.rgb[s + 1] === TEXT[1] && shot.rgb[s + 2] === TEXT[2];
  };
  const cells = textCells(gbk, x, y);
  if (!cells.every(([px, py, on]) => isText(px, py) === on)) return false;
  const end = x + cells.reduce((m, [px]) => Math.max(m, px + 1 - x), 0);
  for (let py = y; py < y + 16; py++) {
    for (let px = end; px < end + 8; px++) if (isText(px, py)) return false;
  }
  return true;
}
const ascii = (s) => Buffer.from(s, 'latin1');
// The number shown at (x, y), tried from 0 to `most`; undefined when none matches.
function shownNumber(shot, x, y, most) {
  for (let n = 0; n <= most; n++) if (showsText(shot, ascii(String(n)), x, y)) return n;
  return undefined;
}

// ---- the server, the browser, the page ----

function serve() {
  return new Promise((resolve, reject) => {
    const server = spawn('python3', ['-u', '-m', 'http.server', '0', '--bind', '127.0.0.1',
                                     '--directory', webDir], { stdio: ['ignore', 'pipe', 'pipe'] });
    server.stdout.on('data', (d) => {
      const m = /port (\d+)/.exec(String(d));
      if (m) resolve({ server, url: `http://127.0.0.1:${m[1]}/` });
    });
    server.on('exit', (code) => reject(new Error(`http.server ended with ${code}`)));
  });
}

const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'tolvaro-web-'));
const { server, url } = await serve();
const browser = await puppeteer.launch({
  executablePath: '/usr/bin/chromium', headless: true, userDataDir: profile,
  args: ['--no-sandbox', '--autoplay-policy=user-gesture-required', `--window-size=${W},${H}`]
});
// As a browser does for a site its user comes back to: the page's request to keep its storage
// is granted, but the page must make it.
await browser.defaultBrowserContext().overridePermissions(url, ['persistent-storage']);

async function openPage() {
  const page = await browser.newPage();
  await page.setViewport({ width: W, height: H });
  page.on('pageerror', (e) => { console.log(`page error: ${e.message}`); failures++; });
  await page.goto(url, { waitUntil: 'load' });
  await until('the first frame', () => page.evaluate(() => window.TolvaroWeb && TolvaroWeb.firstFrameAt > 0));
  return page;
}
// What IndexedDB itself holds of lhb.lhb (the file system's store: one record per path).
const recordsInDb = (page) => page.evaluate(() => new Promise((resolve) => {
  const open = indexedDB.open('/tolvaro');
  open.onerror = () => resolve(null);
  open.onsuccess = () => {
    const get = open.result.transaction('FILE_DATA').objectStore('FILE_DATA').get('/tolvaro/lhb.lhb');
    get.onsuccess = () => resolve(get.result ? Array.from(get.result.contents) : null);
    get.onerror = () => resolve(null);
  };
}));
const shoot = async (page) => rgbOf(Buffer.from(await page.screenshot({ type: 'png' })));
const readWorkingFile = (page, name) => page.evaluate((n) => {
  try { return Array.from(Module.FS.readFile('/tolvaro/' + n)); } catch (e) { return null; }
}, name);

// Menu items at rest, their pictures (normal look) and places.
const MENU_ITEMS = [148, 150, 147, 145, 152].map((id, i) => ({ pic: bitmap(id), x: 680, y: 200 + 80 * i }));
const menuBackground = bitmap(143);
// Parts of the background that nothing of the menu covers (the bug, the marker, the items,
// the sound sign and the full-screen button lie outside them).
const BACKGROUND_PARTS = [[0, 60, 180, 300], [0, 420, 560, 300], [400, 0, 160, 340], [240, 0, 300, 58]];

function menuDifferences(shot) {
  let n = 0;
  for (const item of MENU_ITEMS) n += differing(shot, item.pic, item.x, item.y);
  for (const [x, y, w, h] of BACKGROUND_PARTS) n += differing(shot, menuBackground, x, y, x, y, w, h);
  return n;
}

// Every letter once, then the score once the game has taken the keys (one per frame) and the
// shots have arrived; again until a letter has been caught. Misses at 0 cost nothing.
async function catchLetters(page) {
  return until('a caught letter', async () => {
    for (const l of 'ABCDEFGHIJKLMNOPQRSTUVWXYZ') await page.keyboard.press(`Key${l}`);
    await sleep(2000);
    const n = shownNumber(await shoot(page), 811, 590, 300);
    return n !== undefined && n > 0 ? n : null;
  });
}

// From the menu at rest: 开始游戏, the lobby (its first button at rest; the others follow within
// a second), its start button, Enter, letters until one is caught, Esc: the name form opens.
async function playToTheNameForm(page) {
  await page.mouse.click(800, 225);
  // The face left of its label (which starts 80 pixels in), so the slide-in and the idle lobby
  // both count, however long a screenshot takes.
  const lobby = await until('the lobby', async () =>
    differing(await shoot(page), bitmap(155), 724, 98, 0, 0, 80) === 0).catch(() => false);
  const signGone = await page.evaluate(() => getComputedStyle(document.getElementById('sound-sign')).display === 'none');
  await sleep(1500);
  await page.mouse.click(800, 115);
  await page.keyboard.press('Enter');
  const score = await catchLetters(page).catch(() => 0);
  await page.keyboard.press('Escape');
  const form = await until('the name form', () => page.evaluate(() =>
    getComputedStyle(document.getElementById('dialog')).display !== 'none')).catch(() => false);
  return { lobby, signGone, score, form };
}

// ---- an input method on the page ----
// Keys an input method takes come as 'Process' (229) with the key's place in `code`; the
// DevTools protocol's input-method calls put a composition and its text into the page.
async function imeKey(cdp, code) {
  const key = { key: 'Process', code, windowsVirtualKeyCode: 229, nativeVirtualKeyCode: 229 };
  await cdp.send('Input.dispatchKeyEvent', { type: 'keyDown', ...key });
  await cdp.send('Input.dispatchKeyEvent', { type: 'keyUp', ...key });
}
// From the menu at rest: a game whose letters all come through a composing input method, then
// a name composed in the name form. The records rows' text lines, y of each.
const RECORD_ROWS_Y = [250, 302, 355, 411, 461, 512];
async function playWithInputMethod(page) {
  const cdp = await page.target().createCDPSession();
  await page.mouse.click(800, 225);
  await until('the lobby', async () => differing(await shoot(page), bitmap(155), 724, 98) === 0);
  await sleep(1500);
  await page.mouse.click(800, 115);
  await imeKey(cdp, 'Enter');
  await cdp.send('Input.imeSetComposition', { text: 'ni', selectionStart: 2, selectionEnd: 2 });
  await cdp.send('Input.insertText', { text: '你' });
  const score = await until('a letter caught through the input method', async () => {
    for (const l of 'ABCDEFGHIJKLMNOPQRSTUVWXYZ') await imeKey(cdp, `Key${l}`);
    await sleep(2000);
    const n = shownNumber(await shoot(page), 811, 590, 300);
    return n !== undefined && n > 0 ? n : null;
  }).catch(() => 0);
  check(score > 0, `with an input method composing, letter keys catch letters: the score box shows ${score}`);
  await imeKey(cdp, 'Escape');
  const form = await until('the name form', () => page.evaluate(() =>
    getComputedStyle(document.getElementById('dialog')).display !== 'none')).catch(() => false);
  check(form, 'Esc through the input method ends the game and the name form opens');
  await cdp.send('Input.imeSetComposition', { text: 'nihao', selectionStart: 5, selectionEnd: 5 });
  await cdp.send('Input.insertText', { text: '你好' });
  await page.keyboard.press('Enter');
  const name = Buffer.from([0xC4, 0xE3, 0xBA, 0xC3]);  // 你好 in GBK
  const row = await until('the records screen', async () => {
    const s = await shoot(page);
    const i = RECORD_ROWS_Y.findIndex((y) => showsText(s, name, 361, y));
    return i >= 0 ? i + 1 : null;
  }).catch(() => 0);
  check(row > 0, `the name 你好 composed in the form shows on the records screen (row ${row})`);
}

try {
  // Every file the page keeps (its service worker's list), itself included.
  const total = [...JSON.parse(fs.readFileSync(path.join(webDir, 'files.json'))).files.filter((f) => f !== './'), 'sw.js']
    .map((f) => zlib.gzipSync(fs.readFileSync(path.join(webDir, f)), { level: 9 }).length)
    .reduce((a, b) => a + b, 0);
  console.log(`figure: page transfer ${(total / 1e6).toFixed(2)} MB gzip`);

  // ---- the menu ----
  let page = await openPage();
  check(await page.evaluate(() => TolvaroWeb.storageKept === null),
        'before any record is saved the page has not asked to keep its storage');
  console.log(`figure: first frame ${(await page.evaluate(() => TolvaroWeb.firstFrameAt)).toFixed(0)} ms after navigation`);
  const menuShown = await until('the menu at rest', async () => menuDifferences(await shoot(page)) === 0).catch(() => false);
  if (!check(menuShown, 'the menu shows the generated background and the five items pixel for pixel')) {
    console.log(`  ${menuDifferences(await shoot(page))} pixels differ`);
  }
  const sign = await page.evaluate(() => {
    const s = document.getElementById('sound-sign'), r = s.getBoundingClientRect();
    return { shown: getComputedStyle(s).display !== 'none', text: s.textContent, r: [r.left, r.top, r.right, r.bottom] };
  });
  const overItems = MENU_ITEMS.some((it) => sign.r[0] < it.x + it.pic.width && it.x < sign.r[2] &&
                                             sign.r[1] < it.y + it.pic.height && it.y < sign.r[3]);
  check(sign.shown && sign.text.includes('点击') && !overItems,
        'before the first click a sign says that sound comes with it, clear of the menu items');
  await sleep(3000);
  const log = await page.evaluate(() => TolvaroWeb.frameLog.map((e) => e[0]));
  const intervals = log.slice(20).sort((a, b) => a - b);
  console.log(`figure: frame interval median ${intervals[intervals.length >> 1].toFixed(2)} ms over ${intervals.length} frames`);

  // ---- a game: menu, lobby, level, a letter, the name form ----
  const { lobby, signGone, score, form } = await playToTheNameForm(page);
  check(lobby, 'a click on 开始游戏 opens the lobby (its start button in place)');
  check(signGone, 'the sound sign is gone after the first click');
  check(score > 0, `letter keys catch letters: the score box shows ${score}`);
  check(form, 'Esc ends the game with a new record and the name form opens');
  await sleep(300);
  let shot = await shoot(page);
  const face = bitmap(242);
  const faceDiff = differing(shot, face, 352, 304, 0, 0, 320, 72) + differing(shot, face, 352, 400, 0, 96, 320, 64);
  check(faceDiff === 0, `the form's face is picture 242 (${faceDiff} pixels differ)`);
  const focused = await page.evaluate(() => document.activeElement && document.activeElement.id);
  check(focused === 'name', 'the name box has the focus');
  await page.mouse.move(352 + 100, 304 + 125);
  check(await until('the hovered confirm button', async () =>
    differing(await shoot(page), bitmap(245), 352 + 63, 304 + 109) === 0).catch(() => false),
        'the pointer on 确定 shows its hovered picture 245 two pixels higher');
  await page.mouse.click(352 + 100, 304 + 125, { button: 'right' });
  check(await until('the right-click text', () => page.$eval('#name', (e) => e.value === 'x: 100 , y: 125')).catch(() => false),
        'a right click puts "x: 100 , y: 125" into the name box');
  await page.mouse.click(352 + 200, 304 + 125);
  check(await until('the cleared box', () => page.$eval('#name', (e) => e.value === '')).catch(() => false),
        '清除 empties the name box and the form stays');
  await page.type('#name', '张三李四');
  await page.keyboard.press('Enter');
  const stored = Buffer.from([0xD5, 0xC5, 0xC8, 0xFD, 0xC0, 0xEE]);  // 张三李 in GBK
  shot = await until('the records screen', async () => {
    const s = await shoot(page);
    return showsText(s, stored, 361, 250) ? s : null;
  }).catch(() => null);
  check(shot !== null, 'Enter stores 张三李四 cut to 7 bytes (张三李) and the records screen shows it in row 1');
  const seconds = shot ? shownNumber(shot, 529, 250, 600) : undefined;
  const shownScore = shot ? shownNumber(shot, 704, 250, 2000) : undefined;
  // A shot still in flight at Esc may have added to the score read during play.
  check(shownScore >= score && seconds >= 0, `row 1 holds the game's score (${shownScore}) and its seconds (${seconds})`);

  // ---- the renderer crashes (no pagehide, no close): the closed form's save is kept ----
  const crashed = new Promise((resolve) => page.once('error', resolve));
  const cdp = await page.target().createCDPSession();
  cdp.send('Page.crash').catch(() => {});  // no answer comes from a renderer that is gone
  await crashed;
  await page.close().catch(() => {});
  // The page's own copy in localStorage goes too: what comes back comes from IndexedDB.
  const blank = await browser.newPage();
  await blank.goto(`${url}no-such-page`);
  await blank.evaluate(() => localStorage.clear());
  await blank.close();
  page = await openPage();
  const expectedRow = Buffer.concat([stored, ascii(` ${seconds} ${shownScore}\r\n`)]);
  const records = Buffer.from((await readWorkingFile(page, 'lhb.lhb')) || []);
  check(records.subarray(0, expectedRow.length).equals(expectedRow) &&
        records.toString('latin1').split('\r\n').length === 7,
        `the crashed page had saved lhb.lhb: row 1 is "张三李 ${seconds} ${shownScore}", six rows (${JSON.stringify(records.toString('latin1'))})`);
  const best = Buffer.from((await readWorkingFile(page, 'mg.tol')) || []);
  // The best score follows the score live, so an escape after the peak leaves it above the row's.
  const bestText = best.toString('latin1');
  check(/^\d+$/.test(bestText) && Number(bestText) >= shownScore,
        `the crashed page had saved mg.tol with a best score of at least ${shownScore} (${JSON.stringify(bestText)})`);
  const inDb = await recordsInDb(page);
  check(inDb && Buffer.from(inDb).equals(records), `IndexedDB holds lhb.lhb as saved (${inDb ? Buffer.from(inDb).toString('latin1').slice(0, 20) : inDb})`);

  // ---- closing the tab with the name form open ----
  await until('the menu at rest', async () => menuDifferences(await shoot(page)) === 0);
  check((await playToTheNameForm(page)).form, 'a game on the next page ends in the name form');
  await page.type('#name', 'abc');
  await page.close();
  page = await openPage();
  const afterClose = Buffer.from((await readWorkingFile(page, 'lhb.lhb')) || []).toString('latin1');
  check(/(^|\r\n)abc \d+ \d+\r\n/.test(afterClose) && afterClose.includes(stored.toString('latin1')),
        'closing the tab with the form open stores the typed name and saves (abc beside 张三李)');

  // ---- the records screen shows the row from before the crash; 清除 saves, at a cost ----
  await until('the menu at rest', async () => menuDifferences(await shoot(page)) === 0);
  check((await playToTheNameForm(page)).form, 'a third game ends in the name form');
  await page.type('#name', 'kid');
  await page.keyboard.press('Enter');
  check(await until('the records screen', async () => {
    const s = await shoot(page);
    return [250, 302, 355].some((y) => showsText(s, stored, 361, y));
  }).catch(() => false), 'the records screen shows 张三李, saved before the crash');
  const framesBefore = await page.evaluate(() => TolvaroWeb.frameLog.length);
  await page.mouse.click(580, 560);
  const cleared = Buffer.from('someone 9999 0\r\n'.repeat(6), 'latin1');
  check(await until('the cleared file', async () =>
    Buffer.from((await readWorkingFile(page, 'lhb.lhb')) || []).equals(cleared)).catch(() => false),
        '清除 writes the cleared table at once');
  await sleep(500);
  const around = (await page.evaluate((n) => TolvaroWeb.frameLog.slice(n).map((e) => e[0]),
                                      framesBefore)).sort((a, b) => a - b);
  console.log(`figure: the frame of 清除's save ${around[around.length - 1].toFixed(1)} ms ` +
              `from the previous present, the frames around it ` +
              `${around[around.length >> 1].toFixed(1)} ms (median)`);
  // What follows starts on a fresh page; this one's close saves, as a closed tab does.
  await page.close();
  page = await openPage();

  // ---- one game per browser: a second page waits, and takes the game over with its records ----
  const second = await browser.newPage();
  await second.setViewport({ width: W, height: H });
  second.on('pageerror', (e) => { console.log(`page error: ${e.message}`); failures++; });
  await second.goto(url, { waitUntil: 'load' });
  const notice = await until('the notice', () => second.evaluate(() => {
    const n = document.getElementById('other-tab');
    return n && getComputedStyle(n).display !== 'none' ? n.textContent : null;
  })).catch(() => null);
  await sleep(2000);  // a game started anyway would have drawn by now
  check(notice && notice.includes('另一个标签页') && notice.includes('在这里玩') &&
        await second.evaluate(() => TolvaroWeb.firstFrameAt === 0),
        `a second page says the game is open in another tab, offers to play here, and starts no game (${notice})`);
  await second.screenshot({ path: path.join(webDir, '..', 'web-other-tab.png') });
  // The records screen's rows, by their text's top.
  const ROW_Y = [66, 118, 171, 227, 277, 328].map((top) => 184 + top);
  const onRecords = (shot, name) => ROW_Y.some((y) => showsText(shot, ascii(name), 361, y));
  await page.bringToFront();
  await until('the menu at rest', async () => menuDifferences(await shoot(page)) === 0);
  check((await playToTheNameForm(page)).form, 'the first page plays a game into the name form');
  await page.type('#name', 'lock');
  await page.keyboard.press('Enter');
  check(await until('lock on the records screen', async () => onRecords(await shoot(page), 'lock')).catch(() => false),
        'the first page enters the new record "lock" just before');
  await second.bringToFront();
  await second.click('#other-tab button');
  check(await until('the game in the second page', () => second.evaluate(() => TolvaroWeb.firstFrameAt > 0)).catch(() => false),
        '在这里玩 starts the game in the second page');
  check(await until('the first page handed over', () => page.evaluate(() => TolvaroWeb.ended &&
    getComputedStyle(document.getElementById('other-tab')).display !== 'none')).catch(() => false),
        'the first page has ended its game and shows the notice');
  const handed = Buffer.from((await readWorkingFile(second, 'lhb.lhb')) || []);
  const inDbNow = Buffer.from((await recordsInDb(second)) || []);
  check(/(^|\r\n)lock \d+ \d+\r\n/.test(handed.toString('latin1')) && inDbNow.equals(handed),
        `the second page starts with the first page's saved lhb.lhb, as IndexedDB holds it (${JSON.stringify(inDbNow.toString('latin1'))})`);
  await until('the menu at rest', async () => menuDifferences(await shoot(second)) === 0);
  check((await playToTheNameForm(second)).form, 'the second page plays a game into the name form');
  await second.type('#name', 'two');
  await second.keyboard.press('Enter');
  check(await until('the records screen', async () => {
    const s = await shoot(second);
    return onRecords(s, 'two') && onRecords(s, 'lock');
  }).catch(() => false), "the second page's records screen shows the first page's record beside its own");
  // The button of the page that handed over reloads it, and the reloaded page takes the game back.
  await page.bringToFront();
  const kept = [await page.evaluate(() => TolvaroWeb.storageKept), await second.evaluate(() => navigator.storage.persisted())];
  await page.click('#other-tab button');
  check(await until('the game back in the first page', () => page.evaluate(() =>
    window.TolvaroWeb && TolvaroWeb.firstFrameAt > 0)).catch(() => false) &&
        /(^|\r\n)two \d+ \d+\r\n/.test(Buffer.from((await readWorkingFile(page, 'lhb.lhb')) || []).toString('latin1')),
        "在这里玩 on the page that handed over takes the game back, with the second page's record");
  check(kept[0] === true && kept[1] === true, `once a record is saved the site's storage is kept (${kept})`);
  // ---- an input method on the page ----
  await until('the menu at rest', async () => menuDifferences(await shoot(page)) === 0);
  await playWithInputMethod(page);
} catch (e) {
  console.log(`FAIL ${e.message}`);
  failures++;
  // What the page showed, to look at.
  const pages = await browser.pages();
  for (let i = 0; i < pages.length; i++) {
    await pages[i].screenshot({ path: path.join(webDir, '..', `web-test-failure-${i}.png`) }).catch(() => {});
  }
} finally {
  await browser.close();
  server.kill();
  fs.rmSync(profile, { recursive: true, force: true });
}
console.log(failures ? `${failures} web check(s) failed` : 'all web checks passed');
process.exit(failures ? 1 : 0);
