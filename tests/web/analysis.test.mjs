// Analyze as a user works it, by the keys and by the mouse: the results dialog with its nine
// texts and the warning, the failure message, and the focus going back to Analyze.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';

import { kFailures, kWorkedExamples } from './cases.mjs';
import { analyzeButton, dialog, enterLayout, kFailure, kResults, kTracks, openPage, shownResults,
  startBrowser, trackBox } from './support.mjs';

let session;
before(async () => { session = await startBrowser(); });
after(() => session.stop());

const focusedId = (page) => page.evaluate(() => document.activeElement.id);

for (const by of ['keys', 'mouse']) {
  for (const example of kWorkedExamples) {
    test(`${example.name}, by ${by}`, async () => {
      const page = await openPage(session);
      await enterLayout(page, example.layout, by);
      const shown = await shownResults(page);
      assert.deepEqual(shown.texts, example.texts);
      assert.equal(shown.warning, example.warning);
      assert.equal(await focusedId(page), 'cmdOK');
      // Enter on OK, or a click, closes it; the focus is back on Analyze.
      if (by === 'keys')
        await page.keyboard.press('Enter');
      else
        await dialog(page, kResults).getByRole('button', { name: 'OK', exact: true }).click();
      assert.equal(await dialog(page, kResults).isVisible(), false);
      assert.equal(await focusedId(page), 'cmdAnalyze');
      assert.deepEqual(page.errors, []);
      await page.context().close();
    });
  }

  for (const failure of kFailures) {
    test(`failure: ${failure.name}, by ${by}`, async () => {
      const page = await openPage(session);
      await enterLayout(page, failure.layout, by);
      const alert = page.getByRole('alertdialog', { name: kFailure, exact: true });
      await alert.waitFor();
      assert.equal(await page.locator('#failureMessage').innerText(), failure.lines.join('\n'));
      assert.equal(await focusedId(page), 'cmdFailureOK');
      if (by === 'keys')
        await page.keyboard.press('Enter');
      else
        await alert.getByRole('button', { name: 'OK', exact: true }).click();
      assert.equal(await alert.isVisible(), false);
      assert.equal(await focusedId(page), 'cmdAnalyze');
      // The form keeps its entries.
      const { pass, func, stor } = failure.layout;
      for (const [i, value] of [pass, func, stor].entries())
        assert.equal(await trackBox(page, kTracks[i]).inputValue(), String(value));
      assert.equal(await dialog(page, kResults).isVisible(), false);
      assert.deepEqual(page.errors, []);
      await page.context().close();
    });
  }
}

test('Esc closes the results from anywhere in them, Enter from a text too', async () => {
  const page = await openPage(session);
  await enterLayout(page, kWorkedExamples[2].layout);
  await shownResults(page);
  await page.keyboard.press('Escape');
  assert.equal(await dialog(page, kResults).isVisible(), false);
  await analyzeButton(page).click();
  await page.locator('#lblBasis').click();
  await page.keyboard.press('Enter');
  assert.equal(await dialog(page, kResults).isVisible(), false);
  // With the focus on Print, Enter prints rather than closes.
  await analyzeButton(page).click();
  await dialog(page, kResults).getByRole('button', { name: 'Print', exact: true }).focus();
  await page.keyboard.press('Enter');
  await dialog(page, "Enter your railroad's name:").waitFor();
  assert.deepEqual(page.errors, []);
  await page.context().close();
});

test('a second analysis writes every result and the warning anew', async () => {
  const page = await openPage(session);
  await enterLayout(page, kWorkedExamples[2].layout);
  assert.equal((await shownResults(page)).warning, true);
  await page.keyboard.press('Escape');
  await enterLayout(page, kWorkedExamples[0].layout);
  assert.deepEqual(await shownResults(page), { texts: kWorkedExamples[0].texts, warning: false });
  await page.context().close();
});

test("the functional suggestion takes the browser's decimal separator", async () => {
  const page = await openPage(session, { locale: 'de-DE' });
  await enterLayout(page, kWorkedExamples[2].layout);
  assert.equal((await shownResults(page)).texts[2], 'Move no more than 14,4 cars, or REDESIGN trackage.');
  await page.context().close();
});

test('the results are read as they open: the dialog is described by them', async () => {
  const page = await openPage(session);
  await enterLayout(page, kWorkedExamples[2].layout);
  await shownResults(page);
  const snapshot = await dialog(page, kResults).ariaSnapshot();
  const description = await page.evaluate(() => {
    const body = document.getElementById(document.getElementById('frmAnswers').getAttribute('aria-describedby'));
    return body.innerText.replace(/\s+/g, ' ');
  });
  for (const text of [...kWorkedExamples[2].texts.filter(Boolean), 'Warning!'])
    assert.ok(description.includes(text), `${text} is not in the description`);
  assert.match(snapshot, /heading "Trelvane Analysis"/);
  await page.context().close();
});
