// The result area: a run in a fresh worker, its progress, the file and the statistics it made.
'use strict';

// The result area.
const urls = [];
let result = null;  // {name, lineCount, blob, text of the file when small}

function forgetResult() {
    while (urls.length > 0) URL.revokeObjectURL(urls.pop());
    for (const id of ['download', 'seed-download', 'preview', 'statistics', 'copy', 'stale',
        'wheel-report']) {
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
    if (lineCount !== null && lines.length > 0 && lineCount > lines.length) {
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
function outputName(lineCount) {
    const read = (id) => wholeNumber(value(id), 0, Infinity, '').value;
    return read('pick') + '-of-' + read('pool') + '-' + (lineCount ?? read('lines')) +
        '-lines.txt';
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

// A refused run: its reason beside the field to change, and no lines on view.
function showRefusal(message) {
    const problem = (message.error || '').trim().replace(/^combogen: /, '').split('\n')[0];
    $('preview').hidden = true;
    $('status').textContent = 'No file was made.';
    if (problem === '') {
        const formError = $('form-error');
        formError.dataset.run = 'yes';
        formError.textContent =
            'The run stopped without writing the file (status ' + message.status + ').';
        return;
    }
    const refusal = message.refusal || {field: 'Options', message: problem};
    const field = fieldOf(refusal);
    if (field === 'form') $('form-error').dataset.run = 'yes';
    showReason(field, refusalWords(refusal));
}

async function showDone(message, lineCount, name) {
    const files = message.files;
    const output = files[OUTPUT];
    if (message.status !== 0 || !output) {
        showRefusal(message);
        return;
    }
    // A wheel has the lines it needs, not the most allowed: the file says how many.
    if (wheelMode()) {
        const bytes = new Uint8Array(await output.arrayBuffer());
        lineCount = bytes.reduce((count, byte) => count + (byte === 10), 0);
        name = outputName(lineCount);
        showPreview(new TextDecoder().decode(bytes.subarray(0, 4096)), lineCount);
    }
    $('wheel-report').textContent = wheelMode() ? wheelReport(message.error || '') : '';
    $('wheel-report').hidden = !wheelMode();
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
        $('stats-verdict').textContent = statsVerdict(stats);
        $('stats-verdict').hidden = $('stats-verdict').textContent === '';
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
            showPreview(message.text, wheelMode() ? null : lineCount);
        } else if (message.type === 'search') {
            // The search's most work is known, not when it stops early: the time left is the
            // most it may take.
            const seconds = (performance.now() - started) / 1000;
            progress.max = 1;
            progress.value = message.done;
            // The page's engine runs the search's two walks one after the other, each half of
            // the work (src/wheel/search/portfolio.cpp); each walk's best is its own.
            let text = 'Searching: pass ' + (message.done < 0.5 ? 1 : 2) + ' of 2, its best ' +
                'wheel so far has ' + grouped(message.lines) +
                ' lines; ' + grouped(message.unmet) + (message.unmet === 1 ? ' draw' : ' draws') +
                ' still unmet. ' +
                secondsText(seconds) + ' so far';
            if (message.done > 0.01) {
                text += ', at most about ' + secondsText(seconds * (1 / message.done - 1)) +
                    ' left';
            }
            $('progress-text').textContent = text + '.';
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
                        ' in ' + secondsText(seconds) + '.' + costText(result.lineCount);
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

