// The page's own words: numbers read from what people type, and the engine's command-line
// reasons said in the form's field names. The command line keeps its own words.
'use strict';

// The digit zeros of the scripts whose digits people type (Arabic-Indic, Devanagari and the
// other Indic scripts, Thai, Lao, Tibetan, Myanmar, Khmer, Mongolian, full-width).
const DIGIT_ZEROS = [0x660, 0x6f0, 0x7c0, 0x966, 0x9e6, 0xa66, 0xae6, 0xb66, 0xbe6, 0xc66,
    0xce6, 0xd66, 0xde6, 0xe50, 0xed0, 0xf20, 0x1040, 0x17e0, 0x1810, 0xff10];

// Every decimal digit as its ASCII digit; the engine reads only those.
function asciiDigits(text) {
    return text.replace(/\p{Nd}/gu, (digit) => {
        const code = digit.codePointAt(0);
        const zero = DIGIT_ZEROS.find((z) => code >= z && code <= z + 9);
        return zero === undefined ? digit : String(code - zero);
    });
}

function grouped(number) {
    return Number(number).toLocaleString('en');
}

// A number field's text read as the page reads it: blanks around it do not count, and any
// script's digits are digits. Returns {value} or {reason}.
function wholeNumber(text, low, high, name) {
    const plain = asciiDigits(text).trim();
    if (plain === '') return {reason: name + ': give a whole number.'};
    if (/^-\d+$/.test(plain)) {
        return {reason: name + ': ' + plain + ' is too small; the least is ' + grouped(low) + '.'};
    }
    if (!/^\d+$/.test(plain)) {
        return {reason: name + ': “' + text.trim() + '” is not a whole number.'};
    }
    const value = Number(plain);
    if (value > high) {
        return {reason: name + ': ' + grouped(plain) + ' is too large; the most is ' +
                grouped(high) + '.'};
    }
    if (value < low) {
        return {reason: name + ': ' + grouped(value) + ' is too small; the least is ' +
                grouped(low) + '.'};
    }
    return {value, text: String(value)};
}

// The engine's reason (from its --explain wording) said in the page's words; patterns for the
// reasons a form can meet, then a plain fallback for any other.
const REASONS = [
    [/^the fixed-number line lists (\d+) distinct numbers?, fewer than the fixed maximum (\d+)/,
        (m) => 'There ' + (m[1] === '1' ? 'is only 1 fixed number' : 'are only ' + m[1] +
            ' different fixed numbers') + ', fewer than “at most” (' + m[2] + ').'],
    [/^(\d+) fixed numbers? leaves? no room in a line of (\d+)/,
        (m) => m[1] + ' fixed numbers leave no room for a drawn number in a line of ' + m[2] +
            ': give fewer fixed numbers than numbers on each line.'],
    [/^the fixed-number line lists (\d+) numbers, more than (\d+)/,
        (m) => grouped(m[1]) + ' fixed numbers are too many; the most is ' + m[2] + '.'],
    [/^fixed number (\d+) is above the pool of (\d+)/,
        (m) => 'Fixed number ' + grouped(m[1]) + ' is larger than ' + m[2] +
            ', the largest number drawn.'],
    [/^fixed number 0 can never be drawn/,
        () => '0 can never be drawn: the numbers start at 1.'],
    [new RegExp('^the pool of (\\d+) less (\\d+) fixed numbers? leaves (\\d+), too few to ' +
        'fill a line of (\\d+) holding only (\\d+)'),
        (m) => 'Without the ' + m[2] + ' fixed numbers only ' + m[3] + ' are left to draw ' +
            'from, too few for a line of ' + m[4] + ' holding only ' + m[5] + ' of them.'],
    [/^--exclude (\d+) is also a fixed number/,
        (m) => m[1] + ' is a fixed number, so it cannot also be a number never to use.'],
    [/^no line of .* has (.*)$/,
        (m) => 'No line can meet these rules together: ' + ruleWords(m[1]) + '.'],
    [/^--unique asks for ([\d,]+) lines, but there are only ([\d,]+) different/,
        (m) => 'Only ' + m[2] + ' different lines are possible, fewer than the ' + m[1] +
            ' asked for.'],
    [/^--unique allows at most ([\d,]+) lines/,
        (m) => 'Lines that are all different: at most ' + m[1] + ' lines for this pool.'],
    [/^seed file '.*' holds (\d+) bytes; a seed file holds (\d+)/,
        (m) => 'This replay file holds ' + grouped(m[1]) + ' bytes; a saved seed holds ' +
            grouped(m[2]) + '.'],
    [/^--check '.*': '(.*)' is not a number from 1 to 80/,
        (m) => 'The draw: ' + m[1] + ' is not a number from 1 to 80.'],
    [/^--check '.*': '(.*)' is not a number/,
        (m) => 'The draw: “' + m[1] + '” is not a number.'],
    [/^--check '.*': (\d+) appears twice/, (m) => 'The draw: ' + m[1] + ' appears twice.'],
    [/^--wheel \d+:(\d+): M is more than (?:PICK (\d+)|the (\d+) numbers a line holds)/,
        (m) => 'Guarantee: ' + m[1] + ' numbers drawn cannot all be on a line of ' +
            (m[2] || m[3] + ' numbers besides the fixed ones') + '.'],
    [/^(?:PICK (\d+) is|the (\d+) numbers a line holds .*) more than the (\d+) numbers? to wheel/,
        (m) => 'Only ' + m[3] + ' numbers are wheeled, too few to fill a line of ' +
            (m[1] || m[2] + ' numbers besides the fixed ones') + '.'],
    [new RegExp('^no wheel of at most (\\d+) lines? gives (\\d+ if \\d+) over (\\d+) numbers: ' +
        'a lower bound is (\\d+)'),
        (m) => 'No wheel of at most ' + grouped(m[1]) + ' lines can give “' + m[2] + '” over ' +
            m[3] + ' numbers: it takes at least ' + grouped(m[4]) + ' lines. Allow more lines ' +
            'or wheel fewer numbers.'],
    [new RegExp('^the fewest lines found for (\\d+ if \\d+) over (\\d+) numbers? is (\\d+), ' +
        'more than (\\d+); a lower bound is (\\d+)'),
        (m) => 'The smallest wheel found for “' + m[1] + '” over ' + m[2] + ' numbers has ' +
            grouped(m[3]) + ' lines, more than the ' + grouped(m[4]) + ' allowed (none has ' +
            'fewer than ' + grouped(m[5]) + '). Allow more lines, give more effort, or tick ' +
            '“the best lines within the limit”.'],
    [/^--numbers (\d+) is not in the pool 1\.\.(\d+)/,
        (m) => 'Numbers to wheel: ' + m[1] + ' is larger than ' + m[2] +
            ', the largest number drawn.'],
    [/^--numbers (\d+) is a key number/,
        (m) => 'Numbers to wheel: ' + m[1] + ' is a fixed number, on every line already; ' +
            'list only the others.'],
    [/^--exclude (\d+) is also in --numbers/,
        (m) => m[1] + ' is a number never to use, so it cannot be wheeled too.'],
    [/^--wheel .* more than 2\^62 draws/,
        () => 'Guarantee: too many draws to check; wheel fewer numbers.'],
    [/together need more than 128 MiB/,
        () => 'These rules together need more memory than the page can use: loosen them.'],
];

// The engine's report of a wheel (standard error with --explain) in plain words.
function wheelReport(text) {
    const said = [];
    for (const line of text.split('\n')) {
        let m = line.match(new RegExp('^combogen: wheel of (\\d+) lines? for (\\d+ if \\d+) ' +
            'over (\\d+) numbers \\((.*)\\); a lower bound is (\\d+) \\((.*)\\): (optimal|not)'));
        if (m) {
            said.push('A wheel of ' + grouped(m[1]) + (m[1] === '1' ? ' line' : ' lines') +
                ' for “' + m[2] + '” over ' + m[3] + ' numbers (' +
                (m[4] === 'search' ? 'found by a search' : m[4]) + '). No wheel has fewer than ' +
                grouped(m[5]) + ' lines (' + m[6] + '): ' + (m[7] === 'optimal'
                ? 'this one is the smallest there is.' : 'a smaller one may exist.'));
            continue;
        }
        m = line.match(new RegExp('^combogen: (\\d+) lines? gives? (\\d+ if \\d+) for ' +
            '([\\d.]+ %) of the draws with (\\d+) among your (\\d+) numbers? ' +
            '\\((\\d+) of (\\d+)\\)'));
        if (m) {
            said.push('The smallest wheel found is longer than allowed: these ' +
                grouped(m[1]) + ' lines give “' + m[2] + '” for ' + m[3] + ' of the draws with ' +
                m[4] + ' among your ' + m[5] + ' numbers (' + grouped(m[6]) + ' of ' +
                grouped(m[7]) + ').');
        }
    }
    return said.join(' ');
}

// "--sum 21:21 and --odd 0:0" as the form names them.
function ruleWords(text) {
    return text
        .replace(/--sum (\d+):(\d+)/g, 'a sum from $1 to $2')
        .replace(/--odd (\d+):(\d+)/g, '$1 to $2 odd numbers')
        .replace(/--max-run (\d+)/g, 'runs of at most $1')
        .replace(/--exclude ([\d ]+)/g, 'without $1')
        .replace(/--unique/g, 'all lines different');
}

// A refusal of an option's value, said from its rule and values in the page's words.
const RULE_WORDS = {
    'outside': (r) => r.label + ': both numbers go from ' + r.values[1] + ' to ' +
        grouped(r.values[2]) + '.',
    'reversed': (r) => ({
        bonus: 'Bonus numbers: ' + r.values[1] + ' cannot be drawn from only ' + r.values[2] + '.',
        wheel: 'Guarantee: a line cannot hold ' + r.values[1] + ' of only ' + r.values[2] +
            ' numbers drawn; make the first number at most the second.',
    })[r.pageField] || r.label + ': “at least” (' + r.values[1] + ') is more than “at most” (' +
        r.values[2] + ').',
    'not-in-range': (r) => r.label + ': give a whole number from ' + grouped(r.values[1]) +
        ' to ' + grouped(r.values[2]) + '.',
    'not-in-pool': (r) => r.label + ': ' + grouped(r.values[0]) + ' is not a number from 1 to 80.',
    'no-number': (r) => r.label + ': list at least one number.',
    'not-together': () => 'Give a seed text or a replay file, not both.',
    'system-seed-only': () =>
        'Save seed keeps a new random seed: leave the seed text and replay file empty.',
};

// A refusal of an argument, by its field and rule; the most of a fixed count is PICK less 1.
const ARGUMENT_WORDS = {
    'PickCount:above': (r) => 'A line cannot hold ' + r.values[0] +
        ' numbers when there are only ' + r.values[1] + ' to draw from.',
    'FixedMin:above': (r) => '“At least” must be fewer than the ' + (Number(r.values[1]) + 1) +
        ' numbers on each line.',
    'FixedMax:below': (r) => '“At most” (' + r.values[0] + ') cannot be less than “at least” (' +
        r.values[1] + ').',
    'FixedMax:above': (r) => '“At most” must be fewer than the ' + (Number(r.values[1]) + 1) +
        ' numbers on each line.',
};

// The engine's refusal (a value: the rule broken and its values) in the page's words.
function refusalWords(refusal) {
    const say = (refusal.label && RULE_WORDS[refusal.rule]) ||
        ARGUMENT_WORDS[refusal.field + ':' + refusal.rule];
    return say ? say(refusal) : pageReason(refusal.message);
}

function pageReason(reason) {
    for (const [pattern, say] of REASONS) {
        const m = reason.match(pattern);
        if (m) return say(m);
    }
    // A reason no form should meet: still in plain words, the first letter raised.
    const plain = ruleWords(reason).replace(/pick count/g, 'numbers on each line')
        .replace(/fixed maximum/g, '“at most”').replace(/fixed minimum/g, '“at least”')
        .replace(/\b\d{4,}\b/g, grouped);
    return plain.charAt(0).toUpperCase() + plain.slice(1) + (/[.!?]$/.test(plain) ? '' : '.');
}
