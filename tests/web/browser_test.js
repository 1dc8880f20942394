// tests/web/browser_test.js: the web site in headless Chromium, played like a
// player: the menu shows, sound from the first key, a whole game by keys from
// the solution line the game prints, the score kept across a reload, a lost
// WebGL context restored, a key held as the page loses the focus, the page
// installable as an app that reloads offline with its scores, the MB left
// on a slow line, the menu fitted to other window shapes, a gamepad starts a
// game, a touch and a click pick dice, full screen by F11, a hidden tab runs
// no updates, two tabs of one profile keep both their games (one of them
// closed as its game ended), storage that throws is told on screen; on a
// phone, sound from a finger's tap, full screen by the options, back asking
// before it quits; and nothing goes to the console as an error.
// Usage: node browser_test.js URL
'use strict';
const {decode, share, band} = require('./png');
const {sleep, waitFor, checks, check, launch, menuBlue, white} = require('./support');

const url = process.argv[2];

// The menu's pictures (logo, chips, gear) have red in them; its backgrounds none.
const art = (r, g, b) => r > 0.6;
const shot = async page => decode(await page.screenshot({type: 'png'}));

const atMenu = async page => share(await shot(page), null, menuBlue) > 0.3;
const menuShows = page => waitFor(() => atMenu(page), 30000);

const updates = page => page.evaluate(() => Module._marvolet_updates());
async function passUpdates(page, count) {
  const start = await updates(page);
  await waitFor(async () => await updates(page) >= start + count, 20000, 15);
}
// The game reads keys as held or not at each update: a key is held, and
// then left up, for at least two updates, however slowly frames come.
async function hold(page, down, up) {
  await down();
  await passUpdates(page, 2);
  await up();
  await passUpdates(page, 2);
}
const tap = (page, key) => hold(page, () => page.keyboard.down(key), () => page.keyboard.up(key));

// The operator buttons sit two by two: + - over x /.
const kOperators = ['+', '-', '*', '/'];
async function pickOperator(page, from, to) {
  if ((to >> 1) !== (from >> 1)) await tap(page, to > 1 ? 'ArrowDown' : 'ArrowUp');
  if ((to & 1) !== (from & 1)) await tap(page, to & 1 ? 'ArrowRight' : 'ArrowLeft');
  await tap(page, 'Enter');
}

// The dice roll on for 19 updates after the solution line is printed.
const diceLanded = page => passUpdates(page, 20);

// Enters the dice of a solution line in order with its operators, or
// multiplies them all, which mostly gives a number above any on the card and
// loses a life. The cursor moves to the next free die by itself.
async function playTurn(page, solution, solve) {
  const ops = solution.match(/[-+*/]/g);
  await diceLanded(page);
  let cursor = 0;
  for (let k = 0; k < 5; ++k) {
    await tap(page, 'Enter');
    if (k === 4) break;
    const op = solve ? kOperators.indexOf(ops[k]) : 2;
    await pickOperator(page, cursor, op);
    cursor = op;
  }
}

// The rest of a game just started: two turns by the printed solution (a
// solution line comes as the dice come to rest), then misses until the lives
// are gone. The turns played once `over` shows, or 0 when it never does.
async function playGame(page, log, over) {
  for (let turn = 0; turn < 12; ++turn) {
    const seen = log.solutions.length;
    let ended = false;
    await waitFor(async () => log.solutions.length > seen || turn > 0 && (ended = await over(page)),
                  15000, 50);
    if (ended) return turn;
    if (log.solutions.length === seen) return 0;
    await playTurn(page, log.solutions[seen], turn < 2);
  }
  return 0;
}

function watch(page) {
  const log = {errors: [], warnings: [], solutions: [], bytes: 0, lines: []};
  page.on('console', m => {
    log.lines.push(m.text());
    if (/^[\d.]+([-+*/][\d.]+){4}=[\d.]+$/.test(m.text())) log.solutions.push(m.text());
    if (m.type() === 'error') log.errors.push(m.text());
    // The browser's own interventions come as 'warning', the page's as 'warn'.
    if (m.type() === 'warn' || m.type() === 'warning') log.warnings.push(m.text());
  });
  page.on('pageerror', e => log.errors.push(e.message));
  page.on('response', async r => {
    const length = Number(r.headers()['content-length']);
    log.bytes += Number.isFinite(length) ? length : 0;
  });
  return log;
}

// The share of the box's pixels that differ between a and b, leaving out
// those that differ between a and a2 (the menu's animation).
function differs(a, a2, b, box) {
  const [x0, y0, w, h] = box;
  const apart = (p, q, i) => Math.abs(p.pixels[i] - q.pixels[i]) +
                             Math.abs(p.pixels[i + 1] - q.pixels[i + 1]) > 60;
  let changed = 0;
  for (let y = y0; y < y0 + h; ++y) {
    for (let x = x0; x < x0 + w; ++x) {
      const i = (y * a.width + x) * 4;
      if (apart(a, b, i) && !apart(a, a2, i)) ++changed;
    }
  }
  return changed / (w * h);
}

// The box around the leftmost die: the first run of at least 20 columns,
// from the left, of the top third with more than 15 white pixels each
// (narrower white, such as an operator's sign, is passed over).
function firstDie(image) {
  const band = Math.floor(image.height / 3);
  const whiteIn = x => {
    let n = 0;
    for (let y = 0; y < band; ++y) {
      const i = (y * image.width + x) * 4;
      if (white(image.pixels[i] / 255, image.pixels[i + 1] / 255, image.pixels[i + 2] / 255)) ++n;
    }
    return n;
  };
  let left = 0, right = 0;
  while (right - left < 20 && right < image.width) {
    left = right;
    while (left < image.width && whiteIn(left) <= 15) ++left;
    right = left;
    while (right < image.width && whiteIn(right) > 15) ++right;
  }
  let top = 0, bottom = 0, count = 0;
  for (let y = 0; y < band; ++y) {
    const i = (y * image.width + Math.floor((left + right) / 2)) * 4;
    if (white(image.pixels[i] / 255, image.pixels[i + 1] / 255, image.pixels[i + 2] / 255)) {
      if (!count++) top = y;
      bottom = y;
    }
  }
  return [left, top, Math.max(right - left, 1), Math.max(bottom - top + 1, 1)];
}

// The new tabs below are 800 x 600. The game-over overlay's yellow bar
// sweeps in from the left at 45% of the height.
async function overlayShows(page) {
  const strip = decode(await page.screenshot({type: 'png', clip: {x: 0, y: 267, width: 12, height: 6}}));
  return share(strip, null, (r, g, b) => r > 0.3 && Math.abs(r - g) < 0.1 && b < 0.75 * r) > 0.5;
}
// A notice's banner on the menu, above the dial and below the logo, with its
// amber warning sign at its left.
const amber = (r, g, b) => r > 0.85 && g > 0.6 && g < 0.85 && b < 0.35;
const noticeShown = async page => share(await shot(page), [0, 230, 120, 70], amber) > 0.002;
const noticeShows = page => waitFor(() => noticeShown(page), 10000, 100);

// The games counter and the nonzero last-ten scores of the three card types
// (tables of top and last ten interleaved, then a sum), as the tab stored them.
const stored = page => page.evaluate(() => {
  let values = [];
  try {
    values = FS.readFile('/state/.zorvexstate', {encoding: 'utf8'}).split('|').map(Number);
  } catch (e) {}
  return {games: values[20], last: values.slice(35, 98).filter((v, i) => i % 21 % 2 && v > 0)};
});

(async () => {
  const browser = await launch();
  try {
    // The launch's own profile (new and empty): Chromium installs no app from
    // an incognito one.
    const context = browser.defaultBrowserContext();
    const page = await context.newPage();
    await page.setViewport({width: 800, height: 600, hasTouch: true});
    const log = watch(page);
    const logs = [log];

    const opened = Date.now();
    await page.goto(url, {waitUntil: 'load'});
    check('the menu appears on the canvas', await menuShows(page));
    console.log(`time to menu: ${Date.now() - opened} ms; bytes before the menu: ${log.bytes}`);
    const fresh = await shot(page);
    await sleep(500);
    const fresh2 = await shot(page);

    // Browsers hold sound back until the first key: the game plays on silent
    // until then, and its music is heard from that key on.
    const sound = () => page.evaluate(() => [AL.currentCtx.audioCtx.state,
      Object.values(AL.currentCtx.sources).some(source => source.state === 0x1012 /* playing */)]);
    const silent = await sound();
    // A whole game: two turns by the printed solution, then misses until the lives are gone.
    await tap(page, 'Enter');
    const heard = await sound();
    check('sound starts with the first key, music playing', silent[0] === 'suspended' &&
          heard[0] === 'running' && heard[1], `before ${silent}, after ${heard}`);
    const turns = await playGame(page, log, atMenu);
    check('a whole game by keys ends back at the menu', turns > 0, `${turns} turns`);
    await sleep(1500);

    await page.reload({waitUntil: 'load'});
    await menuShows(page);
    const kept = await shot(page);
    // The score lists are in the right quarter of the menu.
    const changed = differs(fresh, fresh2, kept, [600, 0, 200, 600]);
    check('after a reload the game\'s score is in the list',
          changed > 0.001 && log.lines.includes('Highscores Loaded'), `${(changed * 100).toFixed(1)}% changed`);

    // The browser may take the WebGL context away at any time: the game
    // updates on, and once it is given back the menu is drawn whole again.
    await passUpdates(page, 60);
    const menu = await shot(page);
    await sleep(500);
    const menu2 = await shot(page);
    const whole = [0, 0, 800, 600];
    // The extension is kept: a lost context gives none.
    const loseContext = lose => page.evaluate(lose => {
      window.loser ??= canvas.getContext('webgl').getExtension('WEBGL_lose_context');
      if (lose) loser.loseContext(); else loser.restoreContext();
    }, lose);
    await loseContext(true);
    const lostAt = await updates(page);
    await passUpdates(page, 30);
    const updatedLost = await updates(page) >= lostAt + 30;
    await loseContext(false);
    let restored = 1;
    await waitFor(async () => (restored = differs(menu, menu2, await shot(page), whole)) < 0.02, 10000);
    check('a lost WebGL context restored shows the menu again; updates go on meanwhile',
          updatedLost && restored < 0.02, `updated while lost ${updatedLost}, ${(restored * 100).toFixed(1)}% differ`);

    // A key held as the page loses the focus to another window, which takes
    // the key-up, is let go: while held, the menu would take no other key.
    // The dial's chips and the line under them, which dim while the gear
    // has the focus (the gear itself turns, so it is left out).
    const dial = [150, 280, 350, 310];
    await page.keyboard.down('ArrowLeft');
    await passUpdates(page, 2);
    const atGear = differs(menu, menu2, await shot(page), dial);
    await page.evaluate(() => window.dispatchEvent(new Event('blur')));
    await passUpdates(page, 2);
    await tap(page, 'ArrowRight');
    await sleep(500);
    const backAtDial = differs(menu, menu2, await shot(page), dial);
    await page.keyboard.up('ArrowLeft');
    check('a key held as the page loses the focus is let go', atGear > 0.05 && backAtDial < 0.01,
          `${(atGear * 100).toFixed(2)}% differ at the gear, ${(backAtDial * 100).toFixed(2)}% back at the dial`);

    // An app: Chromium finds nothing against installing it, and once its
    // service worker controls the page and keeps every file the page loaded,
    // a reload offline with the browser's own cache emptied plays from it.
    const keptAll = () => page.evaluate(async () => {
      const names = performance.getEntriesByType('resource').map(entry => entry.name)
          .filter(name => name.startsWith(location.origin) && !name.endsWith('service-worker.js'));
      const found = await Promise.all(names.map(name => caches.match(name)));
      return navigator.serviceWorker.controller !== null && names.length > 4 && found.every(Boolean);
    });
    const cached = await waitFor(keptAll, 30000);
    const cdp = await page.createCDPSession();
    const {installabilityErrors} = await cdp.send('Page.getInstallabilityErrors');
    check('Chromium finds nothing against installing the page as an app',
          installabilityErrors.length === 0, JSON.stringify(installabilityErrors));
    const online = await stored(page);
    await cdp.send('Network.clearBrowserCache');
    await page.setOfflineMode(true);
    await page.reload({waitUntil: 'load'});
    const offlineMenu = await menuShows(page);
    // Past the page's fetch of the other levels, 5 s after the start.
    await sleep(6000);
    const offline = await stored(page);
    await page.setOfflineMode(false);
    check('offline, a reload plays from what the service worker kept, the scores intact',
          cached && offlineMenu && offline.last.length > 0 && JSON.stringify(offline) === JSON.stringify(online),
          `kept ${cached}, menu ${offlineMenu}, ${JSON.stringify(online)} -> ${JSON.stringify(offline)}`);

    // On a 4 Mbit/s line the loading bar counts down the MB still to come.
    const slow = await browser.createBrowserContext();
    const loading = await slow.newPage();
    const slowLog = watch(loading);
    await (await loading.createCDPSession()).send('Network.emulateNetworkConditions',
        {offline: false, latency: 40, downloadThroughput: 5e5, uploadThroughput: 5e5});
    await loading.goto(url, {waitUntil: 'domcontentloaded'});
    const toGo = () => loading.$eval('#left', e => e.textContent);
    const megabytes = [];
    await waitFor(async () => {
      const m = /^(\d+\.\d) MB to go$/.exec(await toGo());
      if (m && Number(m[1]) !== megabytes[megabytes.length - 1]) megabytes.push(Number(m[1]));
      return megabytes.length >= 3;
    }, 15000, 250);
    check('on a slow line the loading bar says how many MB are left',
          megabytes.length >= 3 && megabytes[0] > 1 && megabytes[0] < 4 && megabytes.every((v, i) => !i || v < megabytes[i - 1]),
          megabytes.join(', '));
    // What only a game in play uses comes after the menu: a game asked for at
    // once waits on the menu, never blank, and starts with its tune once that is in.
    await waitFor(() => atMenu(loading), 30000, 100);
    const arriving = await loading.evaluate(() => Module.marvoletDataArriving());
    await tap(loading, 'Enter');
    const askedAt = Date.now();
    // The least menu blue while the data was on its way, and the least of
    // anything but black in all frames until the game began.
    let leastBlue = 1, leastDrawn = 1, waits = 0;
    const black = (r, g, b) => r + g + b < 0.05;
    const started = await waitFor(async () => {
      if (slowLog.solutions.length > 0) return true;
      const waiting = await loading.evaluate(() => Module.marvoletDataArriving());
      const image = await shot(loading);
      if (waiting) {
        ++waits;
        leastBlue = Math.min(leastBlue, share(image, null, menuBlue));
      }
      leastDrawn = Math.min(leastDrawn, 1 - share(image, null, black));
      return false;
    }, 20000, 100);
    const tune = await loading.evaluate(() =>
      Object.values(AL.currentCtx.sources).some(source => source.state === 0x1012 /* playing */));
    check('on a slow line a game asked for at the menu waits there for its pictures and tune',
          arriving && waits >= 3 && leastBlue > 0.25 && leastDrawn > 0.5 && started && tune,
          `still arriving ${arriving}, ${waits} frames waited, menu blue at least ${leastBlue.toFixed(2)}, ` +
          `drawn at least ${leastDrawn.toFixed(2)}, started after ${Date.now() - askedAt} ms, tune ${tune}`);
    await slow.close();

    // 1920 x 1080 asks for the finest art, which the page fetches only then.
    for (const [width, height, ratio] of [[1920, 1080, 1], [450, 800, 2]]) {
      await page.setViewport({width, height, deviceScaleFactor: ratio, hasTouch: true});
      let seen = '';
      const fitted = await waitFor(async () => {
        const size = await page.evaluate(() => [canvas.width, canvas.height]);
        const image = await shot(page);
        const blue = share(image, null, menuBlue), red = share(image, null, art);
        seen = `canvas ${size.join(' x ')}, blue ${blue.toFixed(2)}, art ${red.toFixed(3)}`;
        return size[0] === width * ratio && size[1] === height * ratio && blue > 0.25 && red > 0.01;
      }, 15000);
      check(`the menu fills a ${width} x ${height} window at ${ratio} pixels per point`, fitted, seen);
    }

    await page.setViewport({width: 800, height: 600, hasTouch: true});
    await menuShows(page);
    // A new window size reloads the art, one picture set per update, and
    // the menu takes no input until it is done.
    await passUpdates(page, 60);
    // A pad plugged in now (the browser's standard mapping) starts a game by its A button.
    await page.evaluate(() => {
      const pad = {id: 'test pad', index: 0, connected: true, mapping: 'standard', timestamp: 1,
                   axes: [0, 0, 0, 0], buttons: []};
      for (let b = 0; b < 17; ++b) pad.buttons.push({pressed: false, touched: false, value: 0});
      window.testPad = pad;
      navigator.getGamepads = () => [pad, null, null, null];
    });
    const press = down => page.evaluate(down => {
      Object.assign(testPad.buttons[0], {pressed: down, touched: down, value: down ? 1 : 0});
      ++testPad.timestamp;
    }, down);
    await passUpdates(page, 2);
    const seen = log.solutions.length;
    await hold(page, () => press(true), () => press(false));
    check('a gamepad\'s A button starts a game', await waitFor(() => log.solutions.length > seen, 15000, 100));
    await diceLanded(page);
    // A finger picks the first die, "+" is taken by key, a click picks the next die.
    for (const [way, press] of [
      ['a touch', (x, y) => hold(page, () => page.touchscreen.touchStart(x, y), () => page.touchscreen.touchEnd())],
      ['a click', async (x, y) => {
        await tap(page, 'Enter');
        await page.mouse.move(x, y);
        await hold(page, () => page.mouse.down(), () => page.mouse.up());
      }]]) {
      const picture = await shot(page);
      const die = firstDie(picture);
      const before = share(picture, die, white);
      await press(die[0] + die[2] / 2, die[1] + die[3] / 2);
      await sleep(600);
      const after = share(await shot(page), die, white);
      check(`${way} picks the leftmost die, which slides away`, before > 0.4 && after < 0.1,
            `at ${die.join(', ')}: white before ${before.toFixed(2)}, after ${after.toFixed(2)}`);
    }

    // F11 belongs to the page: it toggles the browser's full screen.
    const fullScreen = tab => tab.evaluate(() => document.fullscreenElement !== null);
    await tap(page, 'F11');
    const byKey = await waitFor(() => fullScreen(page), 3000, 50);
    await tap(page, 'F11');
    const leftByKey = await waitFor(async () => !await fullScreen(page), 3000, 50);
    check('F11 turns full screen on and off', byKey && leftByKey);

    const other = await context.newPage();
    await other.bringToFront();
    await waitFor(() => page.evaluate(() => document.visibilityState === 'hidden'), 5000, 50);
    await sleep(100);
    const hiddenAt = await updates(page);
    await sleep(1000);
    const hiddenLater = await updates(page);
    await page.bringToFront();
    // Half a second of updates, however slowly a busy machine gives frames.
    let shown = 0;
    await waitFor(async () => (shown = await updates(page)) > hiddenLater + 30, 10000, 100);
    check('a hidden tab runs no updates, a shown one resumes',
          hiddenLater === hiddenAt && shown > hiddenLater + 30,
          `${hiddenAt} -> ${hiddenLater} hidden, ${shown} shown`);

    // A tab of its own in a profile, at the menu; `prepare` runs in the page first.
    const openTab = async (profile, prepare) => {
      const tab = await profile.newPage();
      await tab.setViewport({width: 800, height: 600});
      logs.push(watch(tab));
      if (prepare) await tab.evaluateOnNewDocument(prepare);
      await tab.goto(url, {waitUntil: 'load'});
      await tab.bringToFront();
      await menuShows(tab);
      return [tab, logs[logs.length - 1]];
    };

    // Tabs of one profile share its storage. The first saves; the second says
    // it does not, until the first closes (here within moments of its game's
    // end), and then adds its own game to what the first stored.
    const profile = await browser.createBrowserContext();
    const [first, firstLog] = await openTab(profile);
    const [second, secondLog] = await openTab(profile);
    check('a second tab says that it does not save', await noticeShows(second));
    await tap(second, 'Enter');
    const secondTurns = await playGame(second, secondLog, atMenu);
    const beforeFirst = await stored(second);
    await first.bringToFront();
    await menuShows(first);
    await tap(first, 'Enter');
    // Closed at once when the game-over overlay shows: the menu would record
    // the game only 90 updates later.
    const firstTurns = await playGame(first, firstLog, overlayShows);
    await first.close();
    const mayNowSave =
        await waitFor(() => second.evaluate(() => Module.marvoletMaySave?.() === true), 10000, 50);
    const afterFirst = await stored(second);
    check('a tab closed as its game ended kept that game',
          firstTurns > 0 && mayNowSave && afterFirst.games === beforeFirst.games + 1 &&
          afterFirst.last.length === beforeFirst.last.length + 1,
          `${firstTurns} turns; ${JSON.stringify(beforeFirst)} -> ${JSON.stringify(afterFirst)}`);
    await second.close();
    // The next tab's storage throws, as a full one does, from the game's next save on.
    const [third, thirdLog] = await openTab(profile, () => {
      const full = () => { throw new DOMException('No room', 'QuotaExceededError'); };
      Storage.prototype.setItem = IDBObjectStore.prototype.put = full;
    });
    const both = await stored(third);
    check('two tabs that each finished a game both kept it',
          secondTurns > 0 && both.games === 2 && both.last.length === 2, JSON.stringify(both));
    const quiet = !await noticeShown(third);
    // A game that hides saves.
    await (await profile.newPage()).bringToFront();
    await waitFor(() => third.evaluate(() => document.visibilityState === 'hidden'), 5000, 50);
    await third.bringToFront();
    const warned = what => thirdLog.lines.some(line => line.includes(what));
    check('storage that is full shows a notice on screen, and the console says why',
          quiet && await noticeShows(third) && warned('not kept in localStorage') &&
          warned('not stored in IndexedDB'));
    await profile.close();

    // A phone, by finger and keys. As on a real phone, the start of a touch
    // may not start the sound (the end does), and no touch draws a warning,
    // not even one the browser cannot cancel (as while it scrolls).
    const phone = await browser.createBrowserContext();
    const mobile = await phone.newPage();
    await mobile.setViewport({width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true});
    const phoneLog = watch(mobile);
    logs.push(phoneLog);
    await mobile.evaluateOnNewDocument(() => {
      const resume = AudioContext.prototype.resume;
      AudioContext.prototype.resume = function () {
        return window.event?.type === 'touchstart' ? Promise.resolve() : resume.call(this);
      };
      // Chrome warns so of real touches only; the made-up ones below are not.
      const cancel = Event.prototype.preventDefault;
      Event.prototype.preventDefault = function () {
        if (!this.cancelable && this instanceof TouchEvent) console.warn(`cancelled a ${this.type} with cancelable=false`);
        cancel.call(this);
      };
    });
    await mobile.goto(url, {waitUntil: 'load'});
    await menuShows(mobile);
    const warnedSoFar = phoneLog.warnings.length;
    const finger = (x, y) => hold(mobile, () => mobile.touchscreen.touchStart(x, y),
                                  () => mobile.touchscreen.touchEnd());
    await finger(195, 60);  // the logo, which does nothing
    const tapHeard = await waitFor(() => mobile.evaluate(() => AL.currentCtx.audioCtx.state === 'running'), 3000, 50);
    await mobile.evaluate(() => {
      const touch = new Touch({identifier: 9, target: canvas, clientX: 195, clientY: 60});
      for (const type of ['touchstart', 'touchmove', 'touchend']) {
        canvas.dispatchEvent(new TouchEvent(type, {cancelable: false, bubbles: true,
            touches: type === 'touchend' ? [] : [touch], changedTouches: [touch]}));
      }
    });
    await passUpdates(mobile, 2);
    const touchWarnings = phoneLog.warnings.slice(warnedSoFar);
    check('a finger\'s tap alone starts the sound, and no touch draws a warning',
          tapHeard && touchWarnings.length === 0, [`sound ${tapHeard}`, ...touchWarnings.slice(0, 2)].join(' | '));

    // The options' screen-mode row (the gear, then past sound and music)
    // enters full screen by a key; the browser leaving it shows the row as before.
    for (const key of ['ArrowLeft', 'Enter']) await tap(mobile, key);
    await passUpdates(mobile, 40);
    for (let row = 0; row < 3; ++row) await tap(mobile, 'ArrowDown');
    const windowed = await shot(mobile);
    const row = band(windowed, (r, g, b) => r < 0.35 && g > 0.4 && Math.abs(g - b) < 0.1, 0.5);
    const rowChange = async () => row ? differs(windowed, windowed, await shot(mobile), row) : 1;
    await tap(mobile, 'Enter');
    const entered = await waitFor(() => fullScreen(mobile), 3000, 50);
    const whileFull = await rowChange();
    await mobile.evaluate(() => document.exitFullscreen());
    const left = await waitFor(async () => !await fullScreen(mobile), 3000, 50);
    await passUpdates(mobile, 2);
    const afterFull = await rowChange();
    check('the options\' screen-mode row enters full screen and follows the browser out of it',
          entered && left && whileFull > 0.02 && afterFull < 0.005,
          `row ${row}: ${whileFull.toFixed(3)} changed in full screen, ${afterFull.toFixed(3)} after`);

    // Back on the menu asks first: "Keep playing" goes back to the menu,
    // "Quit" ends the game and the page thanks the player. The buttons take
    // a fingertip (44 CSS pixels).
    await tap(mobile, 'Escape');
    await passUpdates(mobile, 40);
    const quitPrompt = async () => {
      await tap(mobile, 'Escape');
      let quit = null, keep = null;
      await waitFor(async () => {
        const image = await shot(mobile);
        quit = band(image, (r, g, b) => r > 0.55 && g < 0.25 && b < 0.25, 0.2);
        keep = band(image, (r, g, b) => r + g < 0.1 && b > 0.4, 0.2);
        return quit && keep;
      }, 5000);
      return [quit, keep].map(box => box && [(box[0] + box[2] / 2) / 3, (box[1] + box[3] / 2) / 3,
                                             Math.min(box[2], box[3]) / 3]);
    };
    const ended = () => mobile.$eval('#message', e => e.style.display === 'block' ? e.innerText : '');
    const [, keep] = await quitPrompt();
    const asked = keep && keep[2] >= 44 && await ended() === '';
    if (keep) await finger(keep[0], keep[1]);
    const resumed = await menuShows(mobile);
    await passUpdates(mobile, 20);
    const [quit] = await quitPrompt();
    if (quit) await finger(quit[0], quit[1]);
    let thanks = '';
    await waitFor(async () => (thanks = await ended()) !== '', 5000);
    check('back on the menu opens the quit prompt; "Keep playing" returns to the menu, "Quit" thanks the player',
          asked && resumed && quit && quit[2] >= 44 && /^Thank you for playing[^]*Play again$/.test(thanks),
          `keep ${keep}, menu ${resumed}, quit ${quit}, then "${thanks}"`);
    await phone.close();

    const errors = [].concat(...logs.map(l => l.errors));
    check('no console error or uncaught exception', errors.length === 0, errors.slice(0, 3).join(' | '));
  } finally {
    await browser.close();
  }
  process.exit(checks.failures ? 1 : 0);
})().catch(error => {
  console.log(`FAILED - ${error.stack}`);
  process.exit(1);
});
