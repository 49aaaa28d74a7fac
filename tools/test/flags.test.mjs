import { test } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { readFlagKeys, flagSource, flagPixelSize, syriaSvg, pointerSvg } from '../lib/flags.mjs';
import { forceSize, renderRgba } from '../lib/raster.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const keysFile = path.join(here, '..', 'flag-keys.tsv');

const pixel = (img, x, y) => Array.from(img.data.subarray((y * img.width + x) * 4, (y * img.width + x) * 4 + 4));
const close = (a, b, eps = 12) => a.every((v, i) => Math.abs(v - b[i]) <= eps);

test('key table: 163 keys in store order, the red dot without a code', () => {
  const entries = readFlagKeys(keysFile);
  assert.equal(entries.length, 163);
  assert.deepEqual(entries.slice(0, 4).map((e) => e.key), ['Afganistan', 'Malta', 'Mauritania', '00RedPointer']);
  assert.equal(entries.at(-1).key, 'Zimbabwe');
  assert.equal(new Set(entries.map((e) => e.key)).size, 163);
  assert.deepEqual(entries.filter((e) => e.code === '-').map((e) => e.key), ['00RedPointer']);
  for (const e of entries) assert.match(e.code, /^([a-z]{2}|-)$/, e.key);
  // Keys that name one country share one picture.
  const code = (k) => entries.find((e) => e.key === k).code;
  assert.equal(code('UK'), code('UnitedKingdom'));
  assert.equal(code('Holland'), code('Netherlands'));
});

test('key table reader refuses a file that is not the table', () => {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'keys-'));
  const bad = path.join(dir, 'bad.tsv');
  fs.writeFileSync(bad, 'name,code\nJapan,jp\n');
  assert.throws(() => readFlagKeys(bad), /header/);
  fs.writeFileSync(bad, 'key\tiso2\tnote\nJapan\n');
  assert.throws(() => readFlagKeys(bad), /bad line/);
});

test('resizing an SVG replaces its own size and needs a viewBox', () => {
  const out = forceSize('<svg xmlns="http://www.w3.org/2000/svg" width="900" height="600" viewBox="0 0 9 6"><rect/></svg>', 42, 28);
  assert.match(out, /^<svg xmlns="http:\/\/www.w3.org\/2000\/svg" viewBox="0 0 9 6" width="42" height="28" preserveAspectRatio="none">/);
  assert.doesNotMatch(out, /900|600/);
  assert.throws(() => forceSize('<svg width="9" height="6"></svg>', 42, 28), /viewBox/);
});

test('flag sizes: 28 high at the flag\'s proportions, Nepal in its own box', () => {
  const size = (code) => flagPixelSize(code, flagSource(code).svg);
  assert.deepEqual(size('jp'), { width: 42, height: 28 });
  assert.deepEqual(size('ch'), { width: 28, height: 28 });
  assert.deepEqual(size('va'), { width: 28, height: 28 });
  assert.deepEqual(size('gb'), { width: 56, height: 28 });
  assert.deepEqual(size('qa'), { width: 71, height: 28 });
  assert.deepEqual(size('np'), { width: 28, height: 35 });
  assert.deepEqual(size('sy'), { width: 42, height: 28 });
  assert.throws(() => flagSource('zz'), /no flag/);
});

test('Syria: green over white over black, three red stars evenly spread', () => {
  assert.equal(flagSource('sy').origin.startsWith('flag-icons'), true);
  const img = renderRgba(syriaSvg(), 360, 240);
  assert.ok(close(pixel(img, 10, 20), [0x00, 0x7a, 0x3d, 255]), 'green top');
  assert.ok(close(pixel(img, 10, 120), [255, 255, 255, 255]), 'white middle');
  assert.ok(close(pixel(img, 10, 220), [0, 0, 0, 255]), 'black bottom');
  assert.ok(close(pixel(img, 350, 220), [0, 0, 0, 255]), 'stripes reach the right edge');
  // Star centres at a quarter, a half and three quarters of the width.
  for (const x of [90, 180, 270]) assert.ok(close(pixel(img, x, 120), [0xce, 0x11, 0x26, 255]), `star at ${x}`);
  for (const x of [20, 135, 225, 340]) assert.ok(close(pixel(img, x, 120), [255, 255, 255, 255]), `no star at ${x}`);
});

test('red dot: opaque red centre, clear corners, soft edge', () => {
  const img = renderRgba(pointerSvg(16), 16, 16);
  assert.deepEqual(pixel(img, 8, 8), [255, 0, 0, 255]);
  assert.equal(pixel(img, 0, 0)[3], 0);
  assert.equal(pixel(img, 15, 15)[3], 0);
  const edge = pixel(img, 8, 0)[3];
  assert.ok(edge > 0 && edge < 255, `edge alpha ${edge}`);
});
