// Minifies one of the page's scripts for the built page (Debian's node-terser): node
// minify.js INPUT OUTPUT. Top-level names stay, as the page's scripts share them.
'use strict';
const fs = require('fs');
const {minify} = require('terser');

const [input, output] = process.argv.slice(2);
minify(fs.readFileSync(input, 'utf8'), {compress: true, mangle: true})
    .then((result) => fs.writeFileSync(output, result.code + '\n'))
    .catch((error) => {
        console.error(input + ': ' + error.message);
        process.exit(1);
    });
