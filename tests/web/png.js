// tests/web/png.js: reads the 8-bit RGB or RGBA, non-interlaced PNG files
// that the browser's screenshots are, into RGBA pixels.
'use strict';
const zlib = require('zlib');

function decode(buffer) {
  let width = 0, height = 0, channels = 0;
  const data = [];
  for (let at = 8; at < buffer.length;) {
    const length = buffer.readUInt32BE(at);
    const type = buffer.toString('latin1', at + 4, at + 8);
    const body = buffer.subarray(at + 8, at + 8 + length);
    if (type === 'IHDR') {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      if (body[8] !== 8 || body[12] !== 0) throw new Error('not an 8-bit, non-interlaced PNG');
      channels = {2: 3, 6: 4}[body[9]];
      if (!channels) throw new Error('not an RGB or RGBA PNG');
    } else if (type === 'IDAT') {
      data.push(body);
    }
    at += 12 + length;
  }
  const raw = zlib.inflateSync(Buffer.concat(data));
  const stride = width * channels;
  const rows = Buffer.alloc(stride * height);
  for (let y = 0; y < height; ++y) {
    const filter = raw[y * (stride + 1)];
    const line = raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
    for (let x = 0; x < stride; ++x) {
      const a = x >= channels ? rows[y * stride + x - channels] : 0;
      const b = y > 0 ? rows[(y - 1) * stride + x] : 0;
      const c = x >= channels && y > 0 ? rows[(y - 1) * stride + x - channels] : 0;
      let value = line[x];
      if (filter === 1) value += a;
      else if (filter === 2) value += b;
      else if (filter === 3) value += (a + b) >> 1;
      else if (filter === 4) {
        const p = a + b - c, pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
        value += pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
      }
      rows[y * stride + x] = value & 255;
    }
  }
  const pixels = Buffer.alloc(width * height * 4, 255);
  for (let i = 0; i < width * height; ++i) rows.copy(pixels, i * 4, i * channels, i * channels + 3);
  return {width, height, pixels};
}

// The share of pixels in the box (x, y, w, h) for which test(r, g, b) holds,
// channels from 0 to 1.
function share(image, box, test) {
  const [x0, y0, w, h] = box || [0, 0, image.width, image.height];
  let hits = 0;
  for (let y = y0; y < y0 + h; ++y) {
    for (let x = x0; x < x0 + w; ++x) {
      const i = (y * image.width + x) * 4;
      const p = image.pixels;
      if (test(p[i] / 255, p[i + 1] / 255, p[i + 2] / 255)) ++hits;
    }
  }
  return hits / (w * h);
}

// The box (x, y, w, h) of a wide bar of colour: of the pixels for which
// test(r, g, b) holds, those on rows where it holds for more than `least` of
// the width (odd pixels of that colour elsewhere are left out). Null if none.
function band(image, test, least) {
  let left = image.width, right = -1, top = -1, bottom = -1;
  for (let y = 0; y < image.height; ++y) {
    let first = -1, last = -1, hits = 0;
    for (let x = 0; x < image.width; ++x) {
      const i = (y * image.width + x) * 4;
      const p = image.pixels;
      if (!test(p[i] / 255, p[i + 1] / 255, p[i + 2] / 255)) continue;
      if (first < 0) first = x;
      last = x;
      ++hits;
    }
    if (hits <= least * image.width) continue;
    if (top < 0) top = y;
    bottom = y;
    left = Math.min(left, first);
    right = Math.max(right, last);
  }
  return top < 0 ? null : [left, top, right - left + 1, bottom - top + 1];
}

module.exports = {decode, share, band};
