// tests/web/phone_test.js: the site on a phone emulated in headless Chromium
// (390 x 844 CSS pixels at 3 device pixels each, touch only), played by taps:
// the gallery, a whole game with the pause menu and the options box, dice
// picked by a tap at their drawn edge, the dial turned by a slow drag, the
// game inside the safe area of a phone with a notch, and a turn to landscape
// on a slow line that never shows a frame without dice.
// Usage: node phone_test.js URL [SHOTS-FOLDER]
// With a folder it also leaves there the pictures of the README: the menu
// and a game upright, and a game on its side.
'use strict';
const {decode, share} = require('./png');
const {sleep, waitFor, checks, check, launch, menuBlue, white} = require('./support');

const url = process.argv[2];
const shots = process.argv[3];

const upright = {width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true};
const onItsSide = {...upright, width: 844, height: 390};
// Screenshots in CSS pixels: a third of the device's, quicker to read.
const shot = async page => {
  const {width, height} = page.viewport();
  return decode(await page.screenshot({type: 'png', clip: {x: 0, y: 0, width, height, scale: 1 / 3}}));
};

const pink = (r, g, b) => r > 0.75 && g < 0.6 && b > 0.5 && b < 0.85 && r - g > 0.3;
const green = (r, g, b) => g > 0.5 && r < 0.35 && b < 0.45;
const orange = (r, g, b) => r > 0.5 && g > 0.22 && g < 0.5 && b < 0.15;
const purple = (r, g, b) => b > 0.3 && r > 0.12 && r < 0.35 && g < 0.2;
const atMenu = async page => share(await shot(page), null, menuBlue) > 0.3;
const keep = async (page, name) => {
  if (shots) await page.screenshot({path: `${shots}/${name}.png`});
};

// The centre of the pixels passing `test` inside the box, or null.
function centre(image, [x0, y0, w, h], test) {
  let sx = 0, sy = 0, n = 0;
  for (let y = y0; y < y0 + h; ++y) {
    for (let x = x0; x < x0 + w; ++x) {
      const i = (y * image.width + x) * 4;
      if (test(image.pixels[i] / 255, image.pixels[i + 1] / 255, image.pixels[i + 2] / 255)) {
        sx += x; sy += y; ++n;
      }
    }
  }
  return n > 20 ? [sx / n, sy / n] : null;
}

// The dice in the band from y0 to y1: runs of at least 20 columns that each
// hold more than 4 white pixels (a column through six pips holds few), as
// [left, right, top, bottom].
function dice(image, y0, y1) {
  const whiteAt = (x, y) => {
    const i = (y * image.width + x) * 4;
    return white(image.pixels[i] / 255, image.pixels[i + 1] / 255, image.pixels[i + 2] / 255);
  };
  const found = [];
  for (let x = 0; x < image.width;) {
    const column = c => { let n = 0; for (let y = y0; y < y1; ++y) n += whiteAt(c, y); return n; };
    if (column(x) <= 4) { ++x; continue; }
    const left = x;
    while (x < image.width && column(x) > 4) ++x;
    if (x - left < 20) continue;
    const mid = (left + x) >> 1;
    let top = y1, bottom = y0;
    for (let y = y0; y < y1; ++y) if (whiteAt(mid, y)) { top = Math.min(top, y); bottom = y; }
    found.push([left, x - 1, top, bottom]);
  }
  return found;
}

async function tapAt(page, x, y) {
  await page.touchscreen.touchStart(x, y);
  await sleep(120);
  await page.touchscreen.touchEnd();
  await sleep(250);
}

(async () => {
  const browser = await launch();
  const errors = [];
  const watch = page => {
    page.on('console', m => { if (m.type() === 'error' || m.type() === 'warning') errors.push(m.text()); });
    page.on('pageerror', e => errors.push(e.message));
  };
  try {
    const page = await browser.newPage();
    watch(page);
    await page.setViewport(upright);
    await page.goto(url, {waitUntil: 'load'});
    check('the menu shows on an upright phone', await waitFor(() => atMenu(page), 30000));
    await sleep(1500);

    await keep(page, 'phone-menu');
    // The medal in the top left corner opens the gallery; its back medal closes it.
    await tapAt(page, 30, 30);
    const galleryOpen = await waitFor(async () => share(await shot(page), null, purple) > 0.3, 5000);
    await tapAt(page, 0.61 * (50 + 36 + 10), 0.61 * 42);
    const galleryShut = await waitFor(() => atMenu(page), 5000);
    check('a tap on the medal opens the gallery and one on its back medal closes it',
          galleryOpen && galleryShut);

    // A slow drag on the dial, a move every other frame, from the big chip
    // along the ring: the chip that comes to rest there has another colour.
    const chipBox = [60, 620, 140, 140];
    // The chips are orange (10), green (15) and red (5): red less green tells them apart.
    const warmth = image => {
      let sum = 0;
      const [x0, y0, w, h] = chipBox;
      for (let y = y0; y < y0 + h; ++y) {
        for (let x = x0; x < x0 + w; ++x) {
          const i = (y * image.width + x) * 4;
          sum += (image.pixels[i] - image.pixels[i + 1]) / 255;
        }
      }
      return sum / (w * h);
    };
    const chipBefore = await shot(page);
    await page.touchscreen.touchStart(98, 690);
    for (let step = 1; step <= 30; ++step) {
      const angle = -0.4 + step * 0.035;
      await page.touchscreen.touchMove(30 + 140 * Math.cos(angle), 780 + 140 * Math.sin(angle) - 60);
      await sleep(35);
    }
    await page.touchscreen.touchEnd();
    await sleep(1500);
    const before = warmth(chipBefore), after = warmth(await shot(page));
    check('a slow drag turns the dial to another card', Math.abs(before - after) > 0.05,
          `red less green ${before.toFixed(2)} before, ${after.toFixed(2)} after`);

    // The play button, green in the bottom right, starts a game.
    const menu = await shot(page);
    const play = centre(menu, [300, 700, 90, 144], green);
    if (play) await tapAt(page, play[0], play[1]);
    const diceBand = [40, 120];
    const diceShow = async () => dice(await shot(page), ...diceBand).length === 5;
    check('a tap on the play button starts a game', play && await waitFor(diceShow, 10000), `${play}`);

    // Pause by its button, open the options by the gear, close them, resume.
    await sleep(1500);
    await keep(page, 'phone-game');
    await tapAt(page, 27, 27);
    // Each waits for the screen before to finish sliding in.
    const paused = await waitFor(async () => share(await shot(page), null, white) < 0.05, 3000);
    await sleep(1000);
    await tapAt(page, 0.61 * 68, 0.61 * 296);
    const options = await waitFor(async () => share(await shot(page), null, orange) > 0.3, 3000);
    await sleep(1000);
    await tapAt(page, 0.61 * 100, 0.61 * 60);
    const shut = await waitFor(async () => share(await shot(page), null, orange) < 0.1, 3000);
    await sleep(1000);
    await tapAt(page, 0.61 * 68, 0.61 * 196);
    const resumed = await waitFor(diceShow, 5000);
    check('the pause button, the options gear and back, and resume all work by taps',
          paused && options && shut && resumed, `${paused} ${options} ${shut} ${resumed}`);

    // Each turn: a die tapped 3 pixels inside its drawn edge, then times, and
    // so on; the product is mostly off the card and costs a life.
    let edgeTaps = 0, edgePicks = 0, turns = 0, times = null;
    for (; turns < 10 && !await atMenu(page); ++turns) {
      if (!await waitFor(diceShow, 15000)) break;
      await sleep(1300);
      for (let k = 0; k < 5; ++k) {
        const image = await shot(page);
        const found = dice(image, ...diceBand);
        if (!found.length) break;
        const [left, , top, bottom] = found[0];
        ++edgeTaps;
        await tapAt(page, left + 3, (top + bottom) / 2);
        await sleep(400);
        if (dice(await shot(page), ...diceBand).length === found.length - 1) ++edgePicks;
        if (k === 4) break;
        // Found while no cursor ring lies over it; the calculator stays put.
        times = times || centre(await shot(page), [0, 600, 390, 244], pink);
        if (times) await tapAt(page, times[0], times[1]);
      }
      await waitFor(async () => await atMenu(page) || dice(await shot(page), ...diceBand).length < 5, 3000);
      await waitFor(async () => await atMenu(page) || await diceShow(), 8000);
    }
    check('a tap 3 pixels inside a die\'s drawn edge picks it', edgeTaps >= 5 && edgePicks === edgeTaps,
          `${edgePicks} of ${edgeTaps}`);
    check('a whole game by taps ends back at the menu', await waitFor(() => atMenu(page), 15000),
          `${turns} turns`);

    // A phone with a notch and a home bar: the game keeps inside the safe area.
    const cdp = await page.createCDPSession();
    await cdp.send('Emulation.setSafeAreaInsetsOverride', {insets: {top: 47, bottom: 34}});
    let rect = null;
    const inset = await waitFor(async () => {
      rect = await page.evaluate(() => {
        const r = canvas.getBoundingClientRect();
        return [r.top, r.bottom, canvas.width, canvas.height];
      });
      return rect[0] === 47 && rect[1] === 844 - 34 && rect[3] === 3 * (844 - 47 - 34);
    }, 5000);
    await sleep(1000);
    const framed = await shot(page);
    const black = (r, g, b) => r + g + b < 0.05;
    check('the game keeps clear of the notch and the home bar',
          inset && share(framed, [0, 0, 390, 47], black) > 0.99 &&
          share(framed, [0, 47, 390, 763], menuBlue) > 0.3, JSON.stringify(rect));
    await cdp.send('Emulation.setSafeAreaInsetsOverride', {insets: {}});

    // On a slow line, a game turned to landscape keeps its dice on every
    // frame while the finer art downloads.
    const slow = await browser.createBrowserContext();
    const phone = await slow.newPage();
    watch(phone);
    await phone.setViewport(upright);
    await (await phone.createCDPSession()).send('Network.emulateNetworkConditions',
        {offline: false, latency: 40, downloadThroughput: 5e5, uploadThroughput: 5e5});
    await phone.goto(url, {waitUntil: 'load'});
    await waitFor(() => atMenu(phone), 60000);
    await sleep(1000);
    const start = centre(await shot(phone), [300, 700, 90, 144], green);
    if (start) await tapAt(phone, start[0], start[1]);
    await waitFor(async () => dice(await shot(phone), ...diceBand).length === 5, 10000);
    // Turned once the dice are at rest (turning, they can hide one another).
    await sleep(1500);
    // The upright level is 2; on its side the phone needs level 4, not here yet.
    await phone.setViewport(onItsSide);
    let frames = 0, bare = 0;
    for (const end = Date.now() + 4000; Date.now() < end; ++frames) {
      if (dice(await shot(phone), 0, 90).length < 5) ++bare;
    }
    await keep(phone, 'phone-side');
    check('turned on a slow line, every frame shows the dice', frames > 5 && bare === 0,
          `${bare} of ${frames} frames without five dice`);
    await slow.close();

    check('no console error or warning', errors.length === 0, errors.slice(0, 3).join(' | '));
  } finally {
    await browser.close();
  }
  process.exit(checks.failures ? 1 : 0);
})().catch(error => {
  console.log(`FAILED - ${error.stack}`);
  process.exit(1);
});
