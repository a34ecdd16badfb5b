// CPU report, not a test: the web page at rest on its main menu in headless Chromium, the
// renderer's CPU time (and the GPU process's, which paints the canvas) over a stretch of seconds.
// Usage: node scripts/measure-web-cpu.mjs <web folder> [seconds]   (build it with
// scripts/build-web.sh; scripts/web-test.sh installs puppeteer-core into tests/web)
import { execFileSync, spawn } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { createRequire } from 'node:module';

const puppeteer = createRequire(new URL('../tests/web/package.json', import.meta.url))('puppeteer-core');
const webDir = path.resolve(process.argv[2]);
const seconds = Number(process.argv[3] || 20);
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

const server = spawn('python3', ['-u', '-m', 'http.server', '0', '--bind', '127.0.0.1',
                                 '--directory', webDir], { stdio: ['ignore', 'pipe', 'ignore'] });
const url = await new Promise((resolve) => server.stdout.on('data', (d) => {
  const m = /port (\d+)/.exec(String(d));
  if (m) resolve(`http://127.0.0.1:${m[1]}/`);
}));
const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'tolvaro-web-cpu-'));
const browser = await puppeteer.launch({
  executablePath: '/usr/bin/chromium', headless: true, userDataDir: profile,
  args: ['--no-sandbox', '--window-size=1024,768']
});
// Every process below `root`, found through the parent pid of each process.
function descendants(root) {
  const parent = new Map();
  for (const pid of fs.readdirSync('/proc').filter((d) => /^\d+$/.test(d))) {
    try {
      parent.set(Number(pid), Number(fs.readFileSync(`/proc/${pid}/stat`, 'latin1').split(') ')[1].split(' ')[1]));
    } catch { /* ended meanwhile */ }
  }
  const found = [];
  for (const [pid] of parent) {
    for (let p = parent.get(pid); p; p = parent.get(p)) if (p === root) { found.push(pid); break; }
  }
  return found;
}

try {
  const page = await browser.newPage();
  await page.setViewport({ width: 1024, height: 768 });
  await page.goto(url, { waitUntil: 'load' });
  await sleep(5000);  // the slide-in, then the menu at rest
  // Chromium's processes by their --type, with user + system clock ticks.
  const ticks = () => {
    const out = {};
    for (const pid of descendants(browser.process().pid)) {
      try {
        const type = /--type=([a-z-]+)/.exec(fs.readFileSync(`/proc/${pid}/cmdline`, 'latin1'))?.[1] ?? 'browser';
        const f = fs.readFileSync(`/proc/${pid}/stat`, 'latin1').split(') ')[1].split(' ');
        out[type] = (out[type] || 0) + Number(f[11]) + Number(f[12]);
      } catch { /* ended meanwhile */ }
    }
    return out;
  };
  const hz = Number(execFileSync('getconf', ['CLK_TCK']).toString());
  const before = ticks();
  await sleep(seconds * 1000);
  const after = ticks();
  for (const type of Object.keys(after)) {
    const percent = (100 * (after[type] - (before[type] || 0))) / hz / seconds;
    console.log(`${type}: ${percent.toFixed(1)} % of a core`);
  }
} finally {
  await browser.close();
  server.kill();
  fs.rmSync(profile, { recursive: true, force: true });
}
