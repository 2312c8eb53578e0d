// The web edition's size: every file of the site, raw and as `gzip -9` makes it, and the
// total. With --check it fails when the gzipped total exceeds 80 KiB.
//   node bench/web_size.mjs SITE [--check]
import { execFileSync } from 'node:child_process';
import { readdirSync, statSync } from 'node:fs';
import { join } from 'node:path';

const kLimit = 80 * 1024;
const [site, check] = process.argv.slice(2);
if (!site) {
  console.error('usage: node bench/web_size.mjs SITE [--check]');
  process.exit(2);
}

let raw = 0;
let gzipped = 0;
console.log(`${'file'.padEnd(24)} ${'bytes'.padStart(8)} ${'gzip -9'.padStart(8)}`);
for (const name of readdirSync(site).sort()) {
  const path = join(site, name);
  const bytes = statSync(path).size;
  const packed = execFileSync('gzip', ['-9c', path]).length;
  raw += bytes;
  gzipped += packed;
  console.log(`${name.padEnd(24)} ${String(bytes).padStart(8)} ${String(packed).padStart(8)}`);
}
console.log(`${'total'.padEnd(24)} ${String(raw).padStart(8)} ${String(gzipped).padStart(8)}`
  + `  (${(gzipped / 1024).toFixed(1)} KiB of ${kLimit / 1024} KiB gzipped)`);
if (check === '--check' && gzipped > kLimit) {
  console.error(`The site is ${gzipped} bytes gzipped, over ${kLimit}.`);
  process.exit(1);
}
