// The page's side of the browser edition's backend (web_backend.cpp). The page
// hands the program an object (Module.morluPage) that shows windows, frames and
// the menu bar, and a queue (Module.morluEvents) where it puts what the user
// did, each as [kind, window, x, y, vk, codepoint, mods, command], kind as in
// NativeEvent: 0 mouse down, 1 key down, 2 key up, 3 close, 4 menu command.
// Module.morluWake, while set, ends the program's wait.
mergeInto(LibraryManager.library, {
  $morluPageCall: function(name, args) {
    var page = Module['morluPage'];
    if (page && page[name]) page[name].apply(page, args);
  },

  morlu_web_window__deps: ['$morluPageCall'],
  morlu_web_window: function(id, title, width, height, made) {
    morluPageCall('window', [id, UTF8ToString(title), width, height, made !== 0]);
  },

  morlu_web_show__deps: ['$morluPageCall'],
  morlu_web_show: function(id, visible) {
    morluPageCall('show', [id, visible !== 0]);
  },

  // The pixels as a view into the module's memory, valid only during the call:
  // the canvas copies them from there, with no copy of our own.
  morlu_web_present__deps: ['$morluPageCall'],
  morlu_web_present: function(id, x, y, width, height, rgba) {
    var pixels = new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4);
    morluPageCall('present', [id, x, y, width, height, pixels]);
  },

  morlu_web_menu_bar__deps: ['$morluPageCall'],
  morlu_web_menu_bar: function(id, layout, length) {
    morluPageCall('menuBar', [id, new TextDecoder('windows-1252').decode(HEAPU8.subarray(layout, layout + length))]);
  },

  morlu_web_menu_check__deps: ['$morluPageCall'],
  morlu_web_menu_check: function(id, command, checked) {
    morluPageCall('menuCheck', [id, command, checked !== 0]);
  },

  morlu_web_take_event: function(fields) {
    var queue = Module['morluEvents'];
    if (!queue || queue.length === 0) return 0;
    var e = queue.shift();
    for (var i = 0; i < 8; ++i) HEAP32[(fields >> 2) + i] = e[i] | 0;
    return 1;
  },

  morlu_web_pending: function() {
    var queue = Module['morluEvents'];
    return queue && queue.length > 0 ? 1 : 0;
  },

  morlu_web_post_close: function(id) {
    if (!Module['morluEvents']) Module['morluEvents'] = [];
    Module['morluEvents'].push([3, id, 0, 0, 0, -1, 0, 0]);
  },

  // The program sleeps: the browser runs (paints, takes input) until the page
  // wakes the program or `ms` have passed. Nothing else runs meanwhile.
  morlu_web_wait__deps: ['$morluPageCall'],
  morlu_web_wait: function(ms) {
    return Asyncify.handleSleep(function(wakeUp) {
      var timer = null;
      var done = false;
      var finish = function() {
        if (done) return;
        done = true;
        if (timer !== null) clearTimeout(timer);
        Module['morluWake'] = null;
        morluPageCall('waiting', [false]);
        wakeUp();
      };
      if (ms >= 0) timer = setTimeout(finish, ms);
      Module['morluWake'] = finish;
      morluPageCall('waiting', [true, ms]);
    });
  },
});
