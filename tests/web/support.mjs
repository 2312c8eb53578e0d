// What the page's tests share: the built site served on a free port, Debian's Chromium
// driven headless, the page opened as a user opens it, and the form filled in by role and
// name.
import { execFileSync } from 'node:child_process';
import { mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { serveSite } from '../../scripts/serve_web.mjs';
import { launchChromium } from './chromium.mjs';

export const kSite = process.env.TRELVANE_SITE;
if (!kSite)
  throw new Error('TRELVANE_SITE names no site folder (ctest sets it)');

// The test's own server and browser, ended by the returned stop().
export async function startBrowser() {
  const server = await serveSite(kSite, 0);
  const browser = await launchChromium();
  return {
    browser,
    url: `http://127.0.0.1:${server.address().port}/`,
    async stop() {
      await browser.close();
      server.close();
    },
  };
}

// A new page of the site in a context of its own, with what it logs as errors collected.
export async function openPage(session, { width = 1280, height = 900, colorScheme = 'light',
  locale = 'en-US', reducedMotion = 'no-preference', ...options } = {}) {
  const context = await session.browser.newContext({
    viewport: { width, height }, colorScheme, locale, reducedMotion, ...options,
  });
  const page = await context.newPage();
  page.errors = [];
  page.on('pageerror', (error) => page.errors.push(`page error: ${error.message}`));
  page.on('console', (message) => {
    if (message.type() === 'error' || message.type() === 'warning')
      page.errors.push(`console ${message.type()}: ${message.text()}`);
  });
  await page.goto(session.url);
  await analyzeButton(page).and(page.locator(':enabled')).waitFor();
  return page;
}

export const analyzeButton = (page) => page.getByRole('button', { name: 'Analyze', exact: true });
export const trackBox = (page, name) => page.getByRole('textbox', { name, exact: true });
export const counter = (page, length) =>
  page.getByRole('spinbutton', { name: `Number of ${length}' cars`, exact: true });
export const dialog = (page, name) => page.getByRole('dialog', { name, exact: true });
export const kResults = 'Trelvane Analysis';
export const kPrompt = "Enter your railroad's name:";
export const kFailure = 'Problem - Invalid or Missing Input';
export const kLengths = [34, 40, 50, 55, 60, 70, 80, 86];
export const kTracks = ['Passing Track:', 'Functional Track:', 'Storage Track:'];
const kResultIds = ['lblPassSug', 'lblFuncStatus', 'lblFuncSug', 'lblStorStatus', 'lblStorSug',
  'lblBasis', 'lblHvy', 'lblMed', 'lblLite'];

// A layout: {scale, pass, func, stor, cars: {40: 30}}, entered as a user would, by keys
// (Tab from one control to the next, typing) or by the mouse (clicks, then typing).
export async function enterLayout(page, { scale, pass, func, stor, cars = {} }, by = 'keys') {
  const scaleOption = page.getByRole('radio', { name: `${scale} scale`, exact: true });
  const boxes = kTracks.map((name) => trackBox(page, name));
  const values = [pass, func, stor].map(String);
  if (by === 'mouse') {
    await scaleOption.click();
    for (const [i, box] of boxes.entries()) {
      await box.click();
      await box.press('ControlOrMeta+a');
      await page.keyboard.type(values[i]);
    }
    for (const length of kLengths) {
      const count = cars[length] ?? 0;
      await counter(page, length).click();
      await page.keyboard.press('ControlOrMeta+a');
      await page.keyboard.type(String(count));
    }
    await analyzeButton(page).click();
    return;
  }
  await scaleOption.focus();
  await scaleOption.press('Space');
  for (const [i] of boxes.entries()) {
    await page.keyboard.press('Tab');
    await page.keyboard.press('ControlOrMeta+a');
    await page.keyboard.type(values[i]);
  }
  for (const length of kLengths) {
    await page.keyboard.press('Tab');
    await page.keyboard.press('ControlOrMeta+a');
    await page.keyboard.type(String(cars[length] ?? 0));
  }
  await page.keyboard.press('Tab');
  await page.keyboard.press('Enter');
}

// The nine texts the results show, and whether the warning does.
export async function shownResults(page) {
  await dialog(page, kResults).waitFor();
  return page.evaluate((ids) => ({
    texts: ids.map((id) => document.getElementById(id).textContent),
    warning: !document.getElementById('lblWarn').hidden
      && document.getElementById('lblWarn').checkVisibility(),
  }), kResultIds);
}

// The page printed to a PDF in print media, as the browser's print dialog would print it,
// read back line by line with pdftotext; and its number of pages.
export async function printedPage(page, format = 'Letter') {
  const folder = mkdtempSync(join(tmpdir(), 'trelvane-page-'));
  try {
    const pdf = join(folder, 'page.pdf');
    await page.emulateMedia({ media: 'print' });
    writeFileSync(pdf, await page.pdf({ format, preferCSSPageSize: true }));
    await page.emulateMedia({ media: 'screen' });
    const text = execFileSync('pdftotext', ['-layout', pdf, '-'], { encoding: 'utf8' });
    const pages = Number(/Pages:\s+(\d+)/.exec(execFileSync('pdfinfo', [pdf], { encoding: 'utf8' }))[1]);
    return { lines: text.split('\n').map((line) => line.trimEnd()).filter((line) => line !== ''), pages };
  } finally {
    rmSync(folder, { recursive: true, force: true });
  }
}

// Today as the report is dated in the locales the tests use: the short date, the year in full.
export function shortDate(locale) {
  const now = new Date();
  const [day, month, year] = [now.getDate(), now.getMonth() + 1, now.getFullYear()];
  return { 'en-US': `${month}/${day}/${year}`, 'de-DE': `${day}.${month}.${year}` }[locale];
}
