// The page's side of the browser edition's entry (web_main.cpp), through the
// page object the page hands the program (Module.morluPage).
mergeInto(LibraryManager.library, {
  morlu_web_log: function(text, length) {
    var page = Module['morluPage'];
    if (page && page.log) page.log(new TextDecoder('windows-1252').decode(HEAPU8.subarray(text, text + length)));
  },

  morlu_web_ended: function(status) {
    var page = Module['morluPage'];
    if (page && page.ended) page.ended(status);
  },

  // Kept on the instance: the page reads them once the tape has run.
  morlu_web_tape_output: function(kind, name) {
    if (!Module['morluTapeOutputs']) Module['morluTapeOutputs'] = [];
    Module['morluTapeOutputs'].push({kind: kind, name: UTF8ToString(name)});
  },
});
