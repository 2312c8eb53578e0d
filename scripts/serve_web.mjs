// A static server for the web edition on 127.0.0.1, with the content types a browser checks
// (the core's application/wasm among them): for trying the site, and for its tests.
//   node scripts/serve_web.mjs FOLDER [PORT]
import { createServer } from 'node:http';
import { readFile, stat } from 'node:fs/promises';
import { extname, join, resolve, sep } from 'node:path';
import { pathToFileURL } from 'node:url';

const kTypes = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.wasm': 'application/wasm',
  '.webmanifest': 'application/manifest+json',
  '.svg': 'image/svg+xml',
  '.png': 'image/png',
};

// Resolves with the listening server; port 0 takes a free one (server.address().port).
export function serveSite(folder, port = 8080) {
  const root = resolve(folder);
  const server = createServer(async (request, response) => {
    try {
      let path = resolve(join(root, decodeURIComponent(new URL(request.url, 'http://x').pathname)));
      if (path !== root && !path.startsWith(root + sep))
        throw new Error('outside the site');
      if ((await stat(path)).isDirectory()) {
        // A folder's page names its files relative to the folder.
        if (!request.url.split('?')[0].endsWith('/')) {
          response.writeHead(301, { Location: `${request.url.split('?')[0]}/` });
          response.end();
          return;
        }
        path = join(path, 'index.html');
      }
      const body = await readFile(path);
      response.writeHead(200, {
        'Content-Type': kTypes[extname(path)] ?? 'application/octet-stream',
        // Always asked again, so a rebuilt site shows at once.
        'Cache-Control': 'no-cache',
      });
      response.end(request.method === 'HEAD' ? undefined : body);
    } catch {
      response.writeHead(404, { 'Content-Type': 'text/plain; charset=utf-8' });
      response.end('Not found\n');
    }
  });
  return new Promise((done, failed) => {
    server.once('error', failed);
    server.listen(port, '127.0.0.1', () => done(server));
  });
}

if (import.meta.url === pathToFileURL(process.argv[1]).href) {
  const [folder, port = '8080'] = process.argv.slice(2);
  if (!folder) {
    console.error('usage: node serve_web.mjs FOLDER [PORT]');
    process.exit(2);
  }
  const server = await serveSite(folder, Number(port));
  console.log(`Trelvane is served on http://127.0.0.1:${server.address().port}/ (Ctrl+C ends it)`);
}
