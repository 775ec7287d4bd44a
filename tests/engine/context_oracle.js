// Compares Verdel's context-sensitive rewriting with lindenmayer.js, a
// third-party implementation of the book's bracketed context matching:
//   node context_oracle.js <lindenmayer module folder> <verdel-cli> <book folder> <work folder>
// First the book's context-sensitive plants (figure 1.31), then many random
// context-sensitive systems. Exits with 0 when every production agrees, 1 at
// the first difference, 77 when the module is missing and CI is not set.
//
// One difference is known and bridged: lindenmayer.js lets a right context
// run on past the end of a branch (the module after "]"), while in the book a
// module at the end of a branch has no right neighbour (a signal going down
// never enters a branch). The oracle is given a sentinel "#" before every "]",
// a symbol no rule names and no context skips, which ends its right contexts
// there as the book does; the sentinels are removed from its productions.
// The random systems keep to what both define alike: contexts of letters,
// right contexts that enter a branch name one letter of it ("[B]"), and
// every successor and branch starts with a letter, so no branch starts with
// another branch.
'use strict';
const fs = require('fs');
const path = require('path');
const {execFileSync} = require('child_process');

const [modulePath, cli, bookFolder, work] = process.argv.slice(2);
if (!fs.existsSync(path.join(modulePath || '', 'package.json'))) {
    console.log(`lindenmayer.js is not installed in ${modulePath} (scripts/setup.sh installs it)`);
    process.exit(process.env.CI || process.env.VERDEL_REQUIRE_ORACLES ? 1 : 77);
}
const LSystem = require(modulePath);
fs.mkdirSync(work, {recursive: true});

const withSentinels = (text) => text.replace(/\]/g, '#]');

// The oracle's production of a system {ignore, steps, axiom, rules: [[left, pred, right, successor]]}.
function oracle(system) {
    const lsystem = new LSystem({axiom: withSentinels(system.axiom), ignoredSymbols: system.ignore});
    for (const [left, pred, right, successor] of system.rules) {
        const key = (left ? left + '<' : '') + pred + (right ? '>' + right : '');
        lsystem.setProduction(key, withSentinels(successor), true);
    }
    return lsystem.iterate(system.steps).replace(/#/g, '');
}

// Verdel's production of the same system, written as an extended definition.
function verdel(system, name) {
    const rules = system.rules.map(([l, p, r, s]) => (l ? l + ' < ' : '') + p + (r ? ' > ' + r : '') + ' --> ' + s);
    const lines = ['#extended', '#ignore ' + system.ignore, String(system.steps), '22.5', '2', system.axiom, ...rules, '@'];
    const file = path.join(work, name + '.vd');
    fs.writeFileSync(file, lines.join('\n') + '\n');
    return produce(file);
}

const produce = (file) => execFileSync(cli, ['produce', file], {encoding: 'utf8', maxBuffer: 1 << 26}).trim();

// A book file's system; modules with parameters (the turning of the axiom) are left out.
function readBookSystem(file) {
    const lines = fs.readFileSync(file, 'utf8').split('\n').filter((l) => l && !l.startsWith('#') || l.startsWith('#ignore'));
    const ignore = lines.find((l) => l.startsWith('#ignore')).slice(8).trim();
    const values = lines.filter((l) => !l.startsWith('#'));
    const rules = values.slice(4, values.indexOf('@')).map((line) => {
        const [left, successor] = line.split('-->').map((s) => s.trim());
        const m = left.match(/^(?:(\S+)\s*<\s*)?(\S)(?:\s*>\s*(\S+))?$/);
        return [m[1] || '', m[2], m[3] || '', successor];
    });
    return {ignore, steps: Number(values[0]), axiom: values[3].replace(/.\([^)]*\)/g, ''), rules};
}

function check(system, expected, name) {
    const actual = oracle(system);
    if (actual === expected) return;
    let at = 0;
    while (at < actual.length && actual[at] === expected[at]) ++at;
    console.log(`${name}: the productions differ at character ${at}`);
    console.log(JSON.stringify(system));
    console.log(`verdel: ...${expected.slice(Math.max(0, at - 30), at + 30)}`);
    console.log(`oracle: ...${actual.slice(Math.max(0, at - 30), at + 30)}`);
    process.exit(1);
}

let compared = 0;
for (const name of fs.readdirSync(bookFolder).filter((f) => f.startsWith('context_')).sort()) {
    const file = path.join(bookFolder, name);
    check(readBookSystem(file), produce(file).replace(/.\([^)]*\)/g, ''), name);
    ++compared;
}

// Random systems from a fixed seed (mulberry32), so a failure repeats.
let seed = 20240601;
function random() {
    seed = (seed + 0x6d2b79f5) | 0;
    let t = Math.imul(seed ^ (seed >>> 15), 1 | seed);
    t = (t + Math.imul(t ^ (t >>> 7), 61 | t)) ^ t;
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
}
const pick = (text) => text[Math.floor(random() * text.length)];
const letters = 'ABC';

// A run of letters, ignored symbols and branches that starts with a letter.
function word(length, depth) {
    let text = pick(letters);
    while (text.length < length) {
        const r = random();
        if (r < 0.15 && depth < 2) text += '[' + word(1 + Math.floor(random() * 4), depth + 1) + ']';
        else text += r < 0.6 ? pick(letters) : pick('+-F');
    }
    return text;
}

function context(maxLength, branches) {
    let text = '';
    const length = Math.floor(random() * (maxLength + 1));
    for (let k = 0; k < length; ++k) text += branches && random() < 0.3 ? '[' + pick(letters) + ']' : pick(letters);
    return text;
}

for (let k = 0; k < 200; ++k) {
    const rules = [];
    for (let n = 1 + Math.floor(random() * 6); n > 0; --n)
        rules.push([context(2, false), pick(letters), context(3, true), word(1 + Math.floor(random() * 5), 0)]);
    const system = {ignore: '+-F', steps: 1 + Math.floor(random() * 5), axiom: word(3 + Math.floor(random() * 8), 0), rules};
    check(system, verdel(system, 'random' + k), 'random system ' + k);
    ++compared;
}
console.log(`${compared} productions agree with lindenmayer.js`);
