// The page: turns the form into combogen's command line, checks it (the page's own checks of
// each field, then the engine's, in a worker) when Generate is pressed, and runs the engine in
// a fresh worker. Nothing leaves the browser.
'use strict';

const OUTPUT = 'combinations.txt';
const FIXED = 'fixed.txt';
const STATS = 'stats.txt';
const CHART = 'chart.svg';
const SAVED_SEED = 'seed.bin';
const PREVIEW_LINES = 20;
const COPY_LIMIT = 1 << 20;  // a file up to this size is copied whole, else the lines shown
const LARGE_RUN = 2e9;  // bytes past which Generate asks once more
const LARGEST_LINE_COUNT = 2147483647;

// Options of the engine that this build's form offers; the others stay disabled.
const OFFERED = {
    unique: true,
    bonus: true,
    sum: true,
    odd: true,
    maxRun: true,
    exclude: true,
    stats: true,
};
// The wheel and the checks of a file of lines, where the engine has them.
const MODES = {wheel: true, checks: true};

const $ = (id) => document.getElementById(id);
const form = $('form');
const generate = $('generate');
const cancel = $('cancel');

// The engine's script, started as a worker. A page opened from a file may not start a worker
// from a file: there the page loads the script, which defines combogenWorker, and starts the
// worker from the function's text. From a server the page itself never parses the engine.
const workerUrl = location.protocol !== 'file:' ? Promise.resolve('engine.js')
    : new Promise((resolve, reject) => {
        const script = document.createElement('script');
        script.src = 'engine.js';
        script.onload = () => resolve(URL.createObjectURL(new Blob(
            ['(' + combogenWorker.toString() + ')()'], {type: 'text/javascript'})));
        script.onerror = () => reject(new Error('the engine did not load'));
        document.head.append(script);
    });

// The replay file chosen, as bytes; its name is the seed file's name on the command line.
let replay = null;

function value(id) {
    return $(id).value;
}

// The number fields: the name a message gives each, and its plain bounds (the engine checks
// the bounds that depend on other fields).
const NUMBERS = {
    'lines': ['How many lines', 1, LARGEST_LINE_COUNT],
    'pool': ['Numbers to draw from', 1, 80],
    'pick': ['Numbers on each line', 1, 80],
    'fixed-min': ['At least', 0, 80],
    'fixed-max': ['At most', 0, 80],
    'bonus-count': ['Bonus numbers, how many', 1, 80],
    'bonus-pool': ['Bonus numbers, drawn from', 1, 80],
    'sum-min': ['Sum, at least', 0, 3240],
    'sum-max': ['Sum, at most', 0, 3240],
    'odd-min': ['Odd numbers, at least', 0, 80],
    'odd-max': ['Odd numbers, at most', 0, 80],
    'max-run': ['Longest run', 1, 80],
    'wheel-t': ['Guarantee, numbers a line holds', 1, 80],
    'wheel-m': ['Guarantee, numbers drawn', 1, 80],
    'wheel-effort': ['Effort', 1, 100000],
};

function wheelMode() {
    return MODES.wheel && $('make-wheel').checked;
}

// The form's settings as the command line's words, with the complaints the page makes itself:
// one per field, all at once. skip names option groups to leave out (to find the engine's
// complaints past the first).
function commandLine(skip = new Set()) {
    const args = ['--explain'];
    const files = {};
    const complaints = [];
    const number = (id) => {
        const read = wholeNumber(value(id), NUMBERS[id][1], NUMBERS[id][2], NUMBERS[id][0]);
        if (read.reason) complaints.push({field: id, reason: read.reason});
        return read.text;
    };
    const addPair = (option, first, second, field) => {
        const a = value(first).trim(), b = value(second).trim();
        if (skip.has(field) || (a === '' && b === '')) return;
        if (a === '' || b === '') {
            complaints.push({field, reason: 'Give both numbers, or leave both empty.'});
            return;
        }
        const x = number(first), y = number(second);
        if (x !== undefined && y !== undefined) args.push(option, x + ':' + y);
    };
    if ($('unix').checked) args.push('--lf');
    if (wheelMode() && !skip.has('wheel')) {
        const t = number('wheel-t'), m = number('wheel-m');
        if (t !== undefined && m !== undefined) args.push('--wheel', t + ':' + m);
        const numbers = asciiDigits(value('wheel-numbers')).trim();
        if (numbers !== '') args.push('--numbers', numbers);
        if ($('wheel-budget').checked) args.push('--budget');
        if (value('wheel-effort').trim() !== '') {
            const effort = number('wheel-effort');
            if (effort !== undefined) args.push('--effort', effort);
        }
    }
    if (OFFERED.unique && $('unique').checked && !skip.has('unique')) args.push('--unique');
    if (OFFERED.bonus) addPair('--bonus', 'bonus-count', 'bonus-pool', 'bonus');
    if (OFFERED.sum) addPair('--sum', 'sum-min', 'sum-max', 'sum');
    if (OFFERED.odd) addPair('--odd', 'odd-min', 'odd-max', 'odd');
    if (OFFERED.maxRun && value('max-run').trim() !== '' && !skip.has('max-run')) {
        const run = number('max-run');
        if (run !== undefined) args.push('--max-run', run);
    }
    const exclude = asciiDigits(value('exclude')).trim();
    if (OFFERED.exclude && exclude !== '' && !skip.has('exclude')) {
        const numbers = exclude.match(/\d+/g) || [];
        const wrong = numbers.find((n) => Number(n) < 1 || Number(n) > 80);
        if (numbers.length === 0 || wrong !== undefined) {
            complaints.push({field: 'exclude', reason: wrong === undefined
                ? 'Numbers never to use: list at least one number.'
                : 'Numbers never to use: ' + grouped(wrong) + ' is not a number from 1 to 80.'});
        }
        args.push('--exclude', exclude);
    }
    if (value('seed') !== '' && !skip.has('seed')) args.push('--seed', value('seed'));
    if (replay && !skip.has('replay')) {
        args.push('--seed-file', replay.name);
        files[replay.name] = replay.bytes;
    }
    if ($('save-seed').checked && !skip.has('save-seed')) args.push('--save-seed', SAVED_SEED);
    if (OFFERED.stats) args.push('--stats', STATS, '--chart', CHART);
    // Larger hand-overs to the page; the file's bytes are the same for any block size.
    args.push('--block-size', '65536');
    const lines = number('lines'), pool = number('pool'), pick = number('pick');
    args.push('--', lines, pool, pick, $('sorted').checked ? '1' : '0', OUTPUT);
    const fixedText = asciiDigits(value('fixed'));
    const some = $('fixed-some').checked;
    // The command line reads letters as separators; typed here, they are a slip to point out.
    const word = fixedText.match(/\p{L}[\p{L}\p{N}]*/u);
    if (word) {
        complaints.push({field: 'fixed', reason: 'Fixed numbers: “' + word[0] +
            '” is not a number; give numbers only, apart by commas or blanks.'});
    }
    if (fixedText.trim() !== '' || some) {
        // Numbers too long to convert fail the command line's run; the page says it plainly.
        const big = (fixedText.match(/\d+/g) || [])
            .find((n) => n.replace(/^0+/, '').length > 4);
        if (big) {
            complaints.push({field: 'fixed', reason: 'Fixed number ' + grouped(big) +
                ' is larger than any number drawn (at most 80).'});
        }
        files[FIXED] = new TextEncoder().encode(fixedText);
        args.push(FIXED);
        if (some) args.push(number('fixed-min'), number('fixed-max'));
    }
    return {args, files, complaints};
}

function syncFixedUse() {
    const some = $('fixed-some').checked;
    $('fixed-min').disabled = !some;
    $('fixed-max').disabled = !some;
    for (const id of ['wheel-fieldset', 'wheel-words', 'wheel-search']) $(id).hidden = !wheelMode();
    if (wheelMode()) $('wheel-words').textContent = wheelWords();
    const checking = $('make-check').checked;
    if (checking !== form.classList.contains('checking')) {
        form.classList.toggle('checking', checking);
        // With no lines made here, the lines to check come from a file.
        if (checking && $('download').hidden) $('check-upload').checked = true;
    }
}

// The wheel's guarantee in plain words, from the numbers as typed so far.
function wheelWords() {
    const read = (id) => wholeNumber(value(id), 1, 80, '').value;
    const t = read('wheel-t'), m = read('wheel-m'), pool = read('pool');
    const listed = new Set(asciiDigits(value('wheel-numbers')).match(/\d+/g) || []);
    // By default every number drawn from, but the fixed (key) and excluded ones.
    const left = new Set([...asciiDigits(value('fixed') + ' ' + value('exclude'))
        .matchAll(/\d+/g)].map((n) => Number(n[0])).filter((n) => n >= 1 && n <= pool));
    const wheeled = listed.size > 0 ? listed.size : pool === undefined ? pool : pool - left.size;
    if (t === undefined || m === undefined || wheeled === undefined) {
        return 'The guarantee needs two whole numbers.';
    }
    const keys = value('fixed').trim() !== '' ? ' and the fixed numbers are drawn too' : '';
    return 'The wheel’s promise: whenever ' + m + ' of the drawn numbers are among the ' +
        wheeled + ' numbers wheeled' + keys + ', at least one line holds ' + t + ' of them (“' +
        t + ' if ' + m + '”).';
}

function offerOptions() {
    const missing = [];
    const offer = (on, ids, words) => {
        for (const id of ids) $(id).disabled = !on;
        if (!on) missing.push(words);
    };
    offer(OFFERED.unique, ['unique'], 'unique lines');
    offer(OFFERED.bonus, ['bonus-count', 'bonus-pool'], 'bonus numbers');
    offer(OFFERED.sum, ['sum-min', 'sum-max'], 'the sum');
    offer(OFFERED.odd, ['odd-min', 'odd-max'], 'odd numbers');
    offer(OFFERED.maxRun, ['max-run'], 'runs');
    offer(OFFERED.exclude, ['exclude'], 'numbers never to use');
    if (missing.length > 0) {
        $('rules-note').hidden = false;
        $('rules-note').textContent = 'Not in this version of the page yet: ' +
            missing.join(', ') + '.';
    }
}

// The settings in the address: a link gives the same form, and with a seed the same file.
const KEPT = ['lines', 'pool', 'pick', 'sorted', 'fixed', 'fixed-some', 'fixed-min', 'fixed-max',
    'unique', 'bonus-count', 'bonus-pool', 'sum-min', 'sum-max', 'odd-min', 'odd-max', 'max-run',
    'exclude', 'unix', 'seed', 'save-seed', 'make-wheel', 'make-check', 'wheel-t', 'wheel-m',
    'wheel-numbers', 'wheel-effort', 'wheel-budget', 'game', 'price'];
const DEFAULTS = {};

function fieldValue(id) {
    const input = $(id);
    return input.type === 'checkbox' || input.type === 'radio' ? (input.checked ? '1' : '0')
        : input.value;
}

function setField(id, text) {
    const input = $(id);
    if (input.type === 'checkbox' || input.type === 'radio') {
        input.checked = text === '1';
        if (id === 'fixed-some') $('fixed-all').checked = text !== '1';
        if (id === 'make-wheel') $('make-random').checked = text !== '1';
    } else {
        input.value = text;
    }
}

function keepInAddress() {
    const kept = new URLSearchParams();
    for (const id of KEPT) {
        if (fieldValue(id) !== DEFAULTS[id]) kept.set(id, fieldValue(id));
    }
    const text = kept.toString();
    history.replaceState(null, '', text ? '#' + text : location.pathname + location.search);
}

function readAddress() {
    const kept = new URLSearchParams(location.hash.slice(1));
    for (const id of KEPT) setField(id, kept.has(id) ? kept.get(id) : DEFAULTS[id]);
    syncFixedUse();
}

// A link followed from this very page changes only the address's end.
window.addEventListener('hashchange', () => {
    readAddress();
    settingsChanged();
});

// After the first Generate, the messages follow the typing; before it, none shows. One
// recheck at a time: a slow check (filters over a large pool count their passing lines) must
// not queue up one answer per keystroke.
let generated = false;
let recheck = null;  // null, 'running', or 'again' when the form changed meanwhile

function recheckForm() {
    if (recheck) {
        recheck = 'again';
        return;
    }
    recheck = 'running';
    allComplaints().then(({complaints}) => {
        const again = recheck === 'again';
        recheck = null;
        if (!generated) return;
        if (again) recheckForm();
        else showComplaints(complaints);
    });
}

function settingsChanged() {
    syncFixedUse();
    keepInAddress();
    markStale();
    if (generated) recheckForm();
}

form.addEventListener('input', settingsChanged);
form.addEventListener('change', settingsChanged);

$('replay').addEventListener('change', async () => {
    const file = $('replay').files[0];
    replay = null;
    if (file) {
        // The run's own output names stay free for the run.
        const taken = [OUTPUT, FIXED, STATS, CHART];
        const name = taken.includes(file.name) ? 'replay-' + file.name : file.name;
        replay = {name, bytes: new Uint8Array(await file.arrayBuffer())};
    }
    $('replay-clear').hidden = !replay;
    settingsChanged();
});
$('replay-clear').addEventListener('click', () => {
    $('replay').value = '';
    replay = null;
    $('replay-clear').hidden = true;
    settingsChanged();
});

$('reset').addEventListener('click', () => {
    if (running) finishRun();
    for (const id of KEPT) setField(id, DEFAULTS[id]);
    $('replay').value = '';
    replay = null;
    $('replay-clear').hidden = true;
    generated = false;
    warnedAbout = null;
    clearReasons();
    forgetResult();
    $('result').hidden = true;
    syncFixedUse();
    keepInAddress();
    $('lines').focus();
});

// Asked once for the same settings: a file of many gigabytes fills a disk.
let warnedAbout = null;

let submitting = false;

form.addEventListener('submit', async (event) => {
    event.preventDefault();
    if (running || submitting) return;
    generated = true;
    submitting = true;
    const {run, complaints} = await allComplaints();
    submitting = false;
    if (running) return;
    if (showComplaints(complaints)) {
        const first = document.querySelector('[aria-invalid="true"]') || $('form-error');
        // A reason that belongs to no one field stays where it is, in place of the summary.
        if (!complaints.some((c) => c.field === 'form')) {
            $('form-error').textContent = complaints.length === 1
                ? 'One setting needs a change before Generate.'
                : complaints.length + ' settings need a change before Generate.';
        }
        if (first.focus) first.focus();
        return;
    }
    const expected = expectedBytes();
    const key = JSON.stringify(run.args);
    if (expected > LARGE_RUN && warnedAbout !== key) {
        warnedAbout = key;
        $('form-error').textContent = 'This file will be about ' + sizeText(expected) +
            ': it takes as much room on your disk, and long to make. Press Generate again to ' +
            'make it.';
        generate.focus();
        return;
    }
    startRun(run, expected, await workerUrl);
});

// Firefox brings back the fields of the last visit on a reload; here the address alone sets
// the form, so every field starts from the page's own defaults.
for (const select of document.querySelectorAll('select')) {
    select.value = [...select.options].find((option) => option.defaultSelected).value;
}
for (const input of document.querySelectorAll('input')) {
    if (input.type === 'file') input.value = '';
    else if (input.type === 'checkbox' || input.type === 'radio') {
        input.checked = input.defaultChecked;
    } else {
        input.value = input.defaultValue;
    }
}
for (const id of KEPT) DEFAULTS[id] = fieldValue(id);
readAddress();
offerOptions();
syncFixedUse();
generate.disabled = false;

// Offline after the first visit, where the browser allows a service worker.
if ('serviceWorker' in navigator && location.protocol !== 'file:') {
    navigator.serviceWorker.register('sw.js').catch(() => {});
}
