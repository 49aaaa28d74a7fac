// Flag pictures: one PNG per ISO 3166 code, 28 px high at the flag's own
// proportions, plus the red dot that a clock may carry instead of a flag.
import fs from 'node:fs';
import path from 'node:path';
import { createRequire } from 'node:module';
import { svgSize, renderSupersampled, writePng } from './raster.mjs';

const require = createRequire(import.meta.url);
const countryFlagsDir = path.join(path.dirname(require.resolve('svg-country-flags/package.json')), 'svg');
const flagIconsDir = path.join(path.dirname(require.resolve('flag-icons/package.json')), 'flags');

export const FLAG_HEIGHT = 28;
// Nepal is the one flag taller than wide; it gets its own box.
export const NEPAL_SIZE = { width: 28, height: 35 };
export const POINTER_SIZE = 16;
export const POINTER_FILE = 'redpointer.png';
// Screens with a device pixel ratio of 2 get every picture again at twice the
// size, under Qt's "@2x" name; the program picks them by the ratio.
export const HIDPI_SCALE = 2;
export const hidpiName = (file) => file.replace(/\.png$/, '@2x.png');

// Reads the key table: picture key, lower-case ISO code ("-" for the red dot).
export function readFlagKeys(file) {
  const lines = fs.readFileSync(file, 'utf8').split(/\r?\n/).filter((l) => l.trim() !== '');
  const [header, ...rows] = lines;
  if (!/^key\tiso2\b/.test(header)) throw new Error(`${file}: unexpected header "${header}"`);
  return rows.map((line) => {
    const [key, code] = line.split('\t');
    if (!key || !code) throw new Error(`${file}: bad line "${line}"`);
    return { key, code };
  });
}

// Syria's 2025 flag (green, white, black with three red stars). flag-icons
// only ships it cut to 4:3, trimmed evenly on both sides; widening the stripes
// back to 3:2 and moving the stars by the trimmed margin restores the real flag.
export function syriaSvg() {
  const src = fs.readFileSync(path.join(flagIconsDir, '4x3', 'sy.svg'), 'utf8');
  const order = [...src.matchAll(/fill="(#[0-9a-f]{3,6})"/gi)].map((m) => m[1].toLowerCase());
  if (order.join(',') !== '#fff,#007a3d,#ce1126') {
    throw new Error('flag-icons sy.svg is not the green-white-black design with red stars');
  }
  const stars = src.match(/<path fill="#ce1126" d="([^"]+)"/i);
  if (!/viewBox="0 0 640 480"/.test(src) || !stars) throw new Error('flag-icons sy.svg has an unexpected layout');
  return [
    '<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 720 480">',
    '<path d="M0 0h720v480H0Z"/>',
    '<path fill="#fff" d="M0 0h720v320H0Z"/>',
    '<path fill="#007a3d" d="M0 0h720v160H0Z"/>',
    `<path fill="#ce1126" transform="translate(40 0)" d="${stars[1]}"/>`,
    '</svg>',
  ].join('\n');
}

// Where a flag's artwork comes from: the public-domain set, except where it
// shows a flag that has since been replaced.
export function flagSource(code) {
  if (code === 'sy') return { svg: syriaSvg(), origin: 'flag-icons (widened to 3:2)' };
  const file = path.join(countryFlagsDir, `${code}.svg`);
  if (!fs.existsSync(file)) throw new Error(`svg-country-flags has no flag "${code}"`);
  return { svg: fs.readFileSync(file, 'utf8'), origin: 'svg-country-flags' };
}

export function flagPixelSize(code, svg) {
  if (code === 'np') return { ...NEPAL_SIZE };
  const { width, height } = svgSize(svg);
  return { width: Math.round((FLAG_HEIGHT * width) / height), height: FLAG_HEIGHT };
}

// An anti-aliased red disc that fills the square.
export function pointerSvg(size = POINTER_SIZE) {
  const r = size / 2;
  return `<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 ${size} ${size}">` +
    `<circle cx="${r}" cy="${r}" r="${r - 0.5}" fill="#ff0000"/></svg>`;
}

export async function makeFlags(keysFile, outDir, log = console.log) {
  fs.mkdirSync(outDir, { recursive: true });
  const entries = readFlagKeys(keysFile);
  const codes = [...new Set(entries.map((e) => e.code).filter((c) => c !== '-'))];
  const made = [];
  for (const code of codes) {
    const { svg, origin } = flagSource(code);
    const { width, height } = flagPixelSize(code, svg);
    const file = path.join(outDir, `${code}.png`);
    await writePng(await renderSupersampled(svg, width, height), file);
    // Drawn afresh from the artwork, not enlarged: that is what makes it sharp.
    await writePng(await renderSupersampled(svg, width * HIDPI_SCALE, height * HIDPI_SCALE, 4), hidpiName(file));
    made.push({ code, width, height, origin });
    if (origin !== 'svg-country-flags') log(`flag ${code}: ${origin}`);
  }
  if (entries.some((e) => e.code === '-')) {
    const file = path.join(outDir, POINTER_FILE);
    await writePng(await renderSupersampled(pointerSvg(), POINTER_SIZE, POINTER_SIZE), file);
    const big = POINTER_SIZE * HIDPI_SCALE;
    await writePng(await renderSupersampled(pointerSvg(big), big, big, 4), hidpiName(file));
    made.push({ code: '-', width: POINTER_SIZE, height: POINTER_SIZE, origin: 'drawn' });
  }
  log(`flags: ${made.length} pictures for ${entries.length} keys`);
  return made;
}
