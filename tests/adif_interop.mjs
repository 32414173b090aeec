// Parses an ADIF file with an independent ADIF library (the npm package adif-parser-ts) and
// prints what it finds, for the C++ interoperability test to compare with what was written.
//
//   node adif_interop.mjs <folder holding node_modules> <file.adi>
//
// Output: one line "field<TAB>record<TAB>name<TAB>value" per field of each record, then one
// line "records<TAB>count". Values are escaped: backslash, and every byte outside printable
// ASCII as \xHH (the file is read byte for byte as Latin-1).
import { createRequire } from 'node:module';
import { readFileSync } from 'node:fs';
import { join } from 'node:path';

const [moduleFolder, adifPath] = process.argv.slice(2);
if (!moduleFolder || !adifPath) {
  process.stderr.write('usage: node adif_interop.mjs <module folder> <file.adi>\n');
  process.exit(2);
}
const require = createRequire(join(moduleFolder, 'package.json'));
const { AdifParser } = require('adif-parser-ts');

function escape(text) {
  let out = '';
  for (const ch of text) {
    const code = ch.charCodeAt(0);
    if (ch === '\\') out += '\\\\';
    else if (code < 0x20 || code > 0x7e) out += '\\x' + code.toString(16).padStart(2, '0');
    else out += ch;
  }
  return out;
}

const parsed = AdifParser.parseAdi(readFileSync(adifPath, 'latin1'));
const records = parsed.records ?? [];
const lines = [];
records.forEach((record, index) => {
  for (const [name, value] of Object.entries(record)) {
    lines.push(`field\t${index}\t${name}\t${escape(value)}`);
  }
});
lines.push(`records\t${records.length}`);
process.stdout.write(lines.join('\n') + '\n');
