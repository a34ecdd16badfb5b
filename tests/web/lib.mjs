// What the web checks share: the verdicts, waiting, the browser and its pages, and reading the
// game's pictures and text off a screenshot.
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

export const W = 1024, H = 768;
const TEXT = [245, 71, 181];
export const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

let failed = 0;
export const failures = () => failed;
export function check(ok, what) {
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}`);
  if (!ok) failed++;
  return ok;
}
export async function until(what, condition, ms = 60000) {
  const end = Date.now() + ms;
  for (;;) {
    const value = await condition();
    if (value) return value;
    if (Date.now() > end) throw new Error(`timed out waiting for ${what}`);
    await sleep(100);
  }
}
// The same, with `otherwise` instead of an error when the time is up.
export const within = (what, condition, otherwise = false, ms) =>
  until(what, condition, ms).catch(() => otherwise);

export const launch = (profile) => puppeteer.launch({
  executablePath: '/usr/bin/chromium', headless: true, userDataDir: profile,
  args: ['--no-sandbox', '--autoplay-policy=user-gesture-required', `--window-size=${W},${H}`]
});
// A page of the browser at the game's size; an error thrown in it fails the run.
export async function newPage(browser, url) {
  const page = await browser.newPage();
  await page.setViewport({ width: W, height: H });
  page.on('pageerror', (e) => check(false, `page error: ${e.message}`));
  if (url) await page.goto(url, { waitUntil: 'load' });
  return page;
}
export const firstFrame = (page) => until('the first frame', () =>
  page.evaluate(() => window.TolvaroWeb && TolvaroWeb.firstFrameAt > 0 && TolvaroWeb.firstFrameAt));
export const formOpen = (page) => within('the name form', () => page.evaluate(() =>
  getComputedStyle(document.getElementById('dialog')).display !== 'none'));

// ---- pictures: screenshots (PNG), generated BMPs, the glyph set ----

// A picture as 8-bit RGB, through imagemagick: a PNG screenshot's bytes, or a file's path.
export function rgbOf(input) {
  const file = typeof input === 'string';
  const ppm = execFileSync('/usr/bin/convert', [file ? input : 'png:-', '-depth', '8', 'ppm:-'],
                           { input: file ? undefined : input, maxBuffer: 1 << 26 });
  const header = /^P6\s+(\d+)\s+(\d+)\s+255\s/.exec(ppm.toString('latin1', 0, 32));
  return { width: Number(header[1]), height: Number(header[2]), rgb: ppm.subarray(header[0].length) };
}
export const shoot = async (page) => rgbOf(Buffer.from(await page.screenshot({ type: 'png' })));

// How many pixels of `picture` (its part sx, sy, w, h) differ from the shot at (x, y).
export function differing(shot, picture, x, y, sx = 0, sy = 0, w = picture.width, h = picture.height) {
  let n = 0;
  for (let j = 0; j < h; j++) {
    for (let i = 0; i < w; i++) {
      const s = ((y + j) * shot.width + x + i) * 3, p = ((sy + j) * picture.width + sx + i) * 3;
      if (shot.rgb.compare(picture.rgb, p, p + 3, s, s + 3) !== 0) n++;
    }
  }
  return n;
}

export const ascii = (s) => Buffer.from(s, 'latin1');

// The generated tree's bitmaps, and text read as its glyph set draws it.
export function generated(genDir) {
  const bitmap = (id) => rgbOf(path.join(genDir, 'bitmap', `${id}.bmp`));
  const glyphs = fs.readFileSync(path.join(genDir, 'glyphs', 'gbk16.bin'));
  // The cells of GBK text drawn at (x, y): [x, y, on].
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
  // True when the shot shows exactly this text (GBK bytes or ASCII) at (x, y): its pixels in the
  // text colour, the cell's other pixels in other colours, and nothing in the text colour just
  // after it.
  function showsText(shot, text, x, y) {
    const gbk = typeof text === 'string' ? ascii(text) : text;
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
  // The number shown at (x, y), tried from 0 to `most`; undefined when none matches.
  function shownNumber(shot, x, y, most) {
    for (let n = 0; n <= most; n++) if (showsText(shot, String(n), x, y)) return n;
    return undefined;
  }
  // Every letter once (`press` sends one key's code), then the score once the game has taken the
  // keys and the shots have arrived; again until a letter has been caught; 0 when none is.
  const catchLetters = (page, press, pause = 2000) => within('a caught letter', async () => {
    for (const l of 'ABCDEFGHIJKLMNOPQRSTUVWXYZ') await press(`Key${l}`);
    await sleep(pause);
    const n = shownNumber(await shoot(page), 811, 590, 300);
    return n > 0 ? n : null;
  }, 0);
  return { bitmap, showsText, shownNumber, catchLetters };
}
