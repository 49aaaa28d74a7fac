// World maps: the seven styles of the map menu and the map shown before any
// map is chosen, all drawn from Natural Earth outlines on one projection.
import fs from 'node:fs';
import path from 'node:path';
import { createRequire } from 'node:module';
import { geoPath, geoGraticule } from 'd3-geo';
import { feature, mesh } from 'topojson-client';
import { MAP_WIDTH, MAP_HEIGHT, mapProjection, checkTokyo } from './projection.mjs';
import { renderRgba, writePng } from './raster.mjs';

const require = createRequire(import.meta.url);

export const MAP_HIDPI_SCALE = 2;

// Colours are kept away from red, orange and pink: clocks put red labels and a
// red "DST" mark on top of every map.
export const STYLES = {
  defolt: {
    ocean: '#a9cfea', land: '#e4ebc5',
    border: { color: '#9a9a78', width: 0.5 }, coast: { color: '#6d8fa8', width: 0.7 },
  },
  hwite: {
    ocean: '#dfe2e6', land: '#ffffff',
    border: { color: '#555555', width: 0.45 }, coast: { color: '#222222', width: 0.7 },
  },
  gray: {
    ocean: '#b0b4b9', land: '#e3e4e6',
    border: { color: '#85898e', width: 0.5 }, coast: { color: '#5f6368', width: 0.7 },
  },
  bluegreen: {
    ocean: '#79b0de', land: '#b6dc98',
    border: { color: '#6f9a5c', width: 0.5 }, coast: { color: '#3f6f96', width: 0.7 },
  },
  dust: {
    ocean: '#cfc19f', land: '#efe0b4',
    border: { color: '#b49a6a', width: 0.5 }, coast: { color: '#8c7450', width: 0.7 },
  },
  dark: {
    ocean: '#0c1626', land: '#232c38',
    border: { color: '#3b4656', width: 0.5 }, coast: { color: '#465468', width: 0.7 },
  },
  timezone: {
    ocean: '#c4dcf0', land: '#f2eed6',
    border: { color: '#a8a48a', width: 0.45 }, coast: { color: '#6f8aa0', width: 0.7 },
    zones: { shade: '#1d3550', opacity: 0.09, line: '#7f93a8', label: '#1d2b3a', strip: '#ffffff' },
  },
  // Before a map is chosen: the default colours with a faint 15-degree grid,
  // one cell per hour of time difference.
  start: {
    ocean: '#a9cfea', land: '#e4ebc5',
    border: { color: '#9a9a78', width: 0.5 }, coast: { color: '#6d8fa8', width: 0.7 },
    graticule: { color: '#ffffff', opacity: 0.55, width: 0.6, step: 15 },
  },
};

export function loadWorld() {
  const file = require.resolve('world-atlas/countries-50m.json');
  const topo = JSON.parse(fs.readFileSync(file, 'utf8'));
  return {
    land: feature(topo, topo.objects.land),
    // Only shared edges: coastlines are drawn separately, and thicker.
    borders: mesh(topo, topo.objects.countries, (a, b) => a !== b),
  };
}

// Zone n (-12 … +12) spans 15n ± 7.5 degrees; the ±12 zones are cut in half
// by the map's edges at 180 degrees.
export function timeZoneBands() {
  const bands = [];
  for (let n = -12; n <= 12; n++) {
    const west = Math.max(-180, 15 * n - 7.5);
    const east = Math.min(180, 15 * n + 7.5);
    bands.push({ offset: n, west, east });
  }
  return bands;
}

export function offsetLabel(n) {
  if (n === 0) return '0';
  return n > 0 ? `+${n}` : `\u2212${-n}`;
}

const lonToX = (lon) => ((lon + 180) / 360) * MAP_WIDTH;
const fmt = (v) => Number(v.toFixed(2));

function timeZoneLayers(z) {
  const stripHeight = 17;
  const shades = [];
  const lines = [];
  const labels = [];
  for (const b of timeZoneBands()) {
    const x0 = lonToX(b.west);
    const x1 = lonToX(b.east);
    if (b.offset % 2 !== 0) {
      shades.push(`<rect x="${fmt(x0)}" y="0" width="${fmt(x1 - x0)}" height="${MAP_HEIGHT}"/>`);
    }
    if (b.west > -180) lines.push(`M${fmt(x0)} 0V${MAP_HEIGHT}`);
    labels.push(`<text x="${fmt((x0 + x1) / 2)}" y="13">${offsetLabel(b.offset)}</text>`);
  }
  const over = [
    `<g fill="${z.shade}" fill-opacity="${z.opacity}">${shades.join('')}</g>`,
    `<path d="${lines.join('')}" stroke="${z.line}" stroke-width="0.6" stroke-opacity="0.8" fill="none"/>`,
  ].join('\n');
  const top = [
    `<rect x="0" y="0" width="${MAP_WIDTH}" height="${stripHeight}" fill="${z.strip}" fill-opacity="0.75"/>`,
    `<g font-family="DejaVu Sans" font-size="11.5" font-weight="bold" fill="${z.label}" text-anchor="middle">${labels.join('')}</g>`,
  ].join('\n');
  return { over, top };
}

export function mapSvg(style, world, projection = mapProjection()) {
  const p = geoPath(projection).digits(2);
  const parts = [
    `<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 ${MAP_WIDTH} ${MAP_HEIGHT}">`,
    `<rect width="${MAP_WIDTH}" height="${MAP_HEIGHT}" fill="${style.ocean}"/>`,
  ];
  if (style.graticule) {
    const g = style.graticule;
    const grid = geoGraticule().step([g.step, g.step]).extentMinor([[-180, -80], [180, 80 + 1e-9]]);
    parts.push(`<path d="${p(grid())}" fill="none" stroke="${g.color}" stroke-opacity="${g.opacity}" stroke-width="${g.width}"/>`);
  }
  parts.push(`<path d="${p(world.land)}" fill="${style.land}"/>`);
  const zones = style.zones ? timeZoneLayers(style.zones) : null;
  if (zones) parts.push(zones.over);
  parts.push(
    `<path d="${p(world.borders)}" fill="none" stroke="${style.border.color}" stroke-width="${style.border.width}" stroke-linejoin="round"/>`,
    `<path d="${p(world.land)}" fill="none" stroke="${style.coast.color}" stroke-width="${style.coast.width}" stroke-linejoin="round"/>`,
  );
  if (zones) parts.push(zones.top);
  parts.push('</svg>');
  return parts.join('\n');
}

export async function makeMaps(outDir, log = console.log) {
  const projection = mapProjection();
  const [fx, fy] = checkTokyo(projection);
  log(`maps: Tokyo at (${fx.toFixed(3)}, ${fy.toFixed(3)}) of the map`);
  fs.mkdirSync(outDir, { recursive: true });
  const world = loadWorld();
  for (const [name, style] of Object.entries(STYLES)) {
    const svg = mapSvg(style, world, projection);
    // Once at the map's size and once at twice it ("@2x") for screens with a
    // device pixel ratio of 2; the drawing is the same, only finer.
    for (const [scale, file] of [[1, `${name}.png`], [MAP_HIDPI_SCALE, `${name}@2x.png`]]) {
      const w = MAP_WIDTH * scale;
      const h = MAP_HEIGHT * scale;
      const out = path.join(outDir, file);
      await writePng(renderRgba(svg, w, h), out, { palette: true });
      log(`map ${file}: ${w}x${h}, ${fs.statSync(out).size} bytes`);
    }
  }
}
