// Every real LightWave object and scene of the corpus that the readers open
// (`hlvtool info` reads it) exports, and the Khronos validator finds no error
// in what it writes. Prints the validator's totals; exits 1 on any failure.
//
//   node corpus_exports.mjs HLVTOOL CORPUS_FOLDER WORK_FOLDER
import { execFileSync, spawnSync } from 'node:child_process';
import { existsSync, mkdirSync, readdirSync, readFileSync, rmSync, statSync } from 'node:fs';
import { join, relative } from 'node:path';

const [tool, corpus, work] = process.argv.slice(2);
if (!existsSync(corpus)) {
    console.log(`corpus test skipped: no corpus at ${corpus}`);
    process.exit(0);
}
let validator;
try {
    validator = (await import('gltf-validator')).default;
} catch {
    console.log('corpus test skipped: run `npm ci` in tests/export for the validator');
    process.exit(0);
}

const files = [];
const walk = (folder) => {
    for (const name of readdirSync(folder).sort()) {
        const path = join(folder, name);
        if (statSync(path).isDirectory())
            walk(path);
        else if (/\.(lwo|lws)$/i.test(name))
            files.push(path);
    }
};
walk(corpus);
rmSync(work, { recursive: true, force: true });
mkdirSync(work, { recursive: true });

let opened = 0, exported = 0, errors = 0, warnings = 0, infos = 0;
const failures = [];
for (const file of files) {
    const name = relative(corpus, file);
    const info = spawnSync(tool, ['info', file], { encoding: 'utf8' });
    if (info.status !== 0)
        continue;  // the readers refuse it: nothing to export
    ++opened;
    const out = join(work, name.replace(/[\/ ]/g, '_') + '.glb');
    const run = spawnSync(tool, ['export', file, out], { encoding: 'utf8' });
    if (run.status !== 0) {
        failures.push(`${name}: export failed: ${run.stderr.trim().split('\n').pop()}`);
        continue;
    }
    ++exported;
    const report = await validator.validateBytes(new Uint8Array(readFileSync(out)), { maxIssues: 20 });
    errors += report.issues.numErrors;
    warnings += report.issues.numWarnings;
    infos += report.issues.numInfos;
    if (report.issues.numErrors > 0)
        failures.push(`${name}: ${report.issues.numErrors} validator errors: ` +
                      report.issues.messages.filter((m) => m.severity === 0).slice(0, 3).map((m) => m.code + ' ' + m.pointer).join(', '));
    for (const m of report.issues.messages.filter((m) => m.severity === 1).slice(0, 2))
        console.log(`${name}: warning ${m.code} ${m.pointer ?? ''} ${m.message}`);
}
console.log(`${files.length} LightWave files, ${opened} opened by the readers, ${exported} exported; ` +
            `validator: ${errors} errors, ${warnings} warnings, ${infos} infos`);
for (const failure of failures)
    console.log('FAILED ' + failure);
if (failures.length === 0)
    rmSync(work, { recursive: true, force: true });
process.exit(failures.length === 0 && opened > 0 ? 0 : 1);
