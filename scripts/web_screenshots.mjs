// Pictures of the web edition in Debian's Chromium: a phone 320 pixels wide with the worked
// example entered (light) and its results (dark), the results at desktop width, and the
// page the browser prints for them.
//   node scripts/web_screenshots.mjs SITE OUTPUT_DIR
import { execFileSync } from 'node:child_process';
import { join } from 'node:path';

import { launchChromium } from '../tests/web/chromium.mjs';
import { serveSite } from './serve_web.mjs';

const [site, out] = process.argv.slice(2);

const server = await serveSite(site, 0);
const browser = await launchChromium();

async function workedExample({ width, height, colorScheme }) {
  const page = await browser.newPage({ viewport: { width, height }, deviceScaleFactor: 2, colorScheme, locale: 'en-US' });
  await page.goto(`http://127.0.0.1:${server.address().port}/`);
  await page.getByRole('button', { name: 'Analyze' }).and(page.locator(':enabled')).waitFor();
  await page.getByLabel('Passing Track:').fill('10');
  await page.getByLabel('Functional Track:').fill('18');
  await page.getByLabel('Storage Track:').fill('100');
  await page.getByRole('spinbutton', { name: "Number of 40' cars" }).fill('30');
  await page.getByRole('spinbutton', { name: "Number of 40' cars" }).blur();
  return page;
}

try {
  let page = await workedExample({ width: 320, height: 640, colorScheme: 'light' });
  // Scrolled to the footages and the first counters, as a thumb leaves it.
  await page.locator('#fraTrack').evaluate((frame) => frame.scrollIntoView());
  await page.screenshot({ path: join(out, 'web-phone.png') });
  await page.close();

  page = await workedExample({ width: 320, height: 640, colorScheme: 'dark' });
  await page.getByRole('button', { name: 'Analyze' }).click();
  await page.getByRole('dialog', { name: 'Trelvane Analysis' }).waitFor();
  await page.screenshot({ path: join(out, 'web-phone-dark.png') });
  await page.close();

  page = await workedExample({ width: 1280, height: 720, colorScheme: 'light' });
  await page.getByRole('button', { name: 'Analyze' }).click();
  await page.getByRole('dialog', { name: 'Trelvane Analysis' }).waitFor();
  await page.screenshot({ path: join(out, 'web-desktop.png'), scale: 'css' });
  // Print with the name, the browser's dialog left out.
  await page.evaluate(() => { window.print = () => {}; });
  await page.getByRole('button', { name: 'Print' }).click();
  await page.getByRole('textbox', { name: 'Railroad name' }).fill('Pine Ridge');
  await page.keyboard.press('Enter');
  await page.emulateMedia({ media: 'print' });
  const pdf = join(out, 'web-report.pdf');
  await page.pdf({ path: pdf, format: 'Letter' });
  execFileSync('pdftoppm', ['-png', '-r', '72', '-singlefile', pdf, join(out, 'web-report')]);
  execFileSync('rm', [pdf]);
  await page.close();
} finally {
  await browser.close();
  server.close();
}
