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
    if (wheelMode()) {
        const t = number('wheel-t'), m = number('wheel-m');
        if (t !== undefined && m !== undefined) args.push('--wheel', t + ':' + m);
        const numbers = asciiDigits(value('wheel-numbers')).trim();
        if (numbers !== '') args.push('--numbers', numbers);
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

// Where a rejection is shown: the engine's field, or for an option, the option it names.
const FIELD_IDS = {
    LineCount: 'lines',
    PoolSize: 'pool',
    PickCount: 'pick',
    Sort: 'sorted',
    FixedFile: 'fixed',
    FixedMin: 'fixed-min',
    FixedMax: 'fixed-max',
};
const OPTION_IDS = [
    ['--seed-file', 'replay'],
    ['seed file', 'replay'],
    ['--save-seed', 'save-seed'],
    ['--seed', 'seed'],
    ['--unique', 'unique'],
    ['--bonus', 'bonus'],
    ['--sum', 'sum'],
    ['--odd', 'odd'],
    ['--max-run', 'max-run'],
    ['--exclude', 'exclude'],
    ['--wheel', 'wheel'],
    ['--numbers', 'wheel-numbers'],
    ['--effort', 'wheel-effort'],
];
// The inputs a shown reason belongs to.
const INPUTS = {
    bonus: ['bonus-count', 'bonus-pool'],
    sum: ['sum-min', 'sum-max'],
    odd: ['odd-min', 'odd-max'],
    wheel: ['wheel-t', 'wheel-m'],
};
// Where each field's reason is shown: a pair's halves share one place.
const SHOWN_AT = {
    'bonus-count': 'bonus', 'bonus-pool': 'bonus', 'sum-min': 'sum', 'sum-max': 'sum',
    'odd-min': 'odd', 'odd-max': 'odd', 'wheel-t': 'wheel', 'wheel-m': 'wheel',
};

function fieldOf(field, reason) {
    if (FIELD_IDS[field]) return FIELD_IDS[field];
    if (field === 'Options') {
        let best = null;
        for (const [option, id] of OPTION_IDS) {
            const at = reason.search(new RegExp(option + '(?![a-z-])'));
            if (at >= 0 && (!best || at < best.at)) best = {at, id};
        }
        if (best) return best.id;
    }
    return 'form';
}

function clearReasons() {
    for (const element of document.querySelectorAll('.error')) {
        if (element.id !== 'form-error' || !element.dataset.run) element.textContent = '';
    }
    for (const input of document.querySelectorAll('[aria-invalid]')) {
        input.removeAttribute('aria-invalid');
    }
}

function showReason(id, reason, inputs) {
    const place = $(id + '-error');
    place.textContent = place.textContent ? place.textContent + ' ' + reason : reason;
    for (const inputId of inputs || INPUTS[id] || [id]) {
        const input = $(inputId);
        if (!input || input.tagName !== 'INPUT') continue;
        input.setAttribute('aria-invalid', 'true');
        const described = new Set((input.getAttribute('aria-describedby') || '').split(' '));
        described.add(id + '-error');
        input.setAttribute('aria-describedby', [...described].join(' ').trim());
    }
}

// The engine's checks: one long-lived worker, one question at a time.
let asked = 0;
const answers = new Map();
const checker = workerUrl.then((url) => {
    const worker = new Worker(url);
    worker.onmessage = (event) => {
        const resolve = answers.get(event.data.id);
        answers.delete(event.data.id);
        if (resolve) resolve(event.data);
    };
    return worker;
});
let questions = checker;

function askEngine(args, files) {
    const id = ++asked;
    const answer = new Promise((resolve) => answers.set(id, resolve));
    questions = questions.then(() => checker).then((worker) => {
        worker.postMessage({type: 'check', id, args, files});
        return answer;
    }, () => answer);
    checker.catch((e) => answers.get(id) && answers.get(id)({type: 'crashed', error: String(e)}));
    return answer;
}

// Every complaint about the form: the page's own, then the engine's, each option the engine
// rejects left out in turn so that the next one shows too. Resolves to the command line and
// the complaints, each {field, reason, inputs}.
async function allComplaints() {
    const first = commandLine();
    const complaints = first.complaints.map(({field, reason}) => ({
        field: SHOWN_AT[field] || field, reason, inputs: SHOWN_AT[field] ? [field] : null}));
    if (complaints.length > 0) return {run: first, complaints};
    const skip = new Set();
    for (let round = 0; round < OPTION_IDS.length + 1; round++) {
        const {args, files} = commandLine(skip);
        const answer = await askEngine(args, files);
        if (answer.type === 'crashed') {
            complaints.push({field: 'form', reason: 'The engine failed: ' + answer.error});
            break;
        }
        if (!answer.field) break;
        const field = fieldOf(answer.field, answer.reason);
        complaints.push({field, reason: pageReason(answer.reason)});
        // A rule between options or the numbers: the options left out cannot say more.
        if (!OPTION_IDS.some(([, id]) => id === field) || skip.has(field)) break;
        skip.add(field);
    }
    return {run: first, complaints};
}

// Shows every complaint (or none); true when there are some.
function showComplaints(complaints) {
    clearReasons();
    for (const {field, reason, inputs} of complaints) showReason(field, reason, inputs);
    return complaints.length > 0;
}

function syncFixedUse() {
    const some = $('fixed-some').checked;
    $('fixed-min').disabled = !some;
    $('fixed-max').disabled = !some;
    $('wheel-fieldset').hidden = !wheelMode();
    if (wheelMode()) $('wheel-words').textContent = wheelWords();
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
    'exclude', 'unix', 'seed', 'save-seed', 'make-wheel', 'wheel-t', 'wheel-m', 'wheel-numbers',
    'wheel-effort'];
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

// The result area.
const urls = [];
let result = null;  // {name, lineCount, blob, text of the file when small}

function forgetResult() {
    while (urls.length > 0) URL.revokeObjectURL(urls.pop());
    for (const id of ['download', 'seed-download', 'preview', 'statistics', 'copy', 'stale']) {
        $(id).hidden = true;
    }
    $('result').classList.remove('stale');
    $('status').textContent = '';
    $('copy-status').textContent = '';
    const formError = $('form-error');
    formError.textContent = '';
    delete formError.dataset.run;
    result = null;
}

// A changed setting leaves the last result in view, said to be out of date.
function markStale() {
    if (!result || running) return;
    $('result').classList.add('stale');
    $('stale').hidden = false;
}

function objectUrl(blob) {
    const url = URL.createObjectURL(blob);
    urls.push(url);
    return url;
}

// Sizes in the decimal units that their names mean.
function sizeText(bytes) {
    if (bytes < 1000) return grouped(bytes) + ' bytes';
    const units = ['kB', 'MB', 'GB', 'TB'];
    let size = bytes / 1000, unit = 0;
    while (size >= 1000 && unit < units.length - 1) {
        size /= 1000;
        unit += 1;
    }
    return size.toFixed(1) + ' ' + units[unit];
}

function secondsText(seconds) {
    if (seconds < 60) return seconds.toFixed(seconds < 10 ? 1 : 0) + ' s';
    return Math.floor(seconds / 60) + ' min ' + String(Math.round(seconds % 60)).padStart(2, '0') +
        ' s';
}

function showPreview(text, lineCount) {
    // The last piece is a line cut short, or nothing after the last line end.
    const lines = text.split('\n').slice(0, -1).slice(0, PREVIEW_LINES);
    let shown = lines.map((line) => line.replace(/\r$/, '')).join('\n');
    if (lineCount !== null && lineCount > lines.length) {
        shown += '\n… ' + grouped(lineCount - lines.length) + ' more in the file';
    }
    $('preview').textContent = shown;
    $('preview').hidden = false;
    return lines;
}

// The expected size of the output, for the progress bar and the warning, from the numbers
// the page has read; null when they cannot be read.
function expectedBytes() {
    const read = (id) => wholeNumber(value(id), 0, Infinity, '').value;
    const lines = read('lines');
    const pick = read('pick');
    if (lines === undefined || pick === undefined) return null;
    let lineBytes = 3 * pick - 1 + ($('unix').checked ? 1 : 2);
    const bonus = read('bonus-count');
    if (OFFERED.bonus && bonus !== undefined && value('bonus-pool').trim() !== '') {
        lineBytes += 3 * bonus + 2;
    }
    return lines * lineBytes;
}

// The download's name says what it holds: "6-of-49-10-lines.txt".
function outputName() {
    const read = (id) => wholeNumber(value(id), 0, Infinity, '').value;
    return read('pick') + '-of-' + read('pool') + '-' + read('lines') + '-lines.txt';
}

// The statistics name the options the visitor chose; the page's own hand-over options and
// the report files it always asks for are no business of theirs.
function visitorsReport(text) {
    return text.replace(/^(options: +)(.*)$/m, (_, head, options) => {
        const chosen = options.replace(/^--explain ?/, '')
            .replace(/ ?--stats stats\.txt --chart chart\.svg --block-size 65536( --)?(?=\r?$)/,
                '');
        return head + (chosen === '' ? '(none)' : chosen);
    });
}

let running = null;

function finishRun() {
    if (running) running.worker.terminate();
    running = null;
    $('running').hidden = true;
    cancel.hidden = true;
    generate.disabled = false;
}

async function showDone(message, lineCount, name) {
    const files = message.files;
    const output = files[OUTPUT];
    const problem = (message.error || '').trim();
    if (message.status !== 0 || problem !== '' || !output) {
        const formError = $('form-error');
        formError.dataset.run = 'yes';
        formError.textContent = problem !== ''
            ? pageReason(problem.replace(/^combogen: /, '').split('\n')[0])
            : 'The run stopped without writing the file (status ' + message.status + ').';
        $('status').textContent = 'No file was made.';
        return;
    }
    const download = $('download');
    download.href = objectUrl(output);
    download.download = name;
    download.textContent = 'Download ' + name + ' (' + sizeText(output.size) + ')';
    download.hidden = false;
    result = {name, lineCount, blob: output,
        text: output.size <= COPY_LIMIT ? await output.text() : null};
    $('copy').hidden = false;
    if (files[SAVED_SEED]) {
        $('seed-download').href = objectUrl(files[SAVED_SEED]);
        $('seed-download').hidden = false;
    }
    $('status').textContent = 'Done: ' + grouped(lineCount) + (lineCount === 1 ? ' line, ' :
        ' lines, ') + sizeText(output.size) + '.';
    if (files[STATS] || files[CHART]) {
        $('statistics').hidden = false;
        const stats = files[STATS] ? visitorsReport(await files[STATS].text()) : '';
        $('stats').textContent = stats;
        $('stats-download').hidden = !files[STATS];
        if (files[STATS]) $('stats-download').href = objectUrl(new Blob([stats]));
        $('chart').hidden = !files[CHART];
        $('chart-download').hidden = !files[CHART];
        if (files[CHART]) {
            const chart = objectUrl(new Blob([files[CHART]], {type: 'image/svg+xml'}));
            $('chart').src = chart;
            $('chart-download').href = chart;
        }
    }
}

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
        $('form-error').textContent = complaints.length === 1
            ? 'One setting needs a change before Generate.'
            : complaints.length + ' settings need a change before Generate.';
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

function startRun({args, files}, expected, url) {
    forgetResult();
    const lineCount = wholeNumber(value('lines'), 1, LARGEST_LINE_COUNT, '').value;
    const name = outputName();
    const worker = new Worker(url);
    running = {worker};
    generate.disabled = true;
    cancel.hidden = false;
    $('result').hidden = false;
    $('running').hidden = false;
    $('result').scrollIntoView({block: 'start'});
    $('result-title').focus();
    const progress = $('progress');
    progress.removeAttribute('value');
    $('progress-text').textContent = '';
    const started = performance.now();
    worker.onmessage = (event) => {
        const message = event.data;
        if (!running || running.worker !== worker) return;
        if (message.type === 'preview') {
            showPreview(message.text, lineCount);
        } else if (message.type === 'progress') {
            const seconds = (performance.now() - started) / 1000;
            let text;
            if (expected) {
                progress.max = 1;
                progress.value = Math.min(1, message.bytes / expected);
                text = Math.floor(100 * progress.value) + ' %';
                if (seconds >= 1 && progress.value > 0) {
                    text += ', ' + secondsText(seconds) + ' so far, about ' +
                        secondsText(seconds * (1 / progress.value - 1)) + ' left';
                }
            } else {
                text = sizeText(message.bytes) + ', ' + secondsText(seconds) + ' so far';
            }
            $('progress-text').textContent = text;
        } else if (message.type === 'done') {
            finishRun();
            showDone(message, lineCount, name).then(() => {
                const seconds = (performance.now() - started) / 1000;
                document.body.dataset.lastRunSeconds = seconds.toFixed(2);
                if (!$('download').hidden) {
                    $('status').textContent = $('status').textContent.replace(/\.$/, '') +
                        ' in ' + secondsText(seconds) + '.';
                }
                $('status').focus();
            });
        } else if (message.type === 'crashed') {
            finishRun();
            $('form-error').dataset.run = 'yes';
            $('form-error').textContent = 'The engine failed: ' + message.error;
        }
    };
    worker.postMessage({type: 'run', args, files, output: OUTPUT});
}

cancel.addEventListener('click', () => {
    if (!running) return;
    finishRun();
    $('preview').hidden = true;
    $('status').textContent = 'Cancelled: no file was made.';
    generate.focus();
});

// Copy: the whole file when it is small, else the lines shown.
$('copy').addEventListener('click', async () => {
    if (!result) return;
    const text = result.text !== null ? result.text
        : $('preview').textContent.replace(/\n….*$/, '\n');
    const what = result.text !== null ? 'all ' + grouped(result.lineCount) + ' lines'
        : 'the first ' + PREVIEW_LINES + ' lines (the file is too large to copy)';
    try {
        await navigator.clipboard.writeText(text);
        $('copy-status').textContent = 'Copied ' + what + '.';
    } catch (e) {
        $('copy-status').textContent = 'The browser did not allow copying: select the lines ' +
            'and copy them yourself.';
    }
});

// The checks of a file of lines: the engine's own, its standard output shown as it prints it.
// The report names the file by the name the visitor knows it by.
async function linesToCheck() {
    if ($('check-made').checked) {
        if (!result) throw new Error('Make lines first, or choose a file of lines.');
        return {name: result.name, bytes: new Uint8Array(await result.blob.arrayBuffer())};
    }
    const file = $('check-file').files[0];
    if (!file) throw new Error('Choose a file of lines to check.');
    return {name: file.name, bytes: new Uint8Array(await file.arrayBuffer())};
}

async function runCheck(args) {
    $('check-error').textContent = '';
    $('check-output').hidden = true;
    let lines;
    try {
        lines = await linesToCheck();
    } catch (e) {
        $('check-error').textContent = e.message;
        return;
    }
    const worker = new Worker(await workerUrl);
    const done = await new Promise((resolve) => {
        worker.onmessage = (event) => {
            if (event.data.type === 'done' || event.data.type === 'crashed') resolve(event.data);
        };
        worker.postMessage({type: 'run', args: ['--explain', ...args, '--', lines.name],
            files: {[lines.name]: lines.bytes}, output: null});
    });
    worker.terminate();
    const problem = done.type === 'crashed' ? 'The engine failed: ' + done.error
        : (done.error || '').trim();
    if (problem !== '') {
        $('check-error').textContent = pageReason(problem.replace(/^combogen: /, '')
            .split('\n')[0]);
        return;
    }
    $('check-output').textContent = done.output;
    $('check-output').hidden = false;
}

$('draw-form').addEventListener('submit', (event) => {
    event.preventDefault();
    runCheck(['--check', asciiDigits(value('draw')).trim()]);
});
$('guarantee-form').addEventListener('submit', (event) => {
    event.preventDefault();
    const t = wholeNumber(value('guarantee-t'), 1, 80, 'Guarantee, numbers on a line');
    const m = wholeNumber(value('guarantee-m'), 1, 80, 'Guarantee, numbers drawn');
    if (t.reason || m.reason) {
        $('check-error').textContent = [t.reason, m.reason].filter(Boolean).join(' ');
        return;
    }
    runCheck(['--guarantee', t.text + ':' + m.text]);
});
$('checks').hidden = !MODES.checks;
$('make-field').hidden = !MODES.wheel;

for (const id of KEPT) DEFAULTS[id] = fieldValue(id);
readAddress();
offerOptions();
syncFixedUse();
generate.disabled = false;

// Offline after the first visit, where the browser allows a service worker.
if ('serviceWorker' in navigator && location.protocol !== 'file:') {
    navigator.serviceWorker.register('sw.js').catch(() => {});
}
