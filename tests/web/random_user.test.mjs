// Hundreds of seeded random keys and clicks on the page: afterwards nothing has gone wrong
// on the page, its boxes and counters hold what they may, and it still analyses right.
// TRELVANE_MONKEY_SEED replays a run; TRELVANE_MONKEY_EVENTS sets its length.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';

import { kWorkedExamples } from './cases.mjs';
import { enterLayout, kLengths, kResults, kTracks, counter, dialog, openPage, shownResults,
  startBrowser, trackBox } from './support.mjs';

const kSeed = Number(process.env.TRELVANE_MONKEY_SEED ?? Math.floor(Math.random() * 2 ** 31));
const kEvents = Number(process.env.TRELVANE_MONKEY_EVENTS ?? 400);
const kKeys = ['Tab', 'Shift+Tab', 'Enter', 'Space', 'Escape', 'ArrowUp', 'ArrowDown', 'ArrowLeft',
  'ArrowRight', 'PageUp', 'PageDown', 'Home', 'End', 'Backspace', 'Delete', 'ControlOrMeta+a',
  'ControlOrMeta+c', 'ControlOrMeta+v', 'ControlOrMeta+x', 'F1', '0', '5', '9', 'a', '-', '.', ' '];

// A small generator with a seed, so that a failing run can be replayed.
function generator(seed) {
  let state = seed >>> 0;
  return (n) => {
    state = (state + 0x6d2b79f5) >>> 0;
    let t = state;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return (((t ^ (t >>> 14)) >>> 0) % n);
  };
}

let session;
before(async () => { session = await startBrowser(); });
after(() => session.stop());

test(`a random user leaves the page sound (seed ${kSeed}, ${kEvents} events)`, async () => {
  console.log(`TRELVANE_MONKEY_SEED=${kSeed}`);
  const random = generator(kSeed);
  const page = await openPage(session, { permissions: ['clipboard-read', 'clipboard-write'] });
  // Printing and the help would open the browser's own windows.
  await page.evaluate(() => {
    window.print = () => {};
    window.open = () => null;
  });
  await page.context().route('**/help.html', (route) => route.abort());
  const recent = [];
  for (let i = 0; i < kEvents; ++i) {
    const top = (await page.locator('dialog[open]').count()) > 0 ? 'dialog[open]' : 'main';
    const targets = page.locator(`${top} :is(button, input, label):visible`);
    const count = await targets.count();
    let event;
    if (random(3) === 0 && count > 0) {
      const index = random(count);
      event = `click ${index} of ${count} in ${top}`;
      await targets.nth(index).click({ timeout: 2000, noWaitAfter: true }).catch(() => {});
    } else if (random(4) === 0) {
      const text = String(random(100000));
      event = `type ${text}`;
      await page.keyboard.type(text);
    } else {
      event = `press ${kKeys[random(kKeys.length)]}`;
      await page.keyboard.press(event.slice(6));
    }
    recent.push(event);
    if (page.errors.length > 0)
      break;
  }
  assert.deepEqual(page.errors, [], `after: ${recent.slice(-10).join(', ')}`);

  const held = await page.evaluate(() => ({
    boxes: ['txtPassTrack', 'txtFuncTrack', 'txtStorTrack'].map((id) => document.getElementById(id).value),
    counters: [...document.querySelectorAll('.count')].map((c) => [c.value, c.getAttribute('aria-valuenow')]),
    checked: document.querySelectorAll('input[name="optScale"]:checked').length,
  }));
  for (const box of held.boxes)
    assert.match(box, /^[0-9]{0,4}$/);
  for (const [value, now] of held.counters) {
    assert.match(now, /^[0-9]{1,4}$/);
    assert.match(value, /^[0-9]{0,4}$/);
  }
  assert.equal(held.checked, 1);

  // Back to the form, and the worked example still comes out right.
  for (let i = 0; i < 3 && (await page.locator('dialog[open]').count()) > 0; ++i)
    await page.keyboard.press('Escape');
  assert.equal(await page.locator('dialog[open]').count(), 0, 'Esc closes every dialog');
  for (const name of kTracks)
    await trackBox(page, name).fill('');
  for (const length of kLengths)
    await counter(page, length).fill('0');
  await enterLayout(page, kWorkedExamples[2].layout, 'mouse');
  assert.deepEqual(await shownResults(page), { texts: kWorkedExamples[2].texts, warning: true });
  assert.equal(await dialog(page, kResults).isVisible(), true);
  assert.deepEqual(page.errors, []);
  await page.context().close();
});
