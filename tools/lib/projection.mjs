// The one projection and crop shared by every built-in map. Clock positions are
// stored as fractions of the map picture, so all maps must agree on it exactly.
import { geoProjection } from 'd3-geo';
import { geoMillerRaw } from 'd3-geo-projection';

export const MAP_WIDTH = 1554;
export const MAP_HEIGHT = 886;
export const NORTH_EDGE = 85.65; // degrees latitude at the top edge
export const SOUTH_EDGE = -60; // degrees latitude at the bottom edge

const RAD = Math.PI / 180;

// Miller cylindrical ordinate, written out on its own so that it can check the
// library's raw projection.
export function millerY(latDeg) {
  return 1.25 * Math.log(Math.tan(Math.PI / 4 + 0.4 * latDeg * RAD));
}

// Fraction of the map width and height (0,0 top left) of a point, from the
// closed formula. Longitudes are taken as given (no wrapping).
export function mapFraction(lonDeg, latDeg) {
  const top = millerY(NORTH_EDGE);
  const bottom = millerY(SOUTH_EDGE);
  return [(lonDeg + 180) / 360, (top - millerY(latDeg)) / (top - bottom)];
}

// A d3 projection onto the map in pixels. The Miller rectangle is stretched
// unevenly to fill the picture, which a uniform d3 scale cannot do, so the
// vertical stretch goes into the raw projection; d3 then still does the
// antimeridian cut and adaptive resampling for us.
export function mapProjection(width = MAP_WIDTH, height = MAP_HEIGHT) {
  const k = width / (2 * Math.PI);
  const top = geoMillerRaw(0, NORTH_EDGE * RAD)[1];
  const bottom = geoMillerRaw(0, SOUTH_EDGE * RAD)[1];
  const stretch = height / (k * (top - bottom));
  const raw = (lambda, phi) => {
    const [x, y] = geoMillerRaw(lambda, phi);
    return [x, y * stretch];
  };
  return geoProjection(raw)
    .scale(k)
    .translate([width / 2, k * stretch * top])
    .precision(0.1)
    .clipExtent([[0, 0], [width, height]]);
}

// Tokyo has to land where the clocks of a first start expect it; if this fails
// the crop or the projection has drifted.
export function checkTokyo(projection = mapProjection()) {
  const [x, y] = projection([139.69, 35.69]);
  const fx = x / MAP_WIDTH;
  const fy = y / MAP_HEIGHT;
  if (Math.abs(fx - 0.888) > 0.002 || Math.abs(fy - 0.436) > 0.002) {
    throw new Error(`Tokyo at (${fx.toFixed(4)}, ${fy.toFixed(4)}) of the map, expected about (0.888, 0.436)`);
  }
  return [fx, fy];
}
