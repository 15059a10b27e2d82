// The form's paired fields (a bonus pool, a sum, a count of odd numbers), made from one pattern
// before the page first shows: a field holding data-pair="NAME FIRST:words SECOND:words" and its
// label gets two labelled inputs, NAME-FIRST and NAME-SECOND, and its place for a reason.
'use strict';

for (const field of document.querySelectorAll('[data-pair]')) {
    const [name, ...halves] = field.dataset.pair.split(/ (?=[a-z]+:)/);
    const pair = document.createElement('div');
    pair.className = 'pair';
    for (const half of halves) {
        const [part, words] = half.split(/:(.*)/);
        const id = name + '-' + part;
        const box = document.createElement('div');
        const label = document.createElement('label');
        label.htmlFor = id;
        label.id = id + '-label';
        label.textContent = words;
        const input = document.createElement('input');
        Object.assign(input, {id, name: id, inputMode: 'numeric', autocomplete: 'off'});
        input.setAttribute('aria-labelledby', name + '-label ' + id + '-label');
        box.append(label, input);
        pair.append(box);
    }
    const error = document.createElement('p');
    error.className = 'error';
    error.id = name + '-error';
    error.setAttribute('aria-live', 'polite');
    field.append(pair, error);
}
