// The report: Print asks for the name and hands the page to the browser's print dialog;
// the printed page is the desktop's report line for line, on one page of A4 or Letter;
// Copy and Ctrl+C give the desktop's copied text.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { after, before, test } from 'node:test';

import { kWorkedExamples, pineRidgeCopy } from './cases.mjs';
import { dialog, enterLayout, kPrompt, kResults, openPage, printedPage, shortDate, shownResults,
  startBrowser } from './support.mjs';

let session;
before(async () => { session = await startBrowser(); });
after(() => session.stop());

const kPineRidge = kWorkedExamples[2].layout;
const words = (line) => line.trim().split(/\s+/).join(' ');

// The worked example's results, with window.print recording what the page held when called.
async function pineRidgeResults(options = {}) {
  const page = await openPage(session, options);
  await page.evaluate(() => {
    window.printed = [];
    window.print = () => window.printed.push(
      [...document.getElementById('report').children].map((line) => line.textContent));
  });
  await enterLayout(page, kPineRidge);
  await shownResults(page);
  return page;
}

async function print(page, answer, name) {
  await dialog(page, kResults).getByRole('button', { name: 'Print', exact: true }).click();
  const prompt = dialog(page, kPrompt);
  const box = prompt.getByRole('textbox', { name: 'Railroad name', exact: true });
  const offered = await box.inputValue();
  if (name !== undefined)
    await box.fill(name);
  if (answer === 'Esc')
    await page.keyboard.press('Escape');
  else if (answer === 'Enter')
    await box.press('Enter');
  else
    await prompt.getByRole('button', { name: answer, exact: true }).click();
  assert.equal(await prompt.isVisible(), false);
  return offered;
}

const printed = (page) => page.evaluate(() => window.printed.length);

test('Print: the name, then the report as the page, equal to the desktop report', async () => {
  const page = await pineRidgeResults();
  assert.equal(await print(page, 'OK', 'Pine Ridge'), '');
  assert.equal(await printed(page), 1);
  assert.equal(await page.evaluate(() => document.activeElement.id), 'cmdPrint');
  assert.equal(await dialog(page, kResults).isVisible(), true);
  // No claim that it was printed: the page cannot know.
  assert.equal(await page.locator('#lblMessage').textContent(), '');

  const expected = pineRidgeCopy(shortDate('en-US')).split('\n').filter((line) => line !== '');
  for (const format of ['Letter', 'A4']) {
    const { lines, pages } = await printedPage(page, format);
    assert.equal(pages, 1, `${format}: ${pages} pages`);
    assert.deepEqual(lines.map(words), expected.map(words), format);
    assert.deepEqual(lines.map((line) => line.startsWith(' ')),
      expected.map((line) => line.startsWith(' ')), `${format}: indents`);
  }
  assert.deepEqual(page.errors, []);
  await page.context().close();
});

test("the warning's halves stand at the second zone, one under the other", async () => {
  const page = await pineRidgeResults();
  const folder = mkdtempSync(join(tmpdir(), 'trelvane-zones-'));
  try {
    await page.emulateMedia({ media: 'print' });
    writeFileSync(join(folder, 'page.pdf'), await page.pdf({ format: 'A4' }));
    const boxes = execFileSync('pdftotext', ['-bbox', join(folder, 'page.pdf'), '-'], { encoding: 'utf8' });
    const left = (word) => Number(new RegExp(`xMin="([0-9.]+)"[^>]*>${word}<`).exec(boxes)[1]);
    const right = (word) => Number(new RegExp(`xMax="([0-9.]+)"[^>]*>${word}<`).exec(boxes)[1]);
    assert.ok(Math.abs(left('Operation') - left('figures')) < 0.5, boxes);
    assert.ok(left('Operation') > right('Warning!'));
    // 14 character widths of the 10-point type from the left edge of the text.
    const zone = await page.evaluate(() => {
      const probe = document.createElement('div');
      probe.style.cssText = 'position:absolute;font:10pt sans-serif;width:14ch';
      document.getElementById('report').append(probe);
      return probe.getBoundingClientRect().width * 0.75; // CSS pixels to points
    });
    assert.ok(Math.abs(left('figures') - left('Based') - zone) < 0.5, `zone ${zone}`);
  } finally {
    rmSync(folder, { recursive: true, force: true });
  }
  await page.context().close();
});

test('only the first heading is bold; 10 point after the four leading lines', async () => {
  const page = await pineRidgeResults();
  await page.emulateMedia({ media: 'print' });
  const lines = await page.evaluate(() => [...document.querySelectorAll('#report > div')].map((line) => {
    const style = getComputedStyle(line);
    return { text: line.textContent, bold: Number(style.fontWeight) >= 600, px: parseFloat(style.fontSize) };
  }));
  assert.equal(lines.length, 35);
  assert.deepEqual(lines.filter((line) => line.bold).map((line) => line.text), ['*** TRELVANE ***']);
  assert.deepEqual(lines.slice(0, 4).map((line) => line.text), ['', '', '', '']);
  assert.ok(lines.slice(0, 4).every((line) => line.px === 16), 'the page size at the start');
  assert.ok(lines.slice(4).every((line) => Math.abs(line.px - 40 / 3) < 0.01), '10 point');
  await page.context().close();
});

// As the desktop's prompt does: the name is kept whenever its box is left, Cancel included.
test('Cancel and Esc print nothing; the name given last is offered again', async () => {
  const page = await pineRidgeResults();
  assert.equal(await print(page, 'Cancel', 'Union Pacific'), '');
  assert.equal(await print(page, 'Esc'), 'Union Pacific');
  assert.equal(await printed(page), 0);
  assert.equal(await print(page, 'Enter', 'Pine Ridge'), 'Union Pacific');
  assert.equal(await printed(page), 1);
  assert.equal(await print(page, 'Cancel', 'Santa Fe'), 'Pine Ridge');
  assert.equal(await print(page, 'OK'), 'Santa Fe');
  assert.equal(await printed(page), 2);
  const [first, second] = await page.evaluate(() => window.printed);
  assert.equal(first[6], 'Prepared for Pine Ridge');
  assert.equal(second[6], 'Prepared for Santa Fe');
  assert.deepEqual(page.errors, []);
  await page.context().close();
});

test("the browser's own Print while the results are open prints the report, no name yet", async () => {
  const page = await pineRidgeResults();
  const { lines, pages } = await printedPage(page);
  assert.equal(pages, 1);
  assert.equal(lines[1].trim(), 'Prepared for');
  assert.equal(words(lines[2]), `Date: ${shortDate('en-US')}`);
  // Closed, the results take their report with them.
  await page.keyboard.press('Escape');
  await page.waitForFunction(() => document.activeElement.id === 'cmdAnalyze');
  const form = await printedPage(page);
  assert.ok(!form.lines.some((line) => line.includes('TRELVANE ***')), form.lines.join('\n'));
  await page.context().close();
});

for (const way of ['the Copy button', 'Ctrl+C with nothing selected']) {
  test(`${way} puts the desktop's copied text on the clipboard`, async () => {
    const page = await pineRidgeResults({ permissions: ['clipboard-read', 'clipboard-write'] });
    await print(page, 'OK', 'Pine Ridge');
    if (way === 'the Copy button')
      await dialog(page, kResults).getByRole('button', { name: 'Copy', exact: true }).click();
    else
      await page.keyboard.press('ControlOrMeta+c');
    assert.equal(await page.evaluate(() => navigator.clipboard.readText()), pineRidgeCopy(shortDate('en-US')));
    assert.equal(await page.getByRole('status').filter({ hasText: 'copied' }).textContent(),
      'The analysis was copied as text.');
    assert.deepEqual(page.errors, []);
    await page.context().close();
  });
}

test('Ctrl+C with a text selected copies that text', async () => {
  const page = await pineRidgeResults({ permissions: ['clipboard-read', 'clipboard-write'] });
  await page.locator('#lblBasis').selectText();
  await page.keyboard.press('ControlOrMeta+c');
  assert.equal(await page.evaluate(() => navigator.clipboard.readText()), 'Based on 30 cars in service:');
  await page.context().close();
});

test("dated in the browser's locale, with its decimal separator", async () => {
  const page = await pineRidgeResults({ locale: 'de-DE', permissions: ['clipboard-read', 'clipboard-write'] });
  await dialog(page, kResults).getByRole('button', { name: 'Copy', exact: true }).click();
  const text = await page.evaluate(() => navigator.clipboard.readText());
  assert.ok(text.split('\n').includes(`Date:  ${shortDate('de-DE')}`), text);
  assert.match(text, /Move no more than 14,4 cars/);
  await page.context().close();
});

// Whatever a name holds reaches the printed page and the copied text whole, on its own line.
const kNames = [
  { name: 'quotes and a backslash', typed: 'The "Q" \\ Line', line: 'Prepared for The "Q" \\ Line' },
  { name: 'letters beyond ASCII', typed: 'Société Ferroviaire 🚂', line: 'Prepared for Société Ferroviaire 🚂' },
  { name: 'a tab and a line separator as blanks', typed: 'East\tWest\u2028Line', line: 'Prepared for East West Line' },
];

for (const { name, typed, line } of kNames) {
  test(`a name with ${name}`, async () => {
    const page = await pineRidgeResults({ permissions: ['clipboard-read', 'clipboard-write'] });
    await dialog(page, kResults).getByRole('button', { name: 'Print', exact: true }).click();
    // As a paste puts it there: a text box takes what typing cannot.
    await dialog(page, kPrompt).getByRole('textbox').evaluate((box, text) => { box.value = text; }, typed);
    await page.keyboard.press('Enter');
    await dialog(page, kResults).getByRole('button', { name: 'Copy', exact: true }).click();
    const copied = (await page.evaluate(() => navigator.clipboard.readText())).split('\n');
    assert.equal(copied[2], line);
    assert.equal(copied.length, pineRidgeCopy(shortDate('en-US')).split('\n').length);
    const printedLines = await page.evaluate(() =>
      [...document.querySelectorAll('#report > div')].map((div) => div.textContent));
    assert.equal(printedLines[6], line);
    assert.equal(printedLines.length, 35);
    assert.deepEqual(page.errors, []);
    await page.context().close();
  });
}
