// Debian's Chromium, headless, as the page's tests, its benchmark and its pictures start it
// (TRELVANE_CHROMIUM names another). The machine's network is closed: Chromium's own
// connections would only fail, so they are off.
import { chromium } from 'playwright-core';

export function launchChromium() {
  return chromium.launch({
    executablePath: process.env.TRELVANE_CHROMIUM ?? '/usr/bin/chromium',
    args: ['--disable-gpu', '--disable-background-networking', '--disable-component-update',
      '--disable-sync', '--disable-quic', '--no-first-run',
      // Chromium's sandbox refuses to run as root.
      ...(process.getuid?.() === 0 ? ['--no-sandbox'] : [])],
  });
}
