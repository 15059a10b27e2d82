// The checks of a file of lines, in a worker of their own.
'use strict';

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

// Each check's reasons beside its own fields; a missing file of lines above both.
async function runCheck(args, place, files = {}) {
    for (const id of ['check-error', 'draw-error', 'guarantee-error', 'draws-file-error',
        'prizes-error']) {
        $(id).textContent = '';
    }
    $('check-output').hidden = true;
    $('check-report').hidden = true;
    $('prize-words').hidden = true;
    $('prize-table').hidden = true;
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
            files: Object.assign({[lines.name]: lines.bytes}, files), output: null});
    });
    worker.terminate();
    const problem = done.type === 'crashed' ? 'The engine failed: ' + done.error
        : (done.error || '').trim();
    if (problem !== '') {
        $(place).textContent = done.refusal ? refusalWords(done.refusal)
            : pageReason(problem.replace(/^combogen: /, '').split('\n')[0]);
        return;
    }
    $('check-output').textContent = done.output;
    $('check-output').hidden = false;
    $('check-report').hidden = false;
    return done.output;
}

$('draw-form').addEventListener('submit', (event) => {
    event.preventDefault();
    runCheck(['--check', asciiDigits(value('draw')).trim()], 'draw-error');
});
$('guarantee-form').addEventListener('submit', (event) => {
    event.preventDefault();
    const t = wholeNumber(value('guarantee-t'), 1, 80, 'Guarantee, numbers on a line');
    const m = wholeNumber(value('guarantee-m'), 1, 80, 'Guarantee, numbers drawn');
    if (t.reason || m.reason) {
        $('guarantee-error').textContent = [t.reason, m.reason].filter(Boolean).join(' ');
        return;
    }
    runCheck(['--guarantee', t.text + ':' + m.text], 'guarantee-error');
});
// Past draws: the file's own name, unless the lines checked have it.
$('history-form').addEventListener('submit', async (event) => {
    event.preventDefault();
    const file = $('draws-file').files[0];
    if (!file) {
        $('draws-file-error').textContent = 'Choose a file of past draws first.';
        return;
    }
    const name = 'draws-' + file.name;
    runCheck(['--check', name], 'draws-file-error',
        {[name]: new Uint8Array(await file.arrayBuffer())});
});

// The game is the form's: its pool, numbers on each line and bonus numbers.
$('prizes-form').addEventListener('submit', async (event) => {
    event.preventDefault();
    const read = (id) => wholeNumber(value(id), 1, 80, '').value;
    let game = read('pool') + ':' + read('pick');
    if (read('bonus-count') !== undefined && read('bonus-pool') !== undefined) {
        game += '+' + read('bonus-count') + ':' + read('bonus-pool');
    }
    const report = await runCheck(['--prizes', game], 'prizes-error');
    if (!report) return;
    $('prize-words').textContent = prizeWords(report);
    $('prize-words').hidden = $('prize-words').textContent === '';
    const table = prizeTable(report);
    $('prize-table').replaceChildren(...(table ? [table] : []));
    $('prize-table').hidden = !table;
});
$('checks').hidden = !MODES.checks;
