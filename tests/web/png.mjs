// PNG pictures as arrays of 0xAARRGGBB pixels, and back: enough of the format
// for the snapshots both editions write (8-bit grey, RGB, palette, grey with
// alpha, RGBA; not interlaced) and for the difference pictures the tests write.
import zlib from "node:zlib";

const SIGNATURE = Buffer.from([137, 80, 78, 71, 13, 10, 26, 10]);
const CHANNELS = { 0: 1, 2: 3, 3: 1, 4: 2, 6: 4 };

function chunks(bytes) {
  const found = [];
  for (let at = 8; at + 8 <= bytes.length; ) {
    const length = bytes.readUInt32BE(at);
    found.push({ type: bytes.toString("latin1", at + 4, at + 8), data: bytes.subarray(at + 8, at + 8 + length) });
    at += 12 + length;
  }
  return found;
}

function paeth(a, b, c) {
  const p = a + b - c;
  const pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
  return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

// Undo each row's filter in place; returns the raw rows, one after another.
function unfilter(data, rowBytes, height, bpp) {
  const out = Buffer.alloc(rowBytes * height);
  for (let y = 0; y < height; y++) {
    const type = data[y * (rowBytes + 1)];
    const src = data.subarray(y * (rowBytes + 1) + 1, (y + 1) * (rowBytes + 1));
    const row = out.subarray(y * rowBytes, (y + 1) * rowBytes);
    const up = y > 0 ? out.subarray((y - 1) * rowBytes, y * rowBytes) : Buffer.alloc(rowBytes);
    for (let i = 0; i < rowBytes; i++) {
      const a = i >= bpp ? row[i - bpp] : 0, b = up[i], c = i >= bpp ? up[i - bpp] : 0;
      const predicted = [0, a, b, (a + b) >> 1, paeth(a, b, c)][type];
      if (predicted === undefined) throw new Error(`PNG row filter ${type} is not one of 0-4`);
      row[i] = (src[i] + predicted) & 255;
    }
  }
  return out;
}

export function decodePng(bytes) {
  if (!bytes.subarray(0, 8).equals(SIGNATURE)) throw new Error("not a PNG file");
  const all = chunks(bytes);
  const header = all[0].data;
  const width = header.readUInt32BE(0), height = header.readUInt32BE(4);
  const [depth, colorType, , , interlace] = header.subarray(8, 13);
  const channels = CHANNELS[colorType];
  if (depth !== 8 || !channels || interlace !== 0)
    throw new Error(`PNG of depth ${depth}, colour type ${colorType}, interlace ${interlace} is not read here`);
  const palette = all.find((c) => c.type === "PLTE")?.data;
  const alphas = all.find((c) => c.type === "tRNS")?.data;
  const packed = zlib.inflateSync(Buffer.concat(all.filter((c) => c.type === "IDAT").map((c) => c.data)));
  const raw = unfilter(packed, width * channels, height, channels);
  const pixels = new Uint32Array(width * height);
  for (let i = 0; i < pixels.length; i++) {
    const p = raw.subarray(i * channels, (i + 1) * channels);
    let rgba;
    if (colorType === 0) rgba = [p[0], p[0], p[0], 255];
    else if (colorType === 2) rgba = [p[0], p[1], p[2], 255];
    else if (colorType === 3) rgba = [...palette.subarray(p[0] * 3, p[0] * 3 + 3), alphas?.[p[0]] ?? 255];
    else if (colorType === 4) rgba = [p[0], p[0], p[0], p[1]];
    else rgba = [p[0], p[1], p[2], p[3]];
    pixels[i] = ((rgba[3] << 24) | (rgba[0] << 16) | (rgba[1] << 8) | rgba[2]) >>> 0;
  }
  return { width, height, pixels };
}

const CRC_TABLE = Array.from({ length: 256 }, (_, n) => {
  for (let k = 0; k < 8; k++) n = n & 1 ? 0xedb88320 ^ (n >>> 1) : n >>> 1;
  return n >>> 0;
});
function crc32(bytes) {
  let crc = 0xffffffff;
  for (const b of bytes) crc = CRC_TABLE[(crc ^ b) & 255] ^ (crc >>> 8);
  return (crc ^ 0xffffffff) >>> 0;
}

function chunk(type, data) {
  const typed = Buffer.concat([Buffer.from(type, "latin1"), data]);
  const length = Buffer.alloc(4), crc = Buffer.alloc(4);
  length.writeUInt32BE(data.length);
  crc.writeUInt32BE(crc32(typed));
  return Buffer.concat([length, typed, crc]);
}

// An RGB PNG of a picture (alpha dropped): for the difference pictures.
export function encodePng({ width, height, pixels }) {
  const raw = Buffer.alloc((width * 3 + 1) * height);
  for (let y = 0; y < height; y++)
    for (let x = 0; x < width; x++) {
      const p = pixels[y * width + x], at = y * (width * 3 + 1) + 1 + x * 3;
      raw[at] = (p >>> 16) & 255;
      raw[at + 1] = (p >>> 8) & 255;
      raw[at + 2] = p & 255;
    }
  const header = Buffer.alloc(13);
  header.writeUInt32BE(width, 0);
  header.writeUInt32BE(height, 4);
  header.set([8, 2, 0, 0, 0], 8);
  return Buffer.concat([SIGNATURE, chunk("IHDR", header), chunk("IDAT", zlib.deflateSync(raw)), chunk("IEND", Buffer.alloc(0))]);
}
