import { test } from 'node:test';
import assert from 'node:assert/strict';
import { geoMillerRaw } from 'd3-geo-projection';
import {
  MAP_WIDTH, MAP_HEIGHT, NORTH_EDGE, SOUTH_EDGE,
  millerY, mapFraction, mapProjection, checkTokyo,
} from '../lib/projection.mjs';
import { timeZoneBands, offsetLabel } from '../lib/maps.mjs';

const near = (a, b, eps, what) => assert.ok(Math.abs(a - b) <= eps, `${what}: ${a} not within ${eps} of ${b}`);

test('hand-written Miller ordinate agrees with d3-geo-projection', () => {
  for (const lat of [-60, -33.9, 0, 1e-6, 35.69, 60, 85.65, 89]) {
    near(millerY(lat), geoMillerRaw(0, (lat * Math.PI) / 180)[1], 1e-12, `lat ${lat}`);
  }
});

test('the crop puts its corners and Greenwich where they belong', () => {
  const p = mapProjection();
  const [x0, y0] = p([-180, NORTH_EDGE]);
  const [x1, y1] = p([180, SOUTH_EDGE]);
  near(x0, 0, 1e-9, 'west edge');
  near(y0, 0, 1e-9, 'north edge');
  near(x1, MAP_WIDTH, 1e-9, 'east edge');
  near(y1, MAP_HEIGHT, 1e-9, 'south edge');
  near(p([0, 10])[0], MAP_WIDTH / 2, 1e-9, 'Greenwich');
  // The vertical stretch is not a uniform scale: the equator is not halfway.
  assert.ok(p([0, 0])[1] > MAP_HEIGHT / 2 + 50);
});

test('projection and closed formula agree across the map', () => {
  const p = mapProjection();
  const places = {
    Tokyo: [139.69, 35.69], London: [-0.13, 51.51], NewYork: [-74.0, 40.71],
    Sydney: [151.21, -33.87], Honolulu: [-157.86, 21.31], Reykjavik: [-21.9, 64.13],
  };
  for (const [name, [lon, lat]] of Object.entries(places)) {
    const [x, y] = p([lon, lat]);
    const [fx, fy] = mapFraction(lon, lat);
    near(x / MAP_WIDTH, fx, 1e-9, `${name} x`);
    near(y / MAP_HEIGHT, fy, 1e-9, `${name} y`);
  }
});

test('Tokyo check passes on the map crop and catches a drifted one', () => {
  const [fx, fy] = checkTokyo();
  near(fx, 0.888, 0.001, 'Tokyo x');
  near(fy, 0.436, 0.001, 'Tokyo y');
  assert.throws(() => checkTokyo(mapProjection(MAP_WIDTH, MAP_HEIGHT + 20)), /Tokyo/);
  assert.throws(() => checkTokyo(mapProjection().rotate([-10, 0])), /Tokyo/);
});

test('time-zone bands tile the world, 15 degrees each, halved at the date line', () => {
  const bands = timeZoneBands();
  assert.equal(bands.length, 25);
  assert.deepEqual(bands.map((b) => b.offset), Array.from({ length: 25 }, (_, i) => i - 12));
  assert.equal(bands[0].west, -180);
  assert.equal(bands[24].east, 180);
  for (let i = 1; i < bands.length; i++) assert.equal(bands[i].west, bands[i - 1].east);
  for (const b of bands) {
    const width = b.east - b.west;
    assert.equal(width, Math.abs(b.offset) === 12 ? 7.5 : 15, `zone ${b.offset}`);
  }
  const zero = bands.find((b) => b.offset === 0);
  assert.deepEqual([zero.west, zero.east], [-7.5, 7.5]);
  // Tokyo (139.69 E) lies in +9.
  assert.equal(bands.find((b) => b.west <= 139.69 && 139.69 < b.east).offset, 9);
});

test('offset labels carry a sign except zero', () => {
  assert.equal(offsetLabel(0), '0');
  assert.equal(offsetLabel(9), '+9');
  assert.equal(offsetLabel(-12), '\u221212');
});
