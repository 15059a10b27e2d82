// The worker around combogen's WebAssembly module (built into engine.js, inside the function
// combogenWorker, after the module's own script, which defines createCombogen, and
// COMBOGEN_WASM, the module's bytes gzipped, as base64).
//
// The page sends one of:
//   {type: 'check', id, args, files}  the checks of a run, nothing written: answers
//                                     {type: 'checked', id, refusal}, refusal null when the
//                                     run would go ahead
//   {type: 'run', args, files, output} a whole run: answers {type: 'preview', text} with the
//                                     output's first bytes, {type: 'progress', bytes} now and
//                                     then, {type: 'search', lines, unmet, done} during a
//                                     wheel search (done: the share of its most work), and
//                                     {type: 'done', status, error, refusal, files}
// A refusal is the engine's value: {field, message, option, pageField, label, rule, values}.
// args is the command line after the program's name; files maps the names the run may read
// to their bytes. Each run gets a fresh module, so that no run sees another's state.

// Emscripten's errno values (its C library numbers them as WASI does).
const ENOENT = 44;
const EBADF = 8;
const EISDIR = 31;

const PART_SIZE = 1 << 20;  // the output reaches the page's Blob in parts of this size
const PREVIEW_SIZE = 4096;  // how much of the output the page shows before the run ends

// A file the run writes, kept as Blob parts: the browser may keep those on disk, so a long
// output never has to sit whole in this worker's memory.
class WrittenFile {
    constructor(name, onPart) {
        this.name = name;
        this.parts = [];
        this.buffer = new Uint8Array(PART_SIZE);
        this.used = 0;
        this.size = 0;
        this.onPart = onPart;
    }
    write(bytes) {
        let from = 0;
        while (from < bytes.length) {
            const taken = Math.min(bytes.length - from, PART_SIZE - this.used);
            this.buffer.set(bytes.subarray(from, from + taken), this.used);
            this.used += taken;
            from += taken;
            if (this.used === PART_SIZE) this.flush();
        }
        this.size += bytes.length;
    }
    flush() {
        if (this.used === 0) return;
        if (this.onPart) this.onPart(this, this.buffer.subarray(0, this.used));
        this.parts.push(new Blob([this.buffer.subarray(0, this.used)]));
        this.used = 0;
    }
    blob() {
        this.flush();
        return new Blob(this.parts, {type: 'text/plain'});
    }
}

// The run's files: inputs maps names to bytes; every file the run creates is kept by name.
class FileTable {
    constructor(inputs, onPart) {
        this.inputs = inputs || {};
        this.onPart = onPart;
        this.handles = [];
        this.written = new Map();
    }
    create(name) {
        if (name in this.inputs) return -EISDIR;  // the page never lets a run overwrite an input
        const file = new WrittenFile(name, this.onPart);
        this.written.set(name, file);
        return this.handles.push({file}) - 1;
    }
    open(name) {
        const bytes = this.inputs[name];
        if (bytes === undefined) return -ENOENT;
        return this.handles.push({bytes, position: 0}) - 1;
    }
    write(handle, bytes) {
        const entry = this.handles[handle];
        if (!entry || !entry.file) return EBADF;
        entry.file.write(bytes);
        return 0;
    }
    read(handle, into) {
        const entry = this.handles[handle];
        if (!entry || !entry.bytes) return -EBADF;
        const count = Math.min(into.length, entry.bytes.length - entry.position);
        into.set(entry.bytes.subarray(entry.position, entry.position + count));
        entry.position += count;
        return count;
    }
    // A file written in one piece (the saved seed).
    writeWhole(name, bytes) {
        if (name in this.inputs) return EISDIR;
        const file = new WrittenFile(name, null);
        file.write(bytes);
        this.written.set(name, file);
        return 0;
    }
    exists(name) {
        return name in this.inputs || this.written.has(name) ? 1 : 0;
    }
    remove(name) {
        return this.written.delete(name) ? 0 : ENOENT;
    }
    close(handle) {
        const entry = this.handles[handle];
        if (!entry) return EBADF;
        if (entry.file) entry.file.flush();
        this.handles[handle] = null;
        return 0;
    }
}

// The module's bytes, unpacked once: gzipped, the engine takes half the page's bytes it would
// as plain base64.
let wasmBinary = null;

function engineBinary() {
    if (!wasmBinary) {
        const packed = Uint8Array.from(atob(COMBOGEN_WASM), (c) => c.charCodeAt(0));
        wasmBinary = new Response(new Blob([packed]).stream()
            .pipeThrough(new DecompressionStream('gzip'))).arrayBuffer();
    }
    return wasmBinary;
}

async function createEngine(settings) {
    return createCombogen(Object.assign({wasmBinary: await engineBinary()}, settings));
}

function decodeText(chunks) {
    const decoder = new TextDecoder();
    return chunks.map((chunk) => decoder.decode(chunk, {stream: true})).join('') + decoder.decode();
}

// A message's files, with the module's text streams collected.
function moduleSettings(message, onPart) {
    const errorChunks = [];
    const outputChunks = [];
    return {
        errorChunks,
        outputChunks,
        settings: {
            files: new FileTable(message.files, onPart),
            standardError: (bytes) => errorChunks.push(bytes),
            standardOutput: (bytes) => outputChunks.push(bytes),
            print: (text) => outputChunks.push(new TextEncoder().encode(text + '\n')),
            printErr: (text) => errorChunks.push(new TextEncoder().encode(text + '\n')),
        },
    };
}

async function runEngine(message) {
    let preview = null;
    let previewSent = false;
    const sendPreview = () => {
        if (previewSent || !preview) return;
        previewSent = true;
        postMessage({type: 'preview', text: new TextDecoder().decode(preview)});
    };
    // Each part of the output file: its first bytes as the preview, its size as progress.
    const onPart = (file, bytes) => {
        if (file.name !== message.output) return;
        if (!preview) preview = bytes.slice(0, PREVIEW_SIZE);
        sendPreview();
        postMessage({type: 'progress', bytes: file.size});
    };
    const {errorChunks, outputChunks, settings} = moduleSettings(message, onPart);
    const module = await createEngine(settings);
    searchProgress = (lines, unmet, done) => postMessage({type: 'search', lines, unmet, done});
    const status = module.callMain(message.args);
    searchProgress = null;
    const refusal = module.UTF8ToString(module._combogen_refusal());
    const written = {};
    for (const [name, file] of settings.files.written) written[name] = file.blob();
    if (!previewSent) {
        const output = settings.files.written.get(message.output);
        preview = new Uint8Array(0);
        if (output && output.parts.length > 0) {
            preview = new Uint8Array(await output.parts[0].slice(0, PREVIEW_SIZE).arrayBuffer());
        }
        sendPreview();
    }
    postMessage({
        type: 'done',
        status,
        error: decodeText(errorChunks),
        refusal: refusal === '' ? null : JSON.parse(refusal),
        output: decodeText(outputChunks),
        files: written,
    });
}

// Called by the engine during a wheel search (src/platform/terminal_web.cpp); runs set it.
let searchProgress = null;

function combogenSearchProgress(lines, unmet, done) {
    if (searchProgress) searchProgress(lines, unmet, done);
}

// The checks keep one module: they write nothing and leave nothing behind.
let checker = null;

async function checkArguments(message) {
    if (!checker) checker = createEngine(moduleSettings({}, null).settings);
    const module = await checker;
    module.files = new FileTable(message.files, null);
    const pointers = message.args.map((arg) => {
        const size = module.lengthBytesUTF8(arg) + 1;
        const pointer = module._malloc(size);
        module.stringToUTF8(arg, pointer, size);
        return pointer;
    });
    const argv = module._malloc(4 * (pointers.length + 1));
    pointers.forEach((pointer, i) => (module.HEAP32[(argv >> 2) + i] = pointer));
    module.HEAP32[(argv >> 2) + pointers.length] = 0;
    const answer = module.UTF8ToString(module._combogen_check(pointers.length, argv));
    pointers.forEach((pointer) => module._free(pointer));
    module._free(argv);
    postMessage({type: 'checked', id: message.id, refusal: answer === '' ? null : JSON.parse(answer)});
}

self.onmessage = (event) => {
    const message = event.data;
    const work = message.type === 'run' ? runEngine : checkArguments;
    work(message).catch((e) => postMessage({type: 'crashed', id: message.id, error: String(e)}));
};
