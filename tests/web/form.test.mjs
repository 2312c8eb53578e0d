// The form as the input window: what it shows at start, the keyboard's order, the track
// boxes' digits and commit, and the counters' keys, buttons and bounds.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';

import { analyzeButton, counter, enterLayout, kLengths, kTracks, openPage, shownResults,
  startBrowser, trackBox } from './support.mjs';

let session;
before(async () => { session = await startBrowser(); });
after(() => session.stop());

async function withPage(options, work) {
  const page = await openPage(session, options);
  try {
    await work(page);
    assert.deepEqual(page.errors, []);
  } finally {
    await page.context().close();
  }
}

test('starts as the input window opens: caption, HO, empty boxes, counters at 0', () =>
  withPage({}, async (page) => {
    assert.equal((await page.title()).replaceAll('\u00a0', ' '), 'Trelvane   v1.2.0');
    assert.equal(await page.getByRole('heading', { level: 1 }).textContent(), 'Trelvane   v1.2.0');
    for (const name of ['Scale', 'Trackage', 'Rolling Stock'])
      await page.getByRole('group', { name, exact: true }).waitFor();
    assert.equal(await page.getByRole('radio', { checked: true }).getAttribute('value'), '3');
    assert.equal(await page.getByRole('radio', { name: 'HO scale', exact: true }).isChecked(), true);
    for (const name of kTracks)
      assert.equal(await trackBox(page, name).inputValue(), '');
    for (const length of kLengths) {
      assert.equal(await counter(page, length).inputValue(), '0');
      assert.equal(await counter(page, length).getAttribute('aria-valuenow'), '0');
    }
    assert.equal(await page.locator('[tabindex]:not([tabindex="-1"])').count(), 0);
  }));

// The scales, the three boxes, the eight counters from 34' to 86', then Analyze: the
// order the page is read in.
test('Tab reaches every control in reading order', () =>
  withPage({}, async (page) => {
    const expected = ['HO scale', ...kTracks, ...kLengths.map((l) => `Number of ${l}' cars`),
      'Analyze', 'Help'];
    const reached = [];
    for (let i = 0; i < expected.length; ++i) {
      await page.keyboard.press('Tab');
      reached.push(await page.evaluate(() => {
        const element = document.activeElement;
        return element.labels?.[0]?.textContent.replace(/\s+/g, ' ').trim() || element.textContent.trim();
      }));
    }
    assert.deepEqual(reached, expected);
  }));

// What a track box holds after each way text comes in, starting from `start`.
const kBoxEntries = [
  { name: 'letters, signs, points and blanks typed are refused', start: '', typed: '1a-2.3 4', shows: '1234' },
  { name: 'a fifth digit typed is refused', start: '', typed: '12345', shows: '1234' },
  { name: 'a paste with a letter is refused whole', start: '7', pasted: '12a', shows: '7' },
  { name: 'a long paste of digits is cut to four', start: '', pasted: '98765', shows: '9876' },
  { name: 'a letter an input method commits is refused', start: '5', composed: 'x', shows: '5' },
  { name: 'a selection overwritten by a digit', start: '123', select: true, typed: '9', shows: '9' },
];

for (const entry of kBoxEntries) {
  test(`track box: ${entry.name}`, () =>
    withPage({ permissions: ['clipboard-read', 'clipboard-write'] }, async (page) => {
      const box = trackBox(page, 'Passing Track:');
      await box.fill(entry.start);
      await box.focus();
      if (entry.select)
        await box.press('ControlOrMeta+a');
      else
        await box.press('End');
      if (entry.typed)
        await page.keyboard.type(entry.typed);
      if (entry.pasted) {
        await page.evaluate((text) => navigator.clipboard.writeText(text), entry.pasted);
        await box.press('ControlOrMeta+v');
      }
      if (entry.composed)
        await page.keyboard.insertText(entry.composed);
      assert.equal(await box.inputValue(), entry.shows);
    }));
}

// The events a browser sends for text dropped on a box, played here: Chromium headless
// takes no drag of text from outside the page.
test('track box: text dropped on it meets the same rule', () =>
  withPage({}, async (page) => {
    const box = trackBox(page, 'Storage Track:');
    await box.fill('12');
    for (const [dropped, shows] of [['ab', '12'], ['34', '1234']]) {
      await box.evaluate((input, text) => {
        const data = new DataTransfer();
        data.setData('text/plain', text);
        input.focus();
        input.setSelectionRange(input.value.length, input.value.length);
        // What the browser does with a drop: inserts the text, then tells the page.
        input.dispatchEvent(new InputEvent('beforeinput', { inputType: 'insertFromDrop', dataTransfer: data }));
        input.setRangeText(text, input.value.length, input.value.length, 'end');
        input.dispatchEvent(new InputEvent('input', { inputType: 'insertFromDrop', dataTransfer: data }));
      }, dropped);
      assert.equal(await box.inputValue(), shows);
    }
  }));

test('leaving a box: empty reads 0, 0075 stays as typed and counts as 75', () =>
  withPage({}, async (page) => {
    const passing = trackBox(page, 'Passing Track:');
    await passing.focus();
    await page.keyboard.press('Tab');
    assert.equal(await passing.inputValue(), '0');

    // Leading zeros read as the number: 0010 ft. of passing track falls 2 ft. short of
    // what 120 cars need, 0075 ft. of functional track holds 150 cars, of which 40 % is 60.
    await enterLayout(page, { scale: 'HO', pass: '0010', func: '0075', stor: 100, cars: { 40: 120 } });
    const { texts } = await shownResults(page);
    assert.equal(texts[0], '2 ft. of mainline passing track should be added.');
    assert.equal(texts[2], 'Move no more than 60 cars, or REDESIGN trackage.');
    assert.equal(await passing.inputValue(), '0010');
    assert.equal(await trackBox(page, 'Functional Track:').inputValue(), '0075');
  }));

test('Analyze pressed without the focus leaving a box analyses what it shows', () =>
  withPage({}, async (page) => {
    await enterLayout(page, { scale: 'HO', pass: 10, func: 18, stor: 100, cars: { 40: 30 } });
    await page.keyboard.press('Escape');
    const functional = trackBox(page, 'Functional Track:');
    await functional.fill('50');
    // As an assistive tool presses it: the focus stays in the box.
    await analyzeButton(page).dispatchEvent('click');
    assert.equal((await shownResults(page)).texts[1], 'Functional trackage is ADEQUATE.');
  }));

// A counter after each sequence of keys or clicks, from 0.
const kCounterSteps = [
  { name: 'Up and Down step by one', keys: ['ArrowUp', 'ArrowUp', 'ArrowUp', 'ArrowDown'], shows: '2' },
  { name: 'Page Up and Page Down step by ten', keys: ['PageUp', 'PageUp', 'PageDown'], shows: '10' },
  { name: 'no lower than 0', keys: ['ArrowDown', 'PageDown'], shows: '0' },
  { name: 'End goes to 9999, no higher', keys: ['End', 'ArrowUp', 'PageUp'], shows: '9999' },
  { name: 'Home goes to 0', keys: ['PageUp', 'Home'], shows: '0' },
  { name: 'a typed number', typed: '12', shows: '12' },
  { name: 'letters typed are refused', typed: '1x2', shows: '12' },
  { name: 'a fifth digit is refused', typed: '99999', shows: '9999' },
  { name: 'the + and - buttons', clicks: ['+', '+', '+', '−'], shows: '2' },
  { name: 'the - button stops at 0', clicks: ['−'], shows: '0' },
];

for (const step of kCounterSteps) {
  test(`counter: ${step.name}`, () =>
    withPage({}, async (page) => {
      const count = counter(page, 55);
      await count.focus();
      await count.press('ControlOrMeta+a');
      for (const key of step.keys ?? [])
        await count.press(key);
      if (step.typed)
        await page.keyboard.type(step.typed);
      for (const click of step.clicks ?? [])
        await page.getByRole('button', { name: `One 55' car ${click === '+' ? 'more' : 'fewer'}` }).click();
      await page.keyboard.press('Tab');
      assert.equal(await count.inputValue(), step.shows);
      assert.equal(await count.getAttribute('aria-valuenow'), step.shows);
    }));
}

test('a counter emptied keeps its number when left', () =>
  withPage({}, async (page) => {
    await trackBox(page, 'Functional Track:').fill('100');
    await trackBox(page, 'Storage Track:').fill('100');
    const count = counter(page, 80);
    await count.fill('7');
    await count.fill('');
    await page.keyboard.press('Tab');
    assert.equal(await count.inputValue(), '7');
    // Seven 80-foot cars are fourteen 40-foot ones.
    await analyzeButton(page).click();
    assert.equal((await shownResults(page)).texts[5], 'Based on 14 cars in service:');
  }));

test('the Help link and F1 open the help beside the form, which keeps its entries', () =>
  withPage({}, async (page) => {
    await trackBox(page, 'Passing Track:').fill('10');
    const [help] = await Promise.all([page.waitForEvent('popup'),
      page.getByRole('link', { name: 'Help', exact: true }).click()]);
    await help.getByRole('heading', { name: 'Trelvane help', level: 1 }).waitFor();
    for (const section of ['The three kinds of track', 'Printing, copying and saving', 'Keys'])
      await help.getByRole('heading', { name: section, level: 2 }).waitFor();
    // The desktop's own parts stay with it.
    assert.equal(await help.getByText('Print Preview').count(), 0);
    await help.close();
    const [again] = await Promise.all([page.waitForEvent('popup'), page.keyboard.press('F1')]);
    assert.match(again.url(), /\/help\.html$/);
    await again.close();
    assert.equal(await trackBox(page, 'Passing Track:').inputValue(), '10');
  }));
