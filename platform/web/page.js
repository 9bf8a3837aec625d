// The page of a morlu program: it loads the fonts, starts the program (one
// instance of createMorluProgram), shows its windows, menu bar and log, hands
// it the user's clicks and keys, keeps MORLU.SCR in the browser's storage, and
// runs tapes in fresh instances (window.morlu.runTape).
(function () {
  'use strict';

  var SCRIPT_PREFIX = 'morlu:';
  var SCRIPT_NAME = 'MORLU.SCR';
  var EVENT = { mouseDown: 0, keyDown: 1, keyUp: 2, close: 3, menuCommand: 4 };
  var MOD = { shift: 1, control: 2, alt: 4, capsLock: 8 };
  var VK_OEM_PUNCT = 0xba;
  // Keys by the browser's name, as the desktop editions map them; letters,
  // digits and F1..F12 are found by rule, every other key is VK_OEM_PUNCT.
  var NAMED_KEYS = {
    Backspace: 0x08, Tab: 0x09, Enter: 0x0d, Shift: 0x10, Control: 0x11, Alt: 0x12, AltGraph: 0x12,
    CapsLock: 0x14, Escape: 0x1b, ' ': 0x20, ArrowLeft: 0x25, ArrowUp: 0x26, ArrowRight: 0x27,
    ArrowDown: 0x28, Delete: 0x2e,
  };
  // The characters the desktop's keys type that the browser names instead.
  var NAMED_CHARACTERS = { Enter: 13, Backspace: 8, Tab: 9, Escape: 27, Delete: 127 };
  var MODIFIER_KEYS = [[0x10, MOD.shift], [0x11, MOD.control], [0x12, MOD.alt]];
  // Keys whose browser action the page leaves alone (reload, full screen, tools).
  var BROWSER_KEYS = { F5: true, F11: true, F12: true };

  var graphics = document.getElementById('morlu-graphics');
  var logCanvas = document.getElementById('morlu-log');
  var menuBar = document.getElementById('morlu-menu');
  var statusLine = document.getElementById('morlu-status');

  var program = null;  // the live instance
  var events = [];
  var windows = {};  // id -> canvas
  var graphicsId = 0;
  var heldMods = 0;
  var ended = false;
  var waiting = false;
  var lastFrameMs = 0;
  // A program that waits and has shown nothing new for longer than this (two
  // and a half of its 100 ms ticks) leaves the page idle: it is halted.
  var IDLE_AFTER_MS = 250;

  var morlu = (window.morlu = window.morlu || {});

  function setStatus(text) {
    statusLine.textContent = text;
  }

  // The user did something: queue it and wake the program's wait.
  function post(e) {
    if (ended) return;
    events.push(e);
    if (program && program.morluWake) program.morluWake();
  }

  // ---- MORLU.SCR in the browser's storage, byte for byte ----

  function memoryStore() {
    var files = {};
    return {
      get: function (name) { return Object.prototype.hasOwnProperty.call(files, name) ? files[name] : null; },
      set: function (name, bytes) { files[name] = bytes; },
    };
  }

  var pageStore = (function () {
    try {
      var storage = window.localStorage;
      storage.getItem(SCRIPT_PREFIX + SCRIPT_NAME);
      return {
        get: function (name) { return storage.getItem(SCRIPT_PREFIX + name); },
        set: function (name, bytes) { storage.setItem(SCRIPT_PREFIX + name, bytes); },
      };
    } catch (e) {
      return memoryStore();  // storage refused (a private window): the file lives as long as the page
    }
  })();

  function bytesToBinary(bytes) {
    var out = '';
    for (var i = 0; i < bytes.length; i += 8192) out += String.fromCharCode.apply(null, bytes.subarray(i, i + 8192));
    return out;
  }

  function binaryToBytes(text) {
    var bytes = new Uint8Array(text.length);
    for (var i = 0; i < text.length; ++i) bytes[i] = text.charCodeAt(i) & 255;
    return bytes;
  }

  function downloadScript() {
    var bytes = pageStore.get(SCRIPT_NAME);
    if (bytes === null) {
      setStatus('Nothing recorded yet: Ctrl+R (Run > Record Script) records MORLU.SCR.');
      return;
    }
    var link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([binaryToBytes(bytes)], { type: 'application/octet-stream' }));
    link.download = SCRIPT_NAME;
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(function () { URL.revokeObjectURL(link.href); }, 1000);
  }

  function loadScript(file) {
    file.arrayBuffer().then(function (buffer) {
      pageStore.set(SCRIPT_NAME, bytesToBinary(new Uint8Array(buffer)));
      setStatus('MORLU.SCR loaded (' + buffer.byteLength + ' bytes): Ctrl+P (Run > Playback Script) plays it.');
    }, function () {
      setStatus('The file could not be read.');
    });
  }

  // ---- what the program shows ----

  // The first window the program makes is the graphics window; any other is
  // the log console.
  function canvasFor(id) {
    return windows[id] || null;
  }

  var page = {
    window: function (id, title, width, height, made) {
      if (!made) {
        delete windows[id];
        return;
      }
      var canvas = graphicsId === 0 ? graphics : logCanvas;
      if (graphicsId === 0) graphicsId = id;
      canvas.width = width;
      canvas.height = height;
      var ctx = canvas.getContext('2d');
      ctx.fillStyle = '#000';
      ctx.fillRect(0, 0, width, height);
      windows[id] = canvas;
    },
    show: function () {},
    present: function (id, x, y, width, height, rgba) {
      var canvas = canvasFor(id);
      if (!canvas) return;
      canvas.getContext('2d').putImageData(new ImageData(rgba, width, height), x, y);
      lastFrameMs = performance.now();
      if (canvas === graphics && morlu.firstFrameMs === undefined && !firstFrameAsked) {
        firstFrameAsked = true;
        requestAnimationFrame(function () { morlu.firstFrameMs = performance.now(); });
      }
    },
    menuBar: function (id, layout) {
      menu.build(layout);
    },
    menuCheck: function (id, command, checked) {
      menu.check(command, checked);
    },
    log: function (text) {
      logCanvas.textContent = text;  // what the console shows, as text for readers and tests
    },
    waiting: function (now) {
      waiting = now;
    },
    ended: function (status) {
      ended = true;
      waiting = false;
      events.length = 0;
      menu.close();
      setStatus('The program has ended' + (status ? ' with status ' + status : '') + '. Reload the page to run it again.');
    },
  };
  var firstFrameAsked = false;

  // Choosing an item only tells the program; its check mark stays as the program sets it.
  var menu = window.morluMenuBar(menuBar, function (command) {
    post([EVENT.menuCommand, graphicsId, 0, 0, 0, -1, 0, command]);
  }, function () {
    graphics.focus();
  });

  // ---- keys and clicks ----

  function modsOf(e) {
    var mods = 0;
    if (e.shiftKey) mods |= MOD.shift;
    if (e.ctrlKey) mods |= MOD.control;
    if (e.altKey) mods |= MOD.alt;
    if (e.getModifierState && e.getModifierState('CapsLock')) mods |= MOD.capsLock;
    return mods;
  }

  function vkOf(e) {
    var m;
    if (/^[a-zA-Z]$/.test(e.key)) return e.key.toUpperCase().charCodeAt(0);
    if (/^[0-9]$/.test(e.key)) return e.key.charCodeAt(0);
    if ((m = /^F([1-9]|1[0-2])$/.exec(e.key))) return 0x70 + Number(m[1]) - 1;
    if (Object.prototype.hasOwnProperty.call(NAMED_KEYS, e.key)) return NAMED_KEYS[e.key];
    // A layout whose key types no Latin letter still has the key's place.
    if ((m = /^Key([A-Z])$/.exec(e.code))) return m[1].charCodeAt(0);
    if ((m = /^Digit([0-9])$/.exec(e.code))) return m[1].charCodeAt(0);
    return VK_OEM_PUNCT;
  }

  function codepointOf(e) {
    if (Object.prototype.hasOwnProperty.call(NAMED_CHARACTERS, e.key)) return NAMED_CHARACTERS[e.key];
    var chars = Array.from(e.key);
    return chars.length === 1 ? chars[0].codePointAt(0) : -1;
  }

  function modOfVk(vk) {
    for (var i = 0; i < MODIFIER_KEYS.length; ++i) if (MODIFIER_KEYS[i][0] === vk) return MODIFIER_KEYS[i][1];
    return 0;
  }

  function onKey(e) {
    if (e.target && e.target.closest && e.target.closest('input, #morlu-controls')) return;
    var press = e.type === 'keydown';
    if (press && menu.takeKey(e)) return;
    if (!graphicsId || ended) return;
    var vk = vkOf(e);
    var own = modOfVk(vk);
    heldMods = press ? heldMods | own : heldMods & ~own;
    post([press ? EVENT.keyDown : EVENT.keyUp, graphicsId, 0, 0, vk, press ? codepointOf(e) : -1, modsOf(e), 0]);
    if (!BROWSER_KEYS[e.key]) e.preventDefault();
  }

  // A modifier released while the page did not have the keyboard was never
  // seen: it is released when the page loses the keyboard, as the desktop
  // editions re-read the modifiers when a window regains the focus.
  function releaseHeld() {
    if (!graphicsId) return;
    MODIFIER_KEYS.forEach(function (k) {
      if (!(heldMods & k[1])) return;
      heldMods &= ~k[1];
      post([EVENT.keyUp, graphicsId, 0, 0, k[0], -1, 0, 0]);
    });
  }

  function onMouseDown(e) {
    if (e.button !== 0 || !graphicsId) return;
    menu.close();
    // The offset is from the canvas as drawn, its pixels on the screen's: a box
    // at a fractional place (below a heading of fractional height) would put a
    // click one pixel off, e.g. floor(173 - 73.19) = 99 for the pixel at row 100.
    var x = Math.floor(e.offsetX * graphics.width / graphics.clientWidth);
    var y = Math.floor(e.offsetY * graphics.height / graphics.clientHeight);
    post([EVENT.mouseDown, graphicsId, x, y, 0, -1, modsOf(e), 0]);
    graphics.focus();
    e.preventDefault();
  }

  // ---- starting the program, and tapes ----

  function fontsLoaded() {
    if (!document.fonts || !document.fonts.load) return Promise.resolve();
    return Promise.all([document.fonts.load('16px morlu-sans'), document.fonts.load('13px morlu-mono')]);
  }

  function base64(bytes) {
    return btoa(bytesToBinary(bytes));
  }

  // The page's program from its start on the virtual clock, in an instance of
  // its own with a script file of its own, so that the live program and the
  // stored MORLU.SCR stay as they are.
  function runTape(text) {
    var messages = [];
    var print = function (line) { messages.push(line); };
    return fontsLoaded().then(function () {
      return createMorluProgram({ noInitialRun: true, morluScriptStore: memoryStore(), print: print, printErr: print });
    }).then(function (instance) {
      var status = instance.ccall('morlu_web_run_tape', 'number', ['string'], [String(text)]);
      var result = { status: status, snapshots: {}, logs: {}, messages: messages.join('\n') };
      (instance.morluTapeOutputs || []).forEach(function (o) {
        var bytes;
        try {
          bytes = instance.FS.readFile(o.name);
        } catch (e) {
          return;  // not written: the status says so
        }
        if (o.kind === 0) result.snapshots[o.name] = 'data:image/png;base64,' + base64(bytes);
        else result.logs[o.name] = new TextDecoder('windows-1252').decode(bytes);
      });
      return result;
    });
  }

  function showTapeResult(result) {
    var box = document.getElementById('morlu-tape-result');
    box.textContent = '';
    var heading = document.createElement('h2');
    heading.textContent = 'Tape: status ' + result.status;
    box.appendChild(heading);
    Object.keys(result.snapshots).forEach(function (name) {
      var caption = document.createElement('p');
      caption.textContent = name;
      var img = document.createElement('img');
      img.src = result.snapshots[name];
      img.alt = name;
      box.append(caption, img);
    });
    Object.keys(result.logs).forEach(function (name) {
      var caption = document.createElement('p');
      caption.textContent = name;
      var pre = document.createElement('pre');
      pre.textContent = result.logs[name];
      box.append(caption, pre);
    });
    if (result.messages) {
      var pre = document.createElement('pre');
      pre.textContent = result.messages;
      box.appendChild(pre);
    }
  }

  function start() {
    return fontsLoaded().then(function () {
      return createMorluProgram({
        morluPage: page,
        morluEvents: events,
        morluScriptStore: pageStore,
        print: function (line) { console.log(line); },
        printErr: function (line) { console.error(line); },
        // A crash stops the program's module: the page says so and stays idle.
        onAbort: function (what) {
          ended = true;
          waiting = false;
          setStatus('The program stopped with an error (' + what + '). Reload the page to run it again.');
        },
      });
    }).then(function (instance) {
      program = instance;
      if (!ended) setStatus('Running.');
      return instance;
    });
  }

  morlu.runTape = runTape;
  morlu.halted = function () {
    return ended || (waiting && performance.now() - lastFrameMs > IDLE_AFTER_MS);
  };
  morlu.firstFrameMs = undefined;

  graphics.addEventListener('mousedown', onMouseDown);
  document.addEventListener('keydown', onKey);
  document.addEventListener('keyup', onKey);
  window.addEventListener('blur', releaseHeld);
  document.addEventListener('click', function () { menu.close(); });
  // The keyboard goes back to the program after a button.
  document.getElementById('morlu-script-download').addEventListener('click', function () {
    downloadScript();
    graphics.focus();
  });
  document.getElementById('morlu-script-load').addEventListener('click', function () {
    document.getElementById('morlu-script-file').click();
  });
  document.getElementById('morlu-script-file').addEventListener('change', function (e) {
    if (e.target.files.length) loadScript(e.target.files[0]);
    e.target.value = '';
    graphics.focus();
  });

  morlu.ready = start().then(function () {});
  var hash = location.hash;
  if (hash.indexOf('#tape=') === 0) {
    morlu.ready.then(function () {
      return runTape(decodeURIComponent(hash.slice(6)));
    }).then(function (result) {
      morlu.tapeResult = result;
      showTapeResult(result);
    });
  }
  graphics.focus();
})();
