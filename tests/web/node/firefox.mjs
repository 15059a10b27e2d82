// Drives the page in Debian's Firefox ESR through WebDriver BiDi: fills the form from a JSON
// object of field ids and values, presses Generate, and prints the file made, in base64, or
// the messages shown. Usage: node firefox.mjs URL FORM-JSON
// With "reload-reset" after the form, where the form's values are true: clicks those check
// boxes and radio buttons, reloads, presses Reset, and prints whether each is ticked.
import puppeteer from 'puppeteer-core';
import {mkdtempSync, rmSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {join} from 'node:path';

const [url, formJson, mode] = process.argv.slice(2);
const profile = mkdtempSync(join(tmpdir(), 'combogen-firefox-'));
const browser = await puppeteer.launch({
    browser: 'firefox',
    executablePath: '/usr/bin/firefox-esr',
    headless: true,
    userDataDir: profile,
    protocol: 'webDriverBiDi',
});
try {
    const page = await browser.newPage();
    await page.goto(url, {waitUntil: 'load'});
    if (mode === 'reload-reset') {
        const ids = Object.keys(JSON.parse(formJson));
        for (const id of ids) await page.$eval('#' + id, (box) => box.click());
        await page.reload({waitUntil: 'load'});
        await page.click('#reset');
        const checked = {};
        for (const id of ids) checked[id] = await page.$eval('#' + id, (box) => box.checked);
        process.stdout.write(JSON.stringify({checked}) + '\n');
    } else {
        await fill(page);
    }
} finally {
    await browser.close();
    rmSync(profile, {recursive: true, force: true});
}

async function fill(page) {
    for (const [id, text] of Object.entries(JSON.parse(formJson))) {
        // A field among "more options" is unfolded first, as a person would.
        await page.$eval('#' + id, (input) => {
            const folded = input.closest('details');
            if (folded) folded.open = true;
            input.value = '';
        });
        await page.type('#' + id, text);
    }
    await page.click('#generate');
    await page.waitForFunction(() => !document.getElementById('download').hidden ||
        document.getElementById('form-error').textContent !== '', {timeout: 60000});
    const made = await page.evaluate(async () => {
        const link = document.getElementById('download');
        if (link.hidden) {
            return {errors: [...document.querySelectorAll('.error')].map((e) => e.textContent)
                .filter((t) => t !== '')};
        }
        const bytes = new Uint8Array(await (await fetch(link.href)).arrayBuffer());
        let text = '';
        for (const byte of bytes) text += String.fromCharCode(byte);
        return {name: link.download, file: btoa(text)};
    });
    process.stdout.write(JSON.stringify(made) + '\n');
}
