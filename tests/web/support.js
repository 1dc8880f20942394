// tests/web/support.js: what the browser tests and the web benchmark share:
// the headless browser, checks and waiting, and the colours they look for.
'use strict';
const puppeteer = require('puppeteer-core');

const sleep = ms => new Promise(resolve => setTimeout(resolve, ms));

async function waitFor(test, ms, step = 200) {
  for (const end = Date.now() + ms; Date.now() < end; await sleep(step)) {
    if (await test()) return true;
  }
  return false;
}

// Prints each check as "ok" or "FAILED"; `checks.failures` counts the failed.
const checks = {failures: 0};
function check(name, ok, detail) {
  console.log(`${ok ? 'ok' : 'FAILED'} - ${name}${detail ? ` (${detail})` : ''}`);
  if (!ok) ++checks.failures;
  return ok;
}

const launch = () => puppeteer.launch({
  executablePath: '/usr/bin/chromium',
  headless: true,
  args: ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader'],
});

// The menu's blue background, as the desktop's window tests know it.
const menuBlue = (r, g, b) => r < 0.15 && g > 0.25 && g < 0.4 && b > 0.55 && b < 0.7;
const white = (r, g, b) => r > 0.85 && g > 0.85 && b > 0.85;

module.exports = {sleep, waitFor, checks, check, launch, menuBlue, white};
