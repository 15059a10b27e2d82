// The prize report's second part (--prizes) as a table: for each count of drawn numbers among
// the numbers played, the least, average and most lines with each match.
'use strict';

// The report's blocks: {drawn, over, draws, rows: [[match, least, average, most]]}. Blocks with
// no line that can match (none of the drawn numbers among them, no bonus) have no rows.
function prizeBlocks(report) {
    const blocks = [];
    const lines = report.split(/\r?\n/);
    for (let i = 0; i < lines.length; ++i) {
        const head = lines[i].match(/^(\d+) of the drawn numbers among these (\d+): (\d+) draws$/);
        if (!head || lines[i + 1] !== 'match  least  average  most') continue;
        const rows = [];
        for (let row; (row = (lines[i + 2 + rows.length] || '')
            .match(/^ *(\d+(?:\+\d+)?) +(\d+) +([\d.]+) +(\d+)$/));) {
            rows.push(row.slice(1));
        }
        blocks.push({drawn: head[1], over: head[2], draws: head[3], rows});
    }
    return blocks;
}

function cell(tag, text, attributes = {}) {
    const element = document.createElement(tag);
    element.textContent = text;
    for (const [name, value] of Object.entries(attributes)) element.setAttribute(name, value);
    return element;
}

// The table, or null when the report has no block to show.
function prizeTable(report) {
    const blocks = prizeBlocks(report).filter((block) => block.rows.length > 0);
    if (blocks.length === 0) return null;
    const table = document.createElement('table');
    table.append(cell('caption', 'Lines with each match, by how many of the drawn numbers are ' +
        'among your ' + blocks[0].over + ': the least, the average and the most over those ' +
        'draws'));
    const head = table.createTHead().insertRow();
    for (const name of ['Drawn among yours', 'Match', 'Least', 'Average', 'Most']) {
        head.append(cell('th', name, {scope: 'col'}));
    }
    for (const block of blocks) {
        const body = table.createTBody();
        block.rows.forEach(([match, least, average, most], i) => {
            const row = body.insertRow();
            if (i === 0) {
                const drawn = cell('th', block.drawn, {scope: 'rowgroup',
                    rowspan: block.rows.length});
                drawn.append(cell('span', grouped(block.draws) +
                    (block.draws === '1' ? ' draw' : ' draws'), {class: 'draws'}));
                row.append(drawn);
            }
            row.append(cell('th', match, {scope: 'row'}), cell('td', least),
                cell('td', average), cell('td', most));
        });
    }
    return table;
}
