// The page's storage of the script file (script_file_web.cpp). The page hands
// the program its store (Module.morluScriptStore: get(name) gives a string of
// byte values or null, set(name, string) stores one); without one, the file
// lives in memory as long as the program.
mergeInto(LibraryManager.library, {
  $morluStore: function() {
    if (!Module['morluScriptStore']) {
      var files = {};
      Module['morluScriptStore'] = {
        get: function(name) { return Object.prototype.hasOwnProperty.call(files, name) ? files[name] : null; },
        set: function(name, bytes) { files[name] = bytes; },
      };
    }
    return Module['morluScriptStore'];
  },

  morlu_web_store_get__deps: ['$morluStore', 'malloc'],
  morlu_web_store_get: function(name, length) {
    var bytes = morluStore().get(UTF8ToString(name));
    if (bytes === null || bytes === undefined) return 0;
    var out = _malloc(bytes.length + 1);
    if (!out) return 0;
    for (var i = 0; i < bytes.length; ++i) HEAPU8[out + i] = bytes.charCodeAt(i) & 255;
    HEAP32[length >> 2] = bytes.length;
    return out;
  },

  // 28 (ENOSPC) when the storage is full or refuses.
  morlu_web_store_put__deps: ['$morluStore'],
  morlu_web_store_put: function(name, bytes, length) {
    var text = '';
    for (var i = 0; i < length; i += 8192)
      text += String.fromCharCode.apply(null, HEAPU8.subarray(bytes + i, bytes + Math.min(length, i + 8192)));
    try {
      morluStore().set(UTF8ToString(name), text);
      return 0;
    } catch (e) {
      return 28;
    }
  },
});
