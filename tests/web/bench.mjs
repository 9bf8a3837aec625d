// The browser edition's budgets, measured in headless Chromium and printed as
// table rows for tools/bench.sh; nothing here passes or fails.
//   first frame: window.morlu.firstFrameMs, the time from the start of the
//     page's navigation to the graphics canvas's first picture, for each page,
//     the median of five loads, each in a fresh context;
//   idle: how busy the main thread is over 2 s in a page whose program waits
//     for input (typewriter) and in the demo halted from its Run menu.
// Usage: node bench.mjs PAGE...   (MORLU_PAGES says where the pages are)
import { closeBrowser, openPage, settings } from "./browser.mjs";
import { mainThreadUse, percent } from "./idle.mjs";
import { chooseFromMenu, waitForStill } from "./live.mjs";

settings.optimisedWasm = true;

const LOADS = 5;
const median = (values) => values.sort((a, b) => a - b)[values.length >> 1];

async function firstFrame(name) {
  const times = [];
  for (let i = 0; i < LOADS; i++) {
    const { page, close } = await openPage(name);
    times.push(await page.waitForFunction(() => window.morlu.firstFrameMs, { timeout: 20_000 }).then((h) => h.jsonValue()));
    await close();
  }
  return median(times);
}

async function idle(name, halt) {
  const { page, close } = await openPage(name);
  await page.waitForFunction(() => window.morlu.firstFrameMs !== undefined);
  if (halt) await chooseFromMenu(page, 2);
  await waitForStill(page);
  const use = await mainThreadUse(page, 2000);
  await close();
  return `${percent(use.task)} of one core (scripts ${percent(use.script)})`;
}

try {
  const frames = [];
  for (const name of process.argv.slice(2)) frames.push(`${name} ${Math.round(await firstFrame(name))} ms`);
  console.log(`| Browser edition: first frame after the page starts loading, headless Chromium (median of ${LOADS}) | ≤ 1 s | ${frames.join(", ")} |`);
  console.log(`| Browser edition: CPU of a page waiting for input (typewriter), main thread over 2 s | ≈ 0 % | ${await idle("typewriter", false)} |`);
  console.log(`| Browser edition: CPU of the demo halted from its Run menu, main thread over 2 s | ≈ 0 % | ${await idle("bugs", true)} |`);
} finally {
  await closeBrowser();
}
