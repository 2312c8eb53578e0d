// The web page's speed, measured in Debian's Chromium against a bare page (one button that
// opens one dialog) served by the same local server in the same run, and against that bare
// page with the site's core loaded before its button works, which tells what the core alone
// costs:
// - ready: from navigation to the first dialog on screen, the page's button pressed as soon
//   as it can be (Analyze opens the failure message of an empty form); medians of
//   alternating cold starts, each in a fresh browser context;
// - Analyze: from the click on Analyze, the worked example entered, to the first frame
//   that shows the results; median.
//   node bench/web_timing.mjs SITE [--runs N] [--check]
import { mkdirSync, mkdtempSync, rmSync, symlinkSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';

import { serveSite } from '../scripts/serve_web.mjs';
import { launchChromium } from '../tests/web/chromium.mjs';

const here = dirname(fileURLToPath(import.meta.url));

const args = process.argv.slice(2);
const site = args[0];
const runs = args.includes('--runs') ? Number(args[args.indexOf('--runs') + 1]) : 20;
const check = args.includes('--check');
if (!site || !(runs > 0)) {
  console.error('usage: node bench/web_timing.mjs SITE [--runs N] [--check]');
  process.exit(2);
}
const kReadyRatio = 1.5;
const kFrameMs = 1000 / 60;

// In every page, at every frame: its button is pressed while no dialog is open (a press
// before the page has wired it does nothing), and once a dialog is open the time of the
// frame after the one that first shows it is kept, from the navigation's start.
function measureInPage(selector) {
  const frame = () => {
    const button = document.querySelector(selector);
    if (document.querySelector('dialog[open]')) {
      requestAnimationFrame(() => { window.shownAt = performance.now(); });
      return;
    }
    if (button && !button.disabled)
      button.click();
    requestAnimationFrame(frame);
  };
  requestAnimationFrame(frame);
}

const median = (values) => {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.floor(sorted.length / 2)];
};

const host = mkdtempSync(join(tmpdir(), 'trelvane-bench-'));
symlinkSync(resolve(site), join(host, 'trelvane'));
symlinkSync(join(here, 'web_bare'), join(host, 'bare'));
mkdirSync(join(host, 'bare-core'));
for (const file of ['index.html', 'bare_core.js'])
  symlinkSync(join(here, 'web_bare_core', file), join(host, 'bare-core', file));
for (const file of ['rules.js', 'trelvane_core.js', 'trelvane_core.wasm'])
  symlinkSync(resolve(site, file), join(host, 'bare-core', file));
const server = await serveSite(host, 0);
const origin = `http://127.0.0.1:${server.address().port}`;
const browser = await launchChromium();

async function readyTime(path, button) {
  const context = await browser.newContext({ serviceWorkers: 'block' });
  await context.addInitScript(measureInPage, button);
  const page = await context.newPage();
  await page.goto(`${origin}/${path}/`);
  await page.waitForFunction(() => typeof window.shownAt === 'number', null, { polling: 'raf' });
  const shown = await page.evaluate(() => window.shownAt);
  await context.close();
  return shown;
}

async function analyzeTimes() {
  const context = await browser.newContext();
  const page = await context.newPage();
  await page.goto(`${origin}/trelvane/`);
  await page.getByRole('button', { name: 'Analyze' }).and(page.locator(':enabled')).waitFor();
  await page.getByLabel('Passing Track:').fill('10');
  await page.getByLabel('Functional Track:').fill('18');
  await page.getByLabel('Storage Track:').fill('100');
  await page.getByRole('spinbutton', { name: "Number of 40' cars" }).fill('30');
  await page.evaluate(() => {
    const analyze = document.getElementById('cmdAnalyze');
    analyze.addEventListener('click', () => { window.clickedAt = performance.now(); }, { capture: true });
    new MutationObserver(() => {
      if (document.getElementById('frmAnswers').open && window.frameAt === undefined) {
        window.frameAt = null;
        window.openedAt = performance.now();
        requestAnimationFrame(() => { window.frameAt = performance.now(); });
      }
    }).observe(document.getElementById('frmAnswers'), { attributes: true });
  });
  const times = [];
  for (let i = 0; i < runs; ++i) {
    await page.evaluate(() => { window.frameAt = undefined; });
    await page.getByRole('button', { name: 'Analyze' }).click();
    await page.waitForFunction(() => typeof window.frameAt === 'number', null, { polling: 'raf' });
    times.push(await page.evaluate(() => ({
      handler: window.openedAt - window.clickedAt, frame: window.frameAt - window.clickedAt })));
    await page.keyboard.press('Escape');
  }
  await context.close();
  return times;
}

try {
  const bare = [];
  const bareCore = [];
  const trelvane = [];
  for (let i = 0; i < runs; ++i) {
    bare.push(await readyTime('bare', '#open'));
    bareCore.push(await readyTime('bare-core', '#open'));
    trelvane.push(await readyTime('trelvane', '#cmdAnalyze'));
  }
  const ratio = median(trelvane) / median(bare);
  console.log(`ready, navigation to the first dialog on screen (median of ${runs}):`);
  console.log(`  bare page ${median(bare).toFixed(1)} ms, with the core ${median(bareCore).toFixed(1)} ms`
    + ` (${(median(bareCore) / median(bare)).toFixed(2)}), Trelvane ${median(trelvane).toFixed(1)} ms,`
    + ` ratio ${ratio.toFixed(2)} (at most ${kReadyRatio})`);
  const analyze = await analyzeTimes();
  const handler = median(analyze.map((t) => t.handler));
  const frame = median(analyze.map((t) => t.frame));
  console.log(`Analyze, click to results (median of ${runs}): handler done ${handler.toFixed(2)} ms,`
    + ` first frame showing them ${frame.toFixed(1)} ms (at most ${kFrameMs.toFixed(1)})`);
  if (check && (ratio > kReadyRatio || frame > kFrameMs)) {
    console.error('Slower than the targets.');
    process.exitCode = 1;
  }
} finally {
  await browser.close();
  server.close();
  rmSync(host, { recursive: true, force: true });
}
