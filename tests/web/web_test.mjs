// The web page in real headless Chromium: the menu as the generated pictures draw it, a game
// from the lobby to a caught letter, the name form with a Chinese name on the records screen,
// the record files after the page's renderer crashed once the form had closed (from IndexedDB
// alone), after the tab is closed with the form open, and on a later records screen.
// Usage: node web_test.mjs <web folder> <generated tree>. Speed figures are printed, not tested.
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import zlib from 'node:zlib';
import { ascii, check, differing, failures, firstFrame, formOpen, generated, launch, newPage,
         shoot, sleep, until, within } from './lib.mjs';

const [webDir, genDir] = process.argv.slice(2).map((p) => path.resolve(p));
const { bitmap, showsText, shownNumber, catchLetters } = generated(genDir);

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
const browser = await launch(profile);
// As a browser does for a site its user comes back to: the page's request to keep its storage
// is granted, but the page must make it.
await browser.defaultBrowserContext().overridePermissions(url, ['persistent-storage']);

async function openPage() {
  const page = await newPage(browser, url);
  await firstFrame(page);
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

// The records screen's text lines, y of each; the row (from 1) that shows a name, or 0.
const RECORD_ROWS_Y = [250, 302, 355, 411, 461, 512];
const recordRow = (shot, name) => RECORD_ROWS_Y.findIndex((y) => showsText(shot, name, 361, y)) + 1;
const onRecords = (shot, name) => recordRow(shot, name) > 0;

// From the menu at rest, a game into the name form (checked as `playedAs`), `name` stored; true
// once the records screen shows what `shown` looks for.
async function recordAGame(page, name, playedAs, shown) {
  await until('the menu at rest', async () => menuDifferences(await shoot(page)) === 0);
  check((await playToTheNameForm(page)).form, playedAs);
  await page.type('#name', name);
  await page.keyboard.press('Enter');
  return until('the records screen', async () => shown(await shoot(page))).catch(() => false);
}

// From the menu at rest: 开始游戏, the lobby (its first button at rest; the others follow within
// a second), its start button, Enter, `typed` (a composition), letters until one is caught, Esc:
// the name form opens. Keys go through `press`.
async function playToTheNameForm(page, press = (code) => page.keyboard.press(code), typed = null) {
  await page.mouse.click(800, 225);
  // The face left of its label (which starts 80 pixels in), so the slide-in and the idle lobby
  // both count, however long a screenshot takes.
  const lobby = await within('the lobby', async () =>
    differing(await shoot(page), bitmap(155), 724, 98, 0, 0, 80) === 0);
  const signGone = await page.evaluate(() => getComputedStyle(document.getElementById('sound-sign')).display === 'none');
  await sleep(1500);
  await page.mouse.click(800, 115);
  await press('Enter');
  if (typed) await typed();
  const score = await catchLetters(page, press);
  await press('Escape');
  const form = await formOpen(page);
  return { lobby, signGone, score, form };
}

// ---- an input method on the page ----
// Keys an input method takes come as 'Process' (229) with the key's place in `code`; the
// DevTools protocol's input-method calls put a composition and its text into the page.
// From the menu at rest: a game whose letters all come through a composing input method, then
// a name composed in the name form.
async function playWithInputMethod(page) {
  const cdp = await page.target().createCDPSession();
  const imeKey = async (code) => {
    const key = { key: 'Process', code, windowsVirtualKeyCode: 229, nativeVirtualKeyCode: 229 };
    await cdp.send('Input.dispatchKeyEvent', { type: 'keyDown', ...key });
    await cdp.send('Input.dispatchKeyEvent', { type: 'keyUp', ...key });
  };
  const compose = async (typed, text) => {
    await cdp.send('Input.imeSetComposition', { text: typed, selectionStart: typed.length, selectionEnd: typed.length });
    await cdp.send('Input.insertText', { text });
  };
  const { score, form } = await playToTheNameForm(page, imeKey, () => compose('ni', '你'));
  check(score > 0, `with an input method composing, letter keys catch letters: the score box shows ${score}`);
  check(form, 'Esc through the input method ends the game and the name form opens');
  await compose('nihao', '你好');
  await page.keyboard.press('Enter');
  const name = Buffer.from([0xC4, 0xE3, 0xBA, 0xC3]);  // 你好 in GBK
  const row = await within('the records screen', async () => recordRow(await shoot(page), name), 0);
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
  check(await recordAGame(page, 'kid', 'a third game ends in the name form',
                          (s) => [1, 2, 3].includes(recordRow(s, stored))),
        'the records screen shows 张三李, saved before the crash');
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
  const second = await newPage(browser, url);
  const notice = await until('the notice', () => second.evaluate(() => {
    const n = document.getElementById('other-tab');
    return n && getComputedStyle(n).display !== 'none' ? n.textContent : null;
  })).catch(() => null);
  await sleep(2000);  // a game started anyway would have drawn by now
  check(notice && notice.includes('另一个标签页') && notice.includes('在这里玩') &&
        await second.evaluate(() => TolvaroWeb.firstFrameAt === 0),
        `a second page says the game is open in another tab, offers to play here, and starts no game (${notice})`);
  await second.screenshot({ path: path.join(webDir, '..', 'web-other-tab.png') });
  await page.bringToFront();
  check(await recordAGame(page, 'lock', 'the first page plays a game into the name form',
                          (s) => onRecords(s, 'lock')),
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
  check(await recordAGame(second, 'two', 'the second page plays a game into the name form',
                          (s) => onRecords(s, 'two') && onRecords(s, 'lock')),
        "the second page's records screen shows the first page's record beside its own");
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
  check(false, e.message);
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
console.log(failures() ? `${failures()} web check(s) failed` : 'all web checks passed');
process.exit(failures() ? 1 : 0);
