// SVG in, PNG out. resvg does the drawing, sharp the resampling and packing.
import { Resvg } from '@resvg/resvg-js';
import sharp from 'sharp';
import { createRequire } from 'node:module';
import path from 'node:path';

const require = createRequire(import.meta.url);
const fontDir = path.join(path.dirname(require.resolve('dejavu-fonts-ttf/package.json')), 'ttf');

// Fonts come from an npm package rather than the system, so every machine
// draws the same glyphs.
const fontOptions = {
  loadSystemFonts: false,
  fontFiles: [path.join(fontDir, 'DejaVuSans.ttf'), path.join(fontDir, 'DejaVuSans-Bold.ttf')],
  defaultFontFamily: 'DejaVu Sans',
};

// Intrinsic size of an SVG, as resvg reads it (viewBox or width/height).
export function svgSize(svg) {
  const r = new Resvg(svg, { font: fontOptions });
  return { width: r.width, height: r.height };
}

// Renders the SVG to raw RGBA at the given pixel size, stretching it to fill.
export function renderRgba(svg, width, height) {
  const fitted = forceSize(svg, width, height);
  const img = new Resvg(fitted, {
    font: fontOptions,
    fitTo: { mode: 'original' },
    shapeRendering: 2, // geometricPrecision: anti-aliased edges
    textRendering: 1,
  }).render();
  if (img.width !== width || img.height !== height) {
    throw new Error(`resvg gave ${img.width}x${img.height}, wanted ${width}x${height}`);
  }
  return { data: Buffer.from(img.pixels), width, height };
}

// Sets the root element's width and height, and lets the viewBox stretch to
// them, so that the output has exactly the size asked for.
export function forceSize(svg, width, height) {
  return svg.replace(/<svg\b([^>]*)>/, (whole, attrs) => {
    let a = attrs
      .replace(/\s(width|height|preserveAspectRatio)\s*=\s*("[^"]*"|'[^']*')/g, '')
      .replace(/\/\s*$/, '');
    if (!/\sviewBox\s*=/.test(a)) {
      throw new Error('SVG without a viewBox cannot be resized safely');
    }
    return `<svg${a} width="${width}" height="${height}" preserveAspectRatio="none">`;
  });
}

// Draws large and reduces with a Lanczos filter: at 28 px high this keeps
// small emblems and stripes sharper than drawing straight at size.
export async function renderSupersampled(svg, width, height, factor = 8) {
  const big = renderRgba(svg, width * factor, height * factor);
  return sharp(big.data, { raw: { width: big.width, height: big.height, channels: 4 } })
    .resize(width, height, { fit: 'fill', kernel: 'lanczos3' })
    .raw()
    .toBuffer({ resolveWithObject: true })
    .then(({ data, info }) => ({ data, width: info.width, height: info.height }));
}

// Writes an RGBA image as PNG. Opaque images lose the alpha channel; with
// `palette` the colours are reduced to at most 256 (maps and flags have few
// distinct colours, so this costs nothing visible and saves a lot of bytes).
export async function writePng(img, file, { palette = false } = {}) {
  let s = sharp(img.data, { raw: { width: img.width, height: img.height, channels: 4 } });
  if (isOpaque(img)) s = s.removeAlpha();
  const png = palette
    ? { palette: true, quality: 100, colours: 256, dither: 0, effort: 10, compressionLevel: 9 }
    : { compressionLevel: 9, adaptiveFiltering: true };
  await s.png(png).toFile(file);
}

export function isOpaque(img) {
  for (let i = 3; i < img.data.length; i += 4) if (img.data[i] !== 255) return false;
  return true;
}
