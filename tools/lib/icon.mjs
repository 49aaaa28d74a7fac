// The program's icon: a clock face over a globe. The globe is a real
// orthographic view (Asia and the Pacific, where the program starts), the
// clock shows ten past ten so both hands stay visible at 16 px.
import fs from 'node:fs';
import path from 'node:path';
import { createRequire } from 'node:module';
import { geoOrthographic, geoPath, geoGraticule } from 'd3-geo';
import { feature } from 'topojson-client';
import { renderSupersampled, writePng } from './raster.mjs';

const require = createRequire(import.meta.url);

export const ICON_SIZES = [16, 22, 24, 32, 48, 64, 128, 256];
export const ICON_BOX = 256;
export const GLOBE = { cx: 108, cy: 108, r: 100 };
export const CLOCK = { cx: 172, cy: 172, r: 76 };

const f = (v) => Number(v.toFixed(2));

function handPath(angleDeg, length, width) {
  const a = (angleDeg * Math.PI) / 180;
  const x = CLOCK.cx + length * Math.sin(a);
  const y = CLOCK.cy - length * Math.cos(a);
  return `<line x1="${CLOCK.cx}" y1="${CLOCK.cy}" x2="${f(x)}" y2="${f(y)}" stroke-width="${width}"/>`;
}

export function iconSvg() {
  const topo = JSON.parse(fs.readFileSync(require.resolve('world-atlas/land-110m.json'), 'utf8'));
  const land = feature(topo, topo.objects.land);
  const projection = geoOrthographic()
    .rotate([-125, -25])
    .translate([GLOBE.cx, GLOBE.cy])
    .scale(GLOBE.r)
    .clipAngle(90)
    .precision(0.2);
  const p = geoPath(projection).digits(2);
  const grid = geoGraticule().step([30, 30]);

  const ticks = [];
  for (let h = 0; h < 12; h++) {
    const a = (h * 30 * Math.PI) / 180;
    const long = h % 3 === 0;
    const r0 = CLOCK.r - (long ? 22 : 14);
    const r1 = CLOCK.r - 7;
    ticks.push(`<line x1="${f(CLOCK.cx + r0 * Math.sin(a))}" y1="${f(CLOCK.cy - r0 * Math.cos(a))}" ` +
      `x2="${f(CLOCK.cx + r1 * Math.sin(a))}" y2="${f(CLOCK.cy - r1 * Math.cos(a))}" stroke-width="${long ? 9 : 5}"/>`);
  }
  return [
    `<svg xmlns="http://www.w3.org/2000/svg" width="${ICON_BOX}" height="${ICON_BOX}" viewBox="0 0 ${ICON_BOX} ${ICON_BOX}">`,
    '<defs>',
    `<radialGradient id="sea" cx="0.38" cy="0.32" r="0.75">`,
    '<stop offset="0" stop-color="#6fb6ee"/><stop offset="1" stop-color="#1f5f9e"/></radialGradient>',
    `<radialGradient id="dial" cx="0.4" cy="0.35" r="0.8">`,
    '<stop offset="0" stop-color="#ffffff"/><stop offset="1" stop-color="#e6e9ee"/></radialGradient>',
    '</defs>',
    `<circle cx="${GLOBE.cx}" cy="${GLOBE.cy}" r="${GLOBE.r}" fill="url(#sea)"/>`,
    `<path d="${p(grid())}" fill="none" stroke="#ffffff" stroke-opacity="0.35" stroke-width="2"/>`,
    `<path d="${p(land)}" fill="#8fce6a" stroke="#4d8a3a" stroke-width="1.5" stroke-linejoin="round"/>`,
    `<circle cx="${GLOBE.cx}" cy="${GLOBE.cy}" r="${GLOBE.r - 2}" fill="none" stroke="#174a7c" stroke-width="4"/>`,
    // A light ring parts the clock from the globe even where both are dark.
    `<circle cx="${CLOCK.cx}" cy="${CLOCK.cy}" r="${CLOCK.r + 6}" fill="#ffffff"/>`,
    `<circle cx="${CLOCK.cx}" cy="${CLOCK.cy}" r="${CLOCK.r}" fill="url(#dial)" stroke="#2b2f36" stroke-width="8"/>`,
    `<g stroke="#2b2f36" stroke-linecap="round">${ticks.join('')}</g>`,
    `<g stroke="#1b1e23" stroke-linecap="round">${handPath(305, 38, 11)}${handPath(60, 56, 8)}</g>`,
    `<circle cx="${CLOCK.cx}" cy="${CLOCK.cy}" r="9" fill="#e0281e"/>`,
    '</svg>',
  ].join('\n');
}

export async function makeIcon(iconDir, log = console.log) {
  const svg = iconSvg();
  const scalable = path.join(iconDir, 'scalable', 'apps');
  fs.mkdirSync(scalable, { recursive: true });
  fs.writeFileSync(path.join(scalable, 'tembra.svg'), svg + '\n');
  for (const size of ICON_SIZES) {
    const dir = path.join(iconDir, `${size}x${size}`, 'apps');
    fs.mkdirSync(dir, { recursive: true });
    const img = await renderSupersampled(svg, size, size, size <= 64 ? 8 : 4);
    await writePng(img, path.join(dir, 'tembra.png'));
  }
  log(`icon: svg and ${ICON_SIZES.length} PNGs (${ICON_SIZES.join(', ')} px)`);
}
