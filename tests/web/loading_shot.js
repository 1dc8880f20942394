'use strict';
const puppeteer = require('puppeteer-core');
const url = process.argv[2];
const sleep = ms => new Promise(r => setTimeout(r, ms));
(async () => {
  const browser = await puppeteer.launch({executablePath: '/usr/bin/chromium', headless: true,
    args: ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader']});
  for (const [w, h, r, name] of [[800, 600, 1, 'desk'], [390, 844, 3, 'phone']]) {
    const ctx = await browser.createBrowserContext();
    const page = await ctx.newPage();
    await page.setViewport({width: w, height: h, deviceScaleFactor: r, isMobile: r > 1, hasTouch: r > 1});
    await (await page.createCDPSession()).send('Network.emulateNetworkConditions',
        {offline: false, latency: 40, downloadThroughput: 3e5, uploadThroughput: 3e5});
    await page.goto(url, {waitUntil: 'domcontentloaded'});
    for (let i = 0; i < 300; ++i) {
      if (await page.evaluate(() => typeof Module !== 'undefined' && Module.calledRun && Module._marvolet_updates() > 60)) break;
      await sleep(100);
    }
    await page.keyboard.down('Enter'); await sleep(100); await page.keyboard.up('Enter');
    await sleep(1500);
    await page.screenshot({path: `/tmp/shots/loading-${name}.png`});
    console.log(name, await page.evaluate(() => Module.marvoletDataArriving()));
    await ctx.close();
  }
  await browser.close();
})();
