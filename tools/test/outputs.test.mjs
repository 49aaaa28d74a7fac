// Checks the committed pictures themselves, so that a stale or hand-edited
// file under resources/ is noticed.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import sharp from 'sharp';
import { readFlagKeys, POINTER_FILE, hidpiName } from '../lib/flags.mjs';
import { ICON_SIZES } from '../lib/icon.mjs';
import { MAP_WIDTH, MAP_HEIGHT, mapProjection } from '../lib/projection.mjs';
import { STYLES } from '../lib/maps.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const resources = path.join(here, '..', '..', 'resources');
const flagsDir = path.join(resources, 'flags');
const iconDir = path.join(resources, 'icons', 'hicolor');
const isHidpi = (f) => f.endsWith('@2x.png');
const mapsDir = path.join(resources, 'maps');

async function load(file) {
  const { data, info } = await sharp(file).ensureAlpha().raw().toBuffer({ resolveWithObject: true });
  return { data, width: info.width, height: info.height };
}
const pixel = (img, x, y) => Array.from(img.data.subarray((y * img.width + x) * 4, (y * img.width + x) * 4 + 4));
const hex = (h) => [1, 3, 5].map((i) => parseInt(h.slice(i, i + 2), 16));
const sameColour = (a, b, eps = 4) => b.every((v, i) => Math.abs(a[i] - v) <= eps);

test('one flag file per code, and no strays', () => {
  const codes = new Set(readFlagKeys(path.join(here, '..', 'flag-keys.tsv')).map((e) => e.code).filter((c) => c !== '-'));
  const files = fs.readdirSync(flagsDir).filter((f) => f.endsWith('.png'));
  const plain = [...[...codes].map((c) => `${c}.png`), POINTER_FILE];
  assert.deepEqual(new Set(files), new Set([...plain, ...plain.map(hidpiName)]));
});

test('flag sizes: 28 high, Nepal 28 x 35, Japan 42, square Swiss and Vatican flags', async () => {
  const widths = new Map();
  for (const f of fs.readdirSync(flagsDir).filter((f) => f.endsWith('.png') && !isHidpi(f) && f !== POINTER_FILE)) {
    const { width, height } = await sharp(path.join(flagsDir, f)).metadata();
    widths.set(f, width);
    if (f === 'np.png') {
      assert.deepEqual([width, height], [28, 35]);
    } else {
      assert.equal(height, 28, f);
      assert.ok(width >= 28 && width <= 75, `${f} is ${width} wide`);
    }
  }
  assert.equal(widths.get('jp.png'), 42);
  assert.equal(widths.get('ch.png'), 28);
  assert.equal(widths.get('va.png'), 28);
  const common = [...widths.values()].filter((w) => w === 42).length;
  assert.ok(common > widths.size / 3, 'most flags are 42 wide');
});

test('flags are opaque rectangles except Nepal, which keeps its shape', async () => {
  for (const f of ['jp.png', 'gb.png', 'sy.png', 'qa.png']) {
    const img = await load(path.join(flagsDir, f));
    for (const [x, y] of [[0, 0], [img.width - 1, 0], [0, 27], [img.width - 1, 27]]) {
      assert.equal(pixel(img, x, y)[3], 255, `${f} corner ${x},${y}`);
    }
  }
  const np = await load(path.join(flagsDir, 'np.png'));
  assert.equal(pixel(np, 27, 0)[3], 0, 'clear beside the upper pennant');
  assert.equal(pixel(np, 27, 34)[3], 0, 'clear beside the lower pennant');
  assert.equal(pixel(np, 8, 17)[3], 255, 'solid inside');
});

test('Japan: red disc in the middle of white', async () => {
  const jp = await load(path.join(flagsDir, 'jp.png'));
  const centre = pixel(jp, 21, 14);
  assert.ok(centre[0] > 150 && centre[1] < 60 && centre[2] < 80, `centre ${centre}`);
  assert.deepEqual(pixel(jp, 2, 2).slice(0, 3), [255, 255, 255]);
});

test('red dot: 16 x 16, red on a clear ground', async () => {
  const img = await load(path.join(flagsDir, POINTER_FILE));
  assert.deepEqual([img.width, img.height], [16, 16]);
  assert.deepEqual(pixel(img, 8, 8), [255, 0, 0, 255]);
  for (const [x, y] of [[0, 0], [15, 0], [0, 15], [15, 15]]) assert.equal(pixel(img, x, y)[3], 0);
});

test('every map exists at the one size and at twice it, small enough to ship', async () => {
  const names = ['defolt', 'hwite', 'gray', 'bluegreen', 'dust', 'dark', 'timezone', 'start'];
  assert.deepEqual(new Set(Object.keys(STYLES)), new Set(names));
  assert.deepEqual(new Set(fs.readdirSync(mapsDir)), new Set(names.flatMap((n) => [`${n}.png`, `${n}@2x.png`])));
  for (const name of names) {
    for (const [file, scale, limit] of [[`${name}.png`, 1, 1024 * 1024], [`${name}@2x.png`, 2, 400 * 1024]]) {
      const full = path.join(mapsDir, file);
      const { width, height } = await sharp(full).metadata();
      assert.deepEqual([width, height], [MAP_WIDTH * scale, MAP_HEIGHT * scale], file);
      assert.ok(fs.statSync(full).size < limit, `${file} is ${fs.statSync(full).size} bytes`);
    }
  }
});

test('sharp flags: every picture again at exactly twice its size, the same design', async () => {
  const plain = fs.readdirSync(flagsDir).filter((f) => f.endsWith('.png') && !isHidpi(f));
  for (const f of plain) {
    const a = await sharp(path.join(flagsDir, f)).metadata();
    const b = await sharp(path.join(flagsDir, hidpiName(f))).metadata();
    assert.deepEqual([b.width, b.height], [a.width * 2, a.height * 2], f);
  }
  const jp = await load(path.join(flagsDir, 'jp@2x.png'));
  assert.deepEqual([jp.width, jp.height], [84, 56]);
  const centre = pixel(jp, 42, 28);
  assert.ok(centre[0] > 150 && centre[1] < 60 && centre[2] < 80, `centre ${centre}`);
  assert.deepEqual(pixel(jp, 4, 4).slice(0, 3), [255, 255, 255]);
  const np = await load(path.join(flagsDir, 'np@2x.png'));
  assert.deepEqual([np.width, np.height], [56, 70]);
  assert.equal(pixel(np, 55, 0)[3], 0, 'Nepal keeps its shape');
});

test('sharp maps: the same map, land and sea where the plain one has them', async () => {
  const p = mapProjection();
  for (const name of ['defolt', 'dark']) {
    const style = STYLES[name];
    const img = await load(path.join(mapsDir, `${name}@2x.png`));
    for (const [lonlat, colour] of [[[-3.7, 40.4], style.land], [[106.9, 47.9], style.land], [[-150, 0], style.ocean]]) {
      const [x, y] = p(lonlat).map((v) => Math.round(v * 2));
      assert.ok(sameColour(pixel(img, x, y), hex(colour)), `${name}@2x at ${lonlat}`);
    }
  }
});

test('icon: an SVG and square PNGs at every size, clear corners, a solid globe and dial', async () => {
  const svg = fs.readFileSync(path.join(iconDir, 'scalable', 'apps', 'tembra.svg'), 'utf8');
  assert.match(svg, /^<svg [^>]*viewBox="0 0 256 256"/);
  for (const size of ICON_SIZES) {
    const img = await load(path.join(iconDir, `${size}x${size}`, 'apps', 'tembra.png'));
    assert.deepEqual([img.width, img.height], [size, size]);
    for (const [x, y] of [[0, size - 1], [size - 1, 0]]) assert.equal(pixel(img, x, y)[3], 0, `${size}: corner ${x},${y}`);
    const at = (fx, fy) => pixel(img, Math.floor(fx * size), Math.floor(fy * size));
    assert.equal(at(0.3, 0.3)[3], 255, `${size}: globe`);
    const dial = at(0.6, 0.8); // inside the clock face, clear of the hands
    assert.ok(dial[3] === 255 && dial[0] > 180 && dial[1] > 180 && dial[2] > 180, `${size}: white dial ${dial}`);
  }
});

test('land and sea fall where the projection says on every plain map', async () => {
  const p = mapProjection();
  const land = { Madrid: [-3.7, 40.4], Ulaanbaatar: [106.9, 47.9], Alice: [133.9, -23.7], Manaus: [-60, -3.1], Kansas: [-98, 38.5] };
  const sea = { Pacific: [-150, 0], Atlantic: [-35, 30], Indian: [75, -20], Tasman: [160, -40] };
  for (const name of ['defolt', 'hwite', 'gray', 'bluegreen', 'dust', 'dark']) {
    const style = STYLES[name];
    const img = await load(path.join(mapsDir, `${name}.png`));
    for (const [place, lonlat] of Object.entries(land)) {
      const [x, y] = p(lonlat).map(Math.round);
      assert.ok(sameColour(pixel(img, x, y), hex(style.land)), `${name}: ${place} should be land`);
    }
    for (const [place, lonlat] of Object.entries(sea)) {
      const [x, y] = p(lonlat).map(Math.round);
      assert.ok(sameColour(pixel(img, x, y), hex(style.ocean)), `${name}: ${place} should be sea`);
    }
  }
});

test('time-zone map: neighbouring zones differ in shade, alternate ones match', async () => {
  const img = await load(path.join(mapsDir, 'timezone.png'));
  const y = Math.round(mapProjection()([0, -35])[1]);
  // Open South Atlantic / Pacific, well inside each band.
  const at = (lon) => pixel(img, Math.round(((lon + 180) / 360) * MAP_WIDTH), y);
  assert.ok(!sameColour(at(-15), at(-30)), 'zones -1 and -2 differ');
  assert.ok(sameColour(at(-15), at(-45)), 'zones -1 and -3 match');
  assert.ok(sameColour(at(-150), at(-120)), 'zones -10 and -8 match');
});
