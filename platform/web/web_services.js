// The browser's font and imaging services for the browser edition
// (web_font_service.cpp, png_encoder_web.cpp). Both draw on canvases of their
// own, never on the page's.
mergeInto(LibraryManager.library, {
  // A 2D context on a canvas of at least `width` x `height`, made once.
  $morluScratch: function(width, height) {
    var s = morluScratch;
    if (!s.canvas) {
      s.canvas = document.createElement('canvas');
      s.canvas.width = 1;
      s.canvas.height = 1;
    }
    if (s.canvas.width < width || s.canvas.height < height) {
      s.canvas.width = Math.max(s.canvas.width, width);
      s.canvas.height = Math.max(s.canvas.height, height);
      s.context = null;
    }
    if (!s.context) s.context = s.canvas.getContext('2d', {willReadFrequently: true});
    return s.context;
  },

  // One character of a CSS font drawn on a transparent canvas: the alpha of
  // each pixel is the glyph's grey coverage (on a transparent canvas the
  // browser draws text in grey, never in coloured subpixels). The box is found
  // from the pixels drawn, around a pen at (em, 2 em).
  morlu_web_glyph__deps: ['$morluScratch', 'malloc'],
  morlu_web_glyph: function(css, codepoint, fields) {
    var font = UTF8ToString(css);
    var em = parseInt(/(\d+)px/.exec(font)[1], 10);
    var size = em * 4;
    var ctx = morluScratch(size, size);
    ctx.font = font;
    var ch = String.fromCodePoint(codepoint);
    var advance = Math.round(ctx.measureText(ch).width);
    ctx.clearRect(0, 0, size, size);
    ctx.fillStyle = '#fff';
    ctx.textBaseline = 'alphabetic';
    ctx.fillText(ch, em, 2 * em);
    var data = ctx.getImageData(0, 0, size, size).data;
    var x0 = size, y0 = size, x1 = -1, y1 = -1;
    for (var y = 0; y < size; ++y) {
      for (var x = 0; x < size; ++x) {
        if (data[(y * size + x) * 4 + 3] === 0) continue;
        if (x < x0) x0 = x;
        if (x > x1) x1 = x;
        if (y < y0) y0 = y;
        if (y > y1) y1 = y;
      }
    }
    var f = fields >> 2;
    HEAP32[f + 4] = advance;
    HEAP32[f + 5] = 0;
    if (x1 < 0) return;
    var w = x1 - x0 + 1, h = y1 - y0 + 1;
    var buffer = _malloc(w * h);
    if (!buffer) return;
    for (var r = 0; r < h; ++r)
      for (var c = 0; c < w; ++c) HEAPU8[buffer + r * w + c] = data[((y0 + r) * size + x0 + c) * 4 + 3];
    HEAP32[f] = x0 - em;
    HEAP32[f + 1] = 2 * em - y0;
    HEAP32[f + 2] = w;
    HEAP32[f + 3] = h;
    HEAP32[f + 5] = buffer;
  },

  // The browser's PNG of opaque RGBA pixels.
  morlu_web_encode_png__deps: ['malloc'],
  morlu_web_encode_png: function(rgba, width, height, length) {
    var canvas = document.createElement('canvas');
    canvas.width = width;
    canvas.height = height;
    var ctx = canvas.getContext('2d');
    var pixels = new ImageData(new Uint8ClampedArray(HEAPU8.subarray(rgba, rgba + width * height * 4)), width, height);
    ctx.putImageData(pixels, 0, 0);
    var url = canvas.toDataURL('image/png');
    var comma = url.indexOf(',');
    if (url.slice(0, comma) !== 'data:image/png;base64') return 0;
    var bytes = atob(url.slice(comma + 1));
    var out = _malloc(bytes.length);
    if (!out) return 0;
    for (var i = 0; i < bytes.length; ++i) HEAPU8[out + i] = bytes.charCodeAt(i);
    HEAP32[length >> 2] = bytes.length;
    return out;
  },
});
