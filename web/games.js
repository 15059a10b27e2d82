// Game presets and the price of a file: a game fills the numbers drawn from, the numbers on
// each line and the bonus numbers; a price per line says what a file of lines costs.
'use strict';

const GAME_FIELDS = ['pool', 'pick', 'bonus-count', 'bonus-pool'];

$('game').addEventListener('change', () => {
    if (value('game') === '') return;
    const numbers = value('game').split(':');
    GAME_FIELDS.forEach((id, i) => ($(id).value = numbers[i] || ''));
});

// Numbers typed by hand that no longer match the game chosen make it a game of one's own.
form.addEventListener('input', (event) => {
    if (!GAME_FIELDS.includes(event.target.id) || value('game') === '') return;
    const typed = GAME_FIELDS.map((id) => value(id).trim());
    while (typed.length > 2 && typed[typed.length - 1] === '') typed.pop();
    if (typed.join(':') !== value('game')) $('game').value = '';
});

// " At 2.50 a line: 25.00." for lineCount lines; empty without a price.
function costText(lineCount) {
    const price = value('price').trim().replace(',', '.');
    if (!/^\d+(\.\d+)?$/.test(price)) return '';
    const decimals = Math.max(2, (price.split('.')[1] || '').length);
    return ' At ' + price + ' a line: ' + (Number(price) * lineCount).toLocaleString('en', {
        minimumFractionDigits: decimals, maximumFractionDigits: decimals}) + '.';
}

// The prize report's blocks (--prizes) in plain words: for each count of drawn numbers among
// the numbers played, the least a player is sure of.
function prizeWords(report) {
    const said = [];
    const blocks = report.matchAll(new RegExp('^(\\d+) of the drawn numbers among these ' +
        '(\\d+): (\\d+) draws\\n(?:[^\\n]*\\n)*?(always a line with at least (\\d+)|no line is ' +
        'sure to hold any of them|no line can hold any)', 'gm'));
    for (const m of blocks) {
        if (m[1] === '0') continue;
        said.push('When ' + m[1] + ' of the drawn numbers ' + (m[1] === '1' ? 'is' : 'are') +
            ' among your ' + m[2] + ': ' +
            (m[5] ? 'always a line with at least ' + m[5] + ' of them.'
                : 'no line is sure to hold any of them.'));
    }
    return said.join(' ');
}

// The statistics' verdict from the chi-square test's p-value, before its detail.
function statsVerdict(text) {
    const m = text.match(/p-value ([\d.e+-]+)/);
    if (!m) return '';
    const p = Number(m[1]);
    return p >= 0.01
        ? 'These counts are what chance gives: no number came up more or less often than ' +
          'luck explains (p-value ' + m[1] + ', the detail below).'
        : 'These counts are uneven: chance gives counts this far apart in one run out of ' +
          'more than a hundred (p-value ' + m[1] + '). Lines made under rules (sums, odd ' +
          'numbers, fixed numbers) are uneven by design.';
}
