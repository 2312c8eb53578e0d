// Everyone: axe-core finds nothing in any state of the page, in light and dark; nothing is
// cut or scrolled sideways on a phone, at 200 % zoom or with larger text; every touch
// target is 44 pixels square; the warning reads at 4.5:1; nothing moves.
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { after, before, test } from 'node:test';

import { kFailures, kWorkedExamples } from './cases.mjs';
import { dialog, enterLayout, kPrompt, kResults, openPage, shownResults, startBrowser } from './support.mjs';

const kAxe = readFileSync(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');

let session;
before(async () => { session = await startBrowser(); });
after(() => session.stop());

// The page in each of its states, from the form to the name prompt.
const kStates = {
  form: async () => {},
  results: async (page) => {
    await enterLayout(page, kWorkedExamples[2].layout);
    await shownResults(page);
  },
  failure: async (page) => {
    await enterLayout(page, kFailures[0].layout);
    await page.getByRole('alertdialog').waitFor();
  },
  prompt: async (page) => {
    await kStates.results(page);
    await dialog(page, kResults).getByRole('button', { name: 'Print', exact: true }).click();
    await dialog(page, kPrompt).waitFor();
  },
  help: async (page) => {
    await page.goto(new URL('help.html', page.url()).href);
  },
};

for (const colorScheme of ['light', 'dark']) {
  for (const [state, reach] of Object.entries(kStates)) {
    test(`axe finds no violation: ${state}, ${colorScheme}`, async () => {
      const page = await openPage(session, { colorScheme });
      await reach(page);
      // Evaluated by the browser's debugger, which the page's policy does not restrict.
      await page.evaluate(kAxe);
      const { violations } = await page.evaluate(() => axe.run(document));
      assert.deepEqual(violations.map(({ id, nodes }) => `${id}: ${nodes.map((n) => n.target).join(' ')}`), []);
      assert.deepEqual(page.errors, []);
      await page.context().close();
    });
  }
}

// Where the page is shown: its width in CSS pixels, its zoom and its text size.
const kScreens = [
  { name: 'a 320-pixel phone', width: 320, height: 640 },
  { name: 'a desktop at 200 % zoom', width: 640, height: 450, deviceScaleFactor: 2 },
  { name: 'a phone with the larger text of its settings', width: 412, height: 915, textSize: 24 },
  { name: 'a desktop with twice the text', width: 1280, height: 800, textSize: 32 },
];

for (const screen of kScreens) {
  for (const [state, reach] of Object.entries(kStates)) {
    test(`nothing cut or scrolled sideways: ${screen.name}, ${state}`, async () => {
      const { name, textSize, ...viewport } = screen;
      const page = await openPage(session, viewport);
      // The browser's own text size, as its settings set it (16 pixels unless changed).
      if (textSize) {
        await (await page.context().newCDPSession(page)).send('Page.setFontSizes', { fontSizes: { standard: textSize } });
        assert.equal(await page.evaluate(() => getComputedStyle(document.documentElement).fontSize), `${textSize}px`);
      }
      await reach(page);
      const overflow = await page.evaluate(() => {
        const width = document.documentElement.clientWidth;
        const cut = [];
        if (document.documentElement.scrollWidth > width)
          cut.push(`the page is ${document.documentElement.scrollWidth} wide`);
        const top = [...document.querySelectorAll('dialog[open]')].pop();
        const shown = top ? top.querySelectorAll('*') : document.querySelectorAll('main *');
        for (const element of shown) {
          // Text for screen readers alone is clipped on purpose.
          if (element.closest('.visually-hidden'))
            continue;
          const box = element.getBoundingClientRect();
          if (box.width > 0 && (box.left < -0.5 || box.right > width + 0.5))
            cut.push(`${element.tagName}#${element.id} ${element.textContent.slice(0, 20)}: ${box.left}..${box.right}`);
          if (element.scrollWidth > element.clientWidth + 1 && getComputedStyle(element).overflowX !== 'visible')
            cut.push(`${element.tagName}#${element.id} scrolls sideways`);
        }
        return cut;
      });
      assert.deepEqual(overflow, []);
      await page.context().close();
    });
  }
}

test('every touch target is at least 44 by 44 pixels', async () => {
  const page = await openPage(session, { width: 390, height: 844, hasTouch: true, isMobile: true });
  const measure = () => page.evaluate(() => {
    const top = [...document.querySelectorAll('dialog[open]')].pop() ?? document.querySelector('main');
    // A radio button's target is its label.
    const targets = [...top.querySelectorAll('button, input:not([type="radio"]), a, label:has(input[type="radio"])')];
    return targets.filter((target) => target.checkVisibility()).map((target) => {
      const { width, height } = target.getBoundingClientRect();
      return { name: target.textContent.trim() || target.id, width, height };
    }).filter(({ width, height }) => width < 44 || height < 44);
  });
  assert.deepEqual(await measure(), []);
  for (const state of ['results', 'prompt']) {
    await page.goto(page.url());
    await page.getByRole('button', { name: 'Analyze' }).and(page.locator(':enabled')).waitFor();
    await kStates[state](page);
    assert.deepEqual(await measure(), [], state);
  }
  await page.context().close();
});

function luminance([r, g, b]) {
  const linear = (c) => (c <= 0.04045 ? c / 12.92 : ((c + 0.055) / 1.055) ** 2.4);
  return 0.2126 * linear(r / 255) + 0.7152 * linear(g / 255) + 0.0722 * linear(b / 255);
}

for (const colorScheme of ['light', 'dark']) {
  test(`the warning reads at 4.5:1 at least, ${colorScheme}`, async () => {
    const page = await openPage(session, { colorScheme });
    await kStates.results(page);
    const [text, back] = await page.locator('#lblWarn').evaluate((warning) => {
      const style = getComputedStyle(warning);
      return [style.color, style.backgroundColor].map((colour) => colour.match(/\d+/g).slice(0, 3).map(Number));
    });
    const [light, dark] = [luminance(text), luminance(back)].sort((a, b) => b - a);
    const ratio = (light + 0.05) / (dark + 0.05);
    assert.ok(ratio >= 4.5, `${ratio.toFixed(2)}:1`);
    await page.context().close();
  });
}

// Nothing moves as the dialogs open, so there is no motion to spare anyone who asks for less.
test('nothing moves', async () => {
  const page = await openPage(session, { reducedMotion: 'reduce' });
  await kStates.prompt(page);
  assert.deepEqual(await page.evaluate(() => document.getAnimations().length), 0);
  await page.context().close();
});
