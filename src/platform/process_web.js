// The failure report's location in the browser: __builtin_return_address becomes a call to
// emscripten_return_address, which Emscripten answers only with a converter of its own that
// parses the whole module. The browser's stack trace already names each WebAssembly frame's
// offset in the module; frames of JavaScript in between (exception trampolines) are skipped.
mergeInto(LibraryManager.library, {
    emscripten_return_address__deps: [],
    emscripten_return_address: function(level) {
        var frames = new Error().stack.split('\n');
        var seen = 0;
        for (var i = 0; i < frames.length; i++) {
            var match = /wasm-function\[\d+\]:0x([0-9a-f]+)/.exec(frames[i]);
            // The first WebAssembly frame is the function asking; level 0 is its caller.
            if (match && seen++ > level) return parseInt(match[1], 16);
        }
        return 0;
    },
});
