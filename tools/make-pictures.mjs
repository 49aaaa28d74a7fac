// Builds the built-in pictures under ../resources from npm packages only.
//   node make-pictures.mjs            flags, maps and the icon
//   node make-pictures.mjs flags      flags only
//   node make-pictures.mjs maps       maps only
//   node make-pictures.mjs icon       the program's icon only
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { makeFlags } from './lib/flags.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const resources = path.resolve(here, '..', 'resources');
const what = process.argv.slice(2);
const want = (part) => what.length === 0 || what.includes(part);

if (want('flags')) {
  await makeFlags(path.join(here, 'flag-keys.tsv'), path.join(resources, 'flags'));
}
if (want('maps')) {
  const { makeMaps } = await import('./lib/maps.mjs');
  await makeMaps(path.join(resources, 'maps'));
}
if (want('icon')) {
  const { makeIcon } = await import('./lib/icon.mjs');
  await makeIcon(path.join(resources, 'icons', 'hicolor'));
}
