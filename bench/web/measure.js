// bench/web/measure.js: the web site's figures in headless Chromium: at each
// detail level and on a phone, the bytes before the menu shows and the
// module's heap on the menu and in a game; the time until the menu shows;
// CPU of the browser over 10 s on the menu and 10 s in a game against a page
// that only clears a WebGL canvas every animation frame; the JS heap. Saves the menu at 640 x 480 to
// compare with the desktop's.
// Usage: bench/web/measure.sh [SITE-FOLDER] [MENU-PNG], or node measure.js URL [MENU-PNG]
// It borrows the browser tests' browser, helpers and PNG reader.
'use strict';
const fs = require('fs');
const path = require('path');
const webTests = path.join(__dirname, '../../tests/web');
const {decode, share} = require(path.join(webTests, 'png'));
const {sleep, launch, menuBlue} = require(path.join(webTests, 'support'));

const [url, menuFile] = process.argv.slice(2);
const tick = 100;  // clock ticks per second of /proc's times

// CPU seconds of the browser and all its processes (renderer, GPU, utility).
function cpuSeconds(root) {
  const parent = {}, used = {};
  for (const pid of fs.readdirSync('/proc').filter(name => /^\d+$/.test(name))) {
    try {
      const fields = fs.readFileSync(`/proc/${pid}/stat`, 'utf8').replace(/^.*\) /, '').split(' ');
      parent[pid] = fields[1];
      used[pid] = Number(fields[11]) + Number(fields[12]);
    } catch (e) { /* ended meanwhile */ }
  }
  const inTree = pid => pid === String(root) || (parent[pid] && parent[pid] !== '1' && inTree(parent[pid]));
  return Object.keys(used).filter(inTree).reduce((sum, pid) => sum + used[pid], 0) / tick;
}

async function cpuOver(browser, seconds) {
  const before = cpuSeconds(browser.process().pid);
  await sleep(seconds * 1000);
  return cpuSeconds(browser.process().pid) - before;
}


// The game asks for what only a game in play uses from its menu's first
// update on: the requests made before that are the download before the
// menu; the play packages are counted apart, as `later`.
async function openMenu(browser, width, height, ratio = 1) {
  const page = await browser.newPage();
  await page.setViewport({width, height, deviceScaleFactor: ratio, isMobile: ratio > 1, hasTouch: ratio > 1});
  const bytes = {before: 0, later: 0};
  const early = new Set();
  let asked = false;
  page.on('request', r => {
    asked = asked || /data-play-/.test(r.url());
    if (!asked) early.add(r);
  });
  page.on('response', r => {
    const length = Number(r.headers()['content-length']) || 0;
    if (early.has(r.request())) bytes.before += length;
    if (/data-play-/.test(r.url())) bytes.later += length;
  });
  const start = Date.now();
  await page.goto(url, {waitUntil: 'load'});
  for (;;) {
    const image = decode(await page.screenshot({type: 'png'}));
    if (share(image, null, menuBlue) > 0.3) break;
    if (Date.now() - start > 30000) throw new Error('no menu');
    await sleep(50);
  }
  return {page, ms: Date.now() - start, bytes: bytes.before, counted: bytes};
}

const kFloor = `<!doctype html><canvas id=c width=800 height=600></canvas><script>
  const gl = document.getElementById('c').getContext('webgl');
  (function frame() { gl.clearColor(0, 0, 0.5, 1); gl.clear(gl.COLOR_BUFFER_BIT);
                      requestAnimationFrame(frame); })();
</script>`;

// Window sizes whose min(width, height x 4/3) x pixel ratio picks detail
// levels 1, 2 and 4, and a phone held upright and on its side.
const kLevelSizes = [[1, 600, 450, 1], [2, 800, 600, 1], [4, 1600, 1000, 1], [2, 390, 844, 3], [4, 844, 390, 3]];
const mb = b => (b / 1048576).toFixed(1);
const memory = page => page.evaluate(() => [Module.HEAP8.length, Module._marvolet_heap_in_use()]);
async function startGame(page) {
  await page.keyboard.down('Enter');
  await sleep(150);
  await page.keyboard.up('Enter');
}

(async () => {
  // The heap only grows: a fresh page for each shape.
  for (const [level, width, height, ratio] of kLevelSizes) {
    const browser = await launch();
    const {page, bytes, counted} = await openMenu(browser, width, height, ratio);
    await sleep(2000);
    const menu = await memory(page);
    await startGame(page);
    await sleep(4000);
    const game = await memory(page);
    console.log(`${width} x ${height} @${ratio} (level ${level}): bytes before the menu ${bytes}, ` +
                `play packages after it ${counted.later}; wasm heap / in use (MB): menu ${mb(menu[0])} / ${mb(menu[1])}, ` +
                `game ${mb(game[0])} / ${mb(game[1])}`);
    await browser.close();
  }
  const times = [];
  for (let run = 0; run < 3; ++run) {
    const browser = await launch();
    const {ms} = await openMenu(browser, 800, 600);
    times.push(ms);
    await browser.close();
  }
  times.sort((a, b) => a - b);
  console.log(`time to menu (ms, 3 runs, screenshots every 50 ms): ${times.join(', ')}; median ${times[1]}`);

  const browser = await launch();
  const floorPage = await browser.newPage();
  await floorPage.setViewport({width: 800, height: 600});
  await floorPage.setContent(kFloor);
  await sleep(2000);
  const floor = await cpuOver(browser, 10);
  await floorPage.close();

  const {page} = await openMenu(browser, 800, 600);
  await sleep(2000);
  const menu = await cpuOver(browser, 10);
  const jsHeap = () => page.evaluate(() => performance.memory ? performance.memory.usedJSHeapSize : 0);
  const menuMemory = await jsHeap();
  await startGame(page);
  await sleep(2000);
  const game = await cpuOver(browser, 10);
  const gameMemory = await jsHeap();
  console.log(`CPU s over 10 s: floor ${floor.toFixed(2)}, menu ${menu.toFixed(2)} (${(menu / floor).toFixed(2)}x), ` +
              `game ${game.toFixed(2)} (${(game / floor).toFixed(2)}x)`);
  console.log(`JS heap at 800 x 600 (MB): menu ${mb(menuMemory)}, game ${mb(gameMemory)}`);
  await page.close();

  if (menuFile) {
    const {page: small} = await openMenu(browser, 640, 480);
    await sleep(1500);
    await small.screenshot({path: menuFile});
  }
  await browser.close();
})().catch(error => { console.log(error.stack); process.exit(1); });
