// Comparing a page's snapshot with the Linux edition's, outside the text.
//
// The two editions draw text with different font services (Linux: FreeType
// through fontconfig; the page: the browser's canvas text with its bundled
// Liberation faces), so glyph pixels may differ while everything else must be
// identical. Where the text is comes from the Linux edition itself: the tape is
// run a second time on Linux with other faces (textMaskFonts in linux.mjs), and
// every pixel that differs between the two Linux runs is a text pixel. The text
// area is those pixels grown by 2 pixels in every direction (a 5 x 5 square),
// which takes in anti-aliasing and hinting at the glyphs' edges. Outside it, a
// page pixel must equal the Linux pixel exactly, alpha included.
import { encodePng } from "./png.mjs";

export const GROW = 2;

// The text area of a picture: 1 where a pixel may differ, else 0.
export function textArea(reference, otherFonts) {
  const { width, height } = reference;
  const ink = new Uint8Array(width * height);
  for (let i = 0; i < ink.length; i++) ink[i] = reference.pixels[i] !== otherFonts.pixels[i] ? 1 : 0;
  // Grow rows, then columns: the same as a square of side 2 * GROW + 1.
  const grown = grow(ink, width, height, 1, width);
  return grow(grown, height, width, width, 1);
}

// Grow along one direction: `step` between neighbours, `stride` between lines.
function grow(area, length, lines, step, stride) {
  const out = new Uint8Array(area.length);
  for (let line = 0; line < lines; line++)
    for (let i = 0; i < length; i++) {
      if (!area[line * stride + i * step]) continue;
      for (let j = Math.max(0, i - GROW); j <= Math.min(length - 1, i + GROW); j++) out[line * stride + j * step] = 1;
    }
  return out;
}

// The pixels outside the text area where the page differs from Linux.
export function differences(reference, page, area) {
  if (reference.width !== page.width || reference.height !== page.height)
    return { count: 1, first: `the picture is ${page.width} x ${page.height}, on Linux ${reference.width} x ${reference.height}` };
  let count = 0, first;
  for (let i = 0; i < reference.pixels.length; i++) {
    if (area[i] || reference.pixels[i] === page.pixels[i]) continue;
    if (count++ === 0)
      first = `(${i % reference.width}, ${Math.floor(i / reference.width)}) is ${hex(page.pixels[i])}, ` +
        `on Linux ${hex(reference.pixels[i])}`;
  }
  return { count, first };
}

const hex = (p) => (p >>> 0).toString(16).padStart(8, "0").toUpperCase();

// Linux, the page and where they differ, side by side: in the third panel a
// differing pixel outside the text area is red, the text area is pale blue,
// and the rest is the Linux picture faded.
export function sideBySide(reference, page, area) {
  const { width, height } = reference;
  const gap = 4, out = { width: width * 3 + gap * 2, height, pixels: new Uint32Array((width * 3 + gap * 2) * height) };
  out.pixels.fill(0xff808080);
  for (let y = 0; y < height; y++)
    for (let x = 0; x < width; x++) {
      const i = y * width + x, row = y * out.width;
      const linux = reference.pixels[i], ours = page.pixels[y * page.width + x] ?? 0;
      out.pixels[row + x] = linux;
      out.pixels[row + width + gap + x] = ours;
      out.pixels[row + 2 * (width + gap) + x] =
        linux !== ours && !area[i] ? 0xffff0000 : area[i] ? 0xffc8dcff : faded(linux);
    }
  return encodePng(out);
}

function faded(p) {
  const mix = (shift) => Math.round((((p >>> shift) & 255) + 3 * 255) / 4) << shift;
  return (0xff000000 | mix(16) | mix(8) | mix(0)) >>> 0;
}

export function coverage(area) {
  return area.reduce((sum, v) => sum + v, 0) / area.length;
}
