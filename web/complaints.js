// The form's complaints: the page's own and the engine's, each shown beside its field.
'use strict';

// Where a refusal of an argument is shown; an option's field comes with the refusal.
const FIELD_IDS = {
    LineCount: 'lines',
    PoolSize: 'pool',
    PickCount: 'pick',
    Sort: 'sorted',
    FixedFile: 'fixed',
    FixedMin: 'fixed-min',
    FixedMax: 'fixed-max',
};
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

// The field a refusal belongs to: its option's field on the page, or its argument's.
function fieldOf(refusal) {
    return refusal.pageField || FIELD_IDS[refusal.field] || 'form';
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
    // A field without a place of its own (a switch) shows its reason above the form.
    const place = $(id + '-error') || $('form-error');
    if (place.textContent.includes(reason)) return;
    place.textContent = place.textContent ? place.textContent + ' ' + reason : reason;
    // A reason among the folded options unfolds them.
    const folded = place.closest('details');
    if (folded) folded.open = true;
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
    for (let round = 0; round < 32; round++) {
        const {args, files} = commandLine(skip);
        const answer = await askEngine(args, files);
        if (answer.type === 'crashed') {
            complaints.push({field: 'form', reason: 'The engine failed: ' + answer.error});
            break;
        }
        if (!answer.refusal) break;
        const field = fieldOf(answer.refusal);
        const reason = refusalWords(answer.refusal);
        if (complaints.some((c) => c.reason === reason)) break;
        complaints.push({field, reason});
        // A rule of an argument: the options left out cannot say more.
        if (!answer.refusal.pageField || skip.has(field)) break;
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

