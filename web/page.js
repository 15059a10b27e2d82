// The page: turns the form into combogen's command line, asks the engine (in a worker) for
// the first rule the settings break while the user types, and runs the engine in a fresh
// worker on Generate. Nothing leaves the browser.
'use strict';

const OUTPUT = 'combinations.txt';
const FIXED = 'fixed.txt';
const STATS = 'stats.txt';
const CHART = 'chart.svg';
const SAVED_SEED = 'seed.bin';
const PREVIEW_LINES = 20;

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

const $ = (id) => document.getElementById(id);
const form = $('form');
const generate = $('generate');
const cancel = $('cancel');

// The engine's script defines combogenWorker; a worker started from its text works the same
// from a web server and from a file opened in the browser.
const workerUrl = URL.createObjectURL(
    new Blob(['(' + combogenWorker.toString() + ')()'], {type: 'text/javascript'}));

// The replay file chosen, as bytes; its name is the seed file's name on the command line.
let replay = null;

function value(id) {
    return $(id).value;
}

// Both fields of a pair, both empty, or a page-level complaint.
function pair(first, second) {
    const a = value(first).trim();
    const b = value(second).trim();
    if (a === '' && b === '') return null;
    if (a === '' || b === '') return {missing: true};
    return {text: a + ':' + b};
}

// The command line (after the program's name) and the files the run reads, or a complaint
// that the page itself makes: a pair with one half empty.
function commandLine() {
    const args = ['--explain'];
    const files = {};
    const complaints = [];
    const addPair = (option, first, second, field) => {
        const p = pair(first, second);
        if (!p) return;
        if (p.missing) {
            complaints.push({field, reason: 'give both numbers, or leave both empty'});
        } else {
            args.push(option, p.text);
        }
    };
    if ($('unix').checked) args.push('--lf');
    if (OFFERED.unique && $('unique').checked) args.push('--unique');
    if (OFFERED.bonus) addPair('--bonus', 'bonus-count', 'bonus-pool', 'bonus');
    if (OFFERED.sum) addPair('--sum', 'sum-min', 'sum-max', 'sum');
    if (OFFERED.odd) addPair('--odd', 'odd-min', 'odd-max', 'odd');
    if (OFFERED.maxRun && value('max-run').trim() !== '') {
        args.push('--max-run', value('max-run').trim());
    }
    if (OFFERED.exclude && value('exclude').trim() !== '') {
        args.push('--exclude', value('exclude').trim());
    }
    if (value('seed') !== '') args.push('--seed', value('seed'));
    if (replay) {
        args.push('--seed-file', replay.name);
        files[replay.name] = replay.bytes;
    }
    if ($('save-seed').checked) args.push('--save-seed', SAVED_SEED);
    if (OFFERED.stats) args.push('--stats', STATS, '--chart', CHART);
    // Larger hand-overs to the page; the file's bytes are the same for any block size.
    args.push('--block-size', '65536');
    args.push('--', value('lines'), value('pool'), value('pick'), $('sorted').checked ? '1' : '0',
              OUTPUT);
    const fixedText = value('fixed');
    const some = $('fixed-some').checked;
    if (fixedText.trim() !== '' || some) {
        files[FIXED] = new TextEncoder().encode(fixedText);
        args.push(FIXED);
        if (some) args.push(value('fixed-min'), value('fixed-max'));
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
];
// The inputs a shown reason belongs to.
const INPUTS = {
    bonus: ['bonus-count', 'bonus-pool'],
    sum: ['sum-min', 'sum-max'],
    odd: ['odd-min', 'odd-max'],
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

function showReason(id, reason) {
    $(id + '-error').textContent = reason;
    for (const inputId of INPUTS[id] || [id]) {
        const input = $(inputId);
        if (!input) continue;
        input.setAttribute('aria-invalid', 'true');
        const described = new Set((input.getAttribute('aria-describedby') || '').split(' '));
        described.add(id + '-error');
        input.setAttribute('aria-describedby', [...described].join(' ').trim());
    }
}

// The checks: one long-lived worker; only the answer to the latest question counts.
const checker = new Worker(workerUrl);
let asked = 0;
let running = null;

let askedAbout = null;
let replayVersion = 0;

function check() {
    const {args, files, complaints} = commandLine();
    // A change event that changed nothing (leaving a field for the Generate button) must not
    // disable the button under the click.
    const about = JSON.stringify([args, value('fixed'), replayVersion, complaints]);
    if (about === askedAbout) return;
    askedAbout = about;
    asked += 1;
    generate.disabled = true;
    if (complaints.length > 0) {
        clearReasons();
        for (const {field, reason} of complaints) showReason(field, reason);
        return;
    }
    // One question at a time: a slow check (filters over a large pool count their passing
    // lines) must not queue up one answer per keystroke.
    pendingQuestion = {type: 'check', id: asked, args, files};
    if (!questionOut) askNext();
}

let pendingQuestion = null;
let questionOut = false;

function askNext() {
    questionOut = pendingQuestion !== null;
    if (pendingQuestion) checker.postMessage(pendingQuestion);
    pendingQuestion = null;
}

checker.onmessage = (event) => {
    const answer = event.data;
    askNext();
    if (answer.id !== asked) return;
    clearReasons();
    if (answer.type === 'crashed') {
        showReason('form', 'The engine failed: ' + answer.error);
        return;
    }
    if (answer.field) showReason(fieldOf(answer.field, answer.reason), answer.reason);
    generate.disabled = Boolean(answer.field) || running !== null;
};

function syncFixedUse() {
    const some = $('fixed-some').checked;
    $('fixed-min').disabled = !some;
    $('fixed-max').disabled = !some;
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

form.addEventListener('input', check);
form.addEventListener('change', () => {
    syncFixedUse();
    check();
});

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
    replayVersion += 1;
    check();
});
$('replay-clear').addEventListener('click', () => {
    $('replay').value = '';
    replay = null;
    $('replay-clear').hidden = true;
    replayVersion += 1;
    check();
});

// The result area.
const urls = [];

function forgetResult() {
    while (urls.length > 0) URL.revokeObjectURL(urls.pop());
    for (const id of ['download', 'seed-download', 'preview', 'statistics']) $(id).hidden = true;
    $('status').textContent = '';
    const formError = $('form-error');
    formError.textContent = '';
    delete formError.dataset.run;
}

function objectUrl(blob) {
    const url = URL.createObjectURL(blob);
    urls.push(url);
    return url;
}

function sizeText(bytes) {
    if (bytes < 1024) return bytes + ' bytes';
    if (bytes < 1024 * 1024) return (bytes / 1024).toFixed(1) + ' KB';
    return (bytes / 1024 / 1024).toFixed(1) + ' MB';
}

function showPreview(text, lineCount) {
    // The last piece is a line cut short, or nothing after the last line end.
    const lines = text.split('\n').slice(0, -1).slice(0, PREVIEW_LINES);
    let shown = lines.map((line) => line.replace(/\r$/, '')).join('\n');
    if (lineCount !== null && lineCount > lines.length) {
        shown += '\n… ' + (lineCount - lines.length).toLocaleString('en') + ' more in the file';
    }
    $('preview').textContent = shown;
    $('preview').hidden = false;
}

// The expected size of the output, for the progress bar, when the settings are plain
// decimal numbers; null otherwise.
function expectedBytes() {
    const number = (id) => (/^\d+$/.test(value(id)) ? Number(value(id)) : null);
    const lines = number('lines');
    const pick = number('pick');
    if (lines === null || pick === null) return null;
    let lineBytes = 3 * pick - 1 + ($('unix').checked ? 1 : 2);
    if (OFFERED.bonus && number('bonus-count') !== null) lineBytes += 3 * number('bonus-count') + 2;
    return lines * lineBytes;
}

function finishRun() {
    if (running) running.worker.terminate();
    running = null;
    $('running').hidden = true;
    cancel.hidden = true;
    askedAbout = null;
    check();
}

async function showDone(message) {
    const files = message.files;
    const output = files[OUTPUT];
    const problem = (message.error || '').trim();
    if (message.status !== 0 || problem !== '' || !output) {
        const formError = $('form-error');
        formError.dataset.run = 'yes';
        formError.textContent = problem !== ''
            ? problem.replace(/^combogen: /, '')
            : 'The run stopped without writing the file (status ' + message.status + ').';
        $('status').textContent = 'No file was made.';
        return;
    }
    const download = $('download');
    download.href = objectUrl(output);
    download.textContent = 'Download ' + OUTPUT + ' (' + sizeText(output.size) + ')';
    download.hidden = false;
    if (files[SAVED_SEED]) {
        $('seed-download').href = objectUrl(files[SAVED_SEED]);
        $('seed-download').hidden = false;
    }
    $('status').textContent = 'Done: ' + sizeText(output.size) + '.';
    if (files[STATS] || files[CHART]) {
        $('statistics').hidden = false;
        $('stats').textContent = files[STATS] ? await files[STATS].text() : '';
        $('stats-download').hidden = !files[STATS];
        if (files[STATS]) $('stats-download').href = objectUrl(files[STATS]);
        $('chart').hidden = !files[CHART];
        $('chart-download').hidden = !files[CHART];
        if (files[CHART]) {
            const chart = objectUrl(new Blob([files[CHART]], {type: 'image/svg+xml'}));
            $('chart').src = chart;
            $('chart-download').href = chart;
        }
    }
}

form.addEventListener('submit', (event) => {
    event.preventDefault();
    if (generate.disabled || running) return;
    const {args, files} = commandLine();
    forgetResult();
    const expected = expectedBytes();
    const lineCount = /^\d+$/.test(value('lines')) ? Number(value('lines')) : null;
    const worker = new Worker(workerUrl);
    running = {worker};
    generate.disabled = true;
    cancel.hidden = false;
    $('result').hidden = false;
    $('running').hidden = false;
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
            if (expected) {
                progress.max = 1;
                progress.value = Math.min(1, message.bytes / expected);
                $('progress-text').textContent = Math.floor(100 * progress.value) + ' %';
            } else {
                $('progress-text').textContent = sizeText(message.bytes);
            }
        } else if (message.type === 'done') {
            finishRun();
            showDone(message).then(() => {
                const seconds = ((performance.now() - started) / 1000).toFixed(2);
                document.body.dataset.lastRunSeconds = seconds;
                if (!$('download').hidden) $('status').textContent += ' ' + seconds + ' s.';
            });
        } else if (message.type === 'crashed') {
            finishRun();
            $('form-error').dataset.run = 'yes';
            $('form-error').textContent = 'The engine failed: ' + message.error;
        }
    };
    worker.postMessage({type: 'run', args, files, output: OUTPUT});
});

cancel.addEventListener('click', () => {
    if (!running) return;
    finishRun();
    $('preview').hidden = true;
    $('status').textContent = 'Cancelled: no file was made.';
    generate.focus();
});

offerOptions();
syncFixedUse();
check();
