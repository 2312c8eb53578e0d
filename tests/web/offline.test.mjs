// Offline and safe to host: the service worker starts the page without a network; the page
// asks nothing of another site, runs under a strict policy, works from any folder of a
// host, and keeps nothing of what the user entered.
import assert from 'node:assert/strict';
import { mkdtempSync, readdirSync, readFileSync, rmSync, symlinkSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { after, before, test } from 'node:test';

import { serveSite } from '../../scripts/serve_web.mjs';
import { kWorkedExamples } from './cases.mjs';
import { analyzeButton, counter, dialog, enterLayout, kPrompt, kResults, kSite, openPage,
  shownResults, startBrowser, trackBox } from './support.mjs';

let session;
before(async () => { session = await startBrowser(); });
after(() => session.stop());

const kExample = kWorkedExamples[2];

async function analyseTheExample(page) {
  await enterLayout(page, kExample.layout);
  assert.deepEqual((await shownResults(page)).texts, kExample.texts);
}

test('once opened, the page starts and analyses without a network', async () => {
  const page = await openPage(session);
  await page.evaluate(() => navigator.serviceWorker.ready);
  await page.waitForFunction(() => navigator.serviceWorker.controller !== null);
  await page.context().setOffline(true);
  await page.reload();
  await analyzeButton(page).and(page.locator(':enabled')).waitFor();
  await analyseTheExample(page);
  const help = await page.context().newPage();
  await help.goto(new URL('help.html', page.url()).href);
  await help.getByRole('heading', { name: 'Trelvane help', level: 1 }).waitFor();
  assert.deepEqual(page.errors, []);
  await page.context().close();
});

test('installable as an app: its manifest and icons as the browser checks them', async () => {
  const page = await openPage(session);
  await page.evaluate(() => navigator.serviceWorker.ready);
  const cdp = await page.context().newCDPSession(page);
  const { installabilityErrors } = await cdp.send('Page.getInstallabilityErrors');
  // The test's browser context is a private one, where nothing installs.
  assert.deepEqual(installabilityErrors.filter(({ errorId }) => errorId !== 'in-incognito'), []);
  const { url, data } = await cdp.send('Page.getAppManifest');
  const manifest = JSON.parse(data);
  assert.match(url, /manifest\.webmanifest$/);
  assert.deepEqual([manifest.name, manifest.short_name, manifest.display], ['Trelvane', 'Trelvane', 'standalone']);
  for (const { src, sizes } of manifest.icons.filter(({ type }) => type === 'image/png')) {
    const size = await page.evaluate(async (icon) => {
      const image = new Image();
      image.src = icon;
      await image.decode();
      return `${image.naturalWidth}x${image.naturalHeight}`;
    }, src);
    assert.equal(size, sizes, src);
  }
  await page.context().close();
});

test('nothing is asked of another site', async () => {
  const page = await openPage(session, { permissions: ['clipboard-read', 'clipboard-write'] });
  const elsewhere = [];
  page.context().on('request', (request) => {
    if (new URL(request.url()).origin !== new URL(session.url).origin)
      elsewhere.push(request.url());
  });
  await page.reload();
  await analyzeButton(page).and(page.locator(':enabled')).waitFor();
  await analyseTheExample(page);
  await dialog(page, kResults).getByRole('button', { name: 'Copy', exact: true }).click();
  const help = await page.context().newPage();
  await help.goto(new URL('help.html', page.url()).href);
  assert.deepEqual(elsewhere, []);
  await page.context().close();
});

test('a strict policy: no eval, no inline script or style; the core served as wasm', async () => {
  for (const file of ['index.html', 'help.html']) {
    const html = readFileSync(join(kSite, file), 'utf8');
    const policy = /http-equiv="Content-Security-Policy" content="([^"]+)"/.exec(html)[1];
    assert.doesNotMatch(policy, /'unsafe-eval'|'unsafe-inline'|frame-ancestors|report-uri|sandbox/, file);
    assert.match(policy, /default-src 'self'/, file);
    assert.doesNotMatch(html, /<script(?![^>]*\ssrc=)[^>]*>/, `${file}: inline script`);
    assert.doesNotMatch(html, /\sstyle=|<style/, `${file}: inline style`);
  }
  const response = await fetch(new URL('trelvane_core.wasm', session.url));
  assert.equal(response.headers.get('content-type'), 'application/wasm');
});

test('nothing entered is kept: no cookie or storage, and a reload starts afresh', async () => {
  const page = await openPage(session);
  await analyseTheExample(page);
  await dialog(page, kResults).getByRole('button', { name: 'Print', exact: true }).click();
  await page.evaluate(() => { window.print = () => {}; });
  await dialog(page, kPrompt).getByRole('textbox').fill('Pine Ridge');
  await page.keyboard.press('Enter');
  const kept = await page.evaluate(async () => ({
    cookies: document.cookie,
    local: localStorage.length,
    session: sessionStorage.length,
    databases: (await indexedDB.databases()).length,
    // The cache holds the site's own files and nothing else.
    cached: (await Promise.all((await caches.keys()).map(async (name) =>
      (await (await caches.open(name)).keys()).map((request) => new URL(request.url).pathname)))).flat(),
  }));
  assert.deepEqual({ ...kept, cached: undefined },
    { cookies: '', local: 0, session: 0, databases: 0, cached: undefined });
  const site = new Set(['/', ...readdirSync(kSite).map((file) => `/${file}`)]);
  assert.deepEqual(kept.cached.filter((path) => !site.has(path)), []);

  await page.reload();
  await analyzeButton(page).and(page.locator(':enabled')).waitFor();
  assert.equal(await trackBox(page, 'Functional Track:').inputValue(), '');
  assert.equal(await counter(page, 40).inputValue(), '0');
  assert.equal(await page.getByRole('radio', { name: 'HO scale', exact: true }).isChecked(), true);
  await enterLayout(page, kExample.layout);
  await dialog(page, kResults).getByRole('button', { name: 'Print', exact: true }).click();
  assert.equal(await dialog(page, kPrompt).getByRole('textbox').inputValue(), '');
  assert.deepEqual(page.errors, []);
  await page.context().close();
});

test('the site works from any folder of a host', async () => {
  const host = mkdtempSync(join(tmpdir(), 'trelvane-host-'));
  symlinkSync(kSite, join(host, 'railroad'));
  const server = await serveSite(host, 0);
  try {
    const page = await session.browser.newPage();
    const errors = [];
    page.on('console', (message) => message.type() === 'error' && errors.push(message.text()));
    // Named without its closing slash, the folder is asked for again with it.
    await page.goto(`http://127.0.0.1:${server.address().port}/railroad`);
    assert.match(page.url(), /\/railroad\/$/);
    await analyzeButton(page).and(page.locator(':enabled')).waitFor();
    await analyseTheExample(page);
    const registration = await page.evaluate(async () => (await navigator.serviceWorker.ready).scope);
    assert.match(registration, /\/railroad\/$/);
    assert.deepEqual(errors, []);
    await page.context().close();
  } finally {
    server.close();
    rmSync(host, { recursive: true, force: true });
  }
});

test('a browser that cannot load the core is told so, and nothing analyses wrong', async () => {
  const context = await session.browser.newContext({ serviceWorkers: 'block' });
  await context.route('**/trelvane_core.wasm', (route) => route.fulfill({ status: 404, body: '' }));
  const page = await context.newPage();
  await page.goto(session.url);
  const alert = page.getByRole('alert');
  await alert.waitFor();
  assert.equal(await alert.textContent(),
    'Trelvane could not start: its analysis did not load. Check the connection and reload the page.');
  assert.equal(await analyzeButton(page).isDisabled(), true);
  await context.close();
});
