// Live pages driven by real mouse and keyboard events: what a user does gives
// what the same actions on a tape give, the Run menu works by mouse, the Ctrl
// shortcuts reach the program and not the browser, and a halted page is idle.
import assert from "node:assert/strict";
import { writeFile } from "node:fs/promises";
import path from "node:path";
import { test } from "node:test";
import { openPage, pngOf, resultsFolder, runTapeInPage, storedScript } from "./browser.mjs";
import { sideBySide } from "./compare.mjs";
import { mainThreadUse, percent } from "./idle.mjs";
import {
  canvasPicture, chooseFromMenu, clickCanvas, picturesOf, playLive, pressCombo, samePicture, tapeOf, waitForPicture,
  waitForStill,
} from "./live.mjs";

for (const name of ["click_to_draw", "typewriter"]) {
  test(`${name}: real clicks and typed keys draw what the tape's do`, async () => {
    await (await playLive(name)).close();
  });
}

test("bugs: the Run menu by mouse, a panel button, typed keys and the Ctrl shortcuts reach the program; halted, the page is idle", async (t) => {
  const { page, errors, close } = await openPage("bugs");
  try {
    const prevented = await page.evaluateHandle(() => {
      const seen = [];
      window.addEventListener("keydown", (e) => e.ctrlKey && e.key.length === 1 && seen.push(`${e.key}:${e.defaultPrevented}`));
      return seen;
    });
    const checked = (id, value) =>
      page.waitForSelector(`#morlu-menu [data-command="${id}"][aria-checked="${value}"]`, { timeout: 5000 });
    const changes = async (from, what) => {
      const now = await waitForPicture(page, (p) => !samePicture(p, from));
      assert.ok(now, `${what} changed nothing`);
      return now;
    };
    const addBug = () => clickCanvas(page, 43, 142); // the "Add Bug" button

    await page.waitForFunction(() => window.morlu.firstFrameMs !== undefined);
    await chooseFromMenu(page, 2); // Halt animation
    const halted = await waitForStill(page);
    assert.ok(halted, "the bugs still move after Halt animation");
    await page.waitForFunction(() => window.morlu.halted(), { timeout: 5000 });
    const use = await mainThreadUse(page, 2000);
    t.diagnostic(`halted: main thread busy ${percent(use.task)} of ${use.seconds.toFixed(1)} s, scripts ${percent(use.script)}`);
    const after = await canvasPicture(page);
    if (!samePicture(after, halted)) {
      const file = path.join(await resultsFolder(), "bugs-live-halted.png");
      await writeFile(file, sideBySide(halted, after, new Uint8Array(after.pixels.length)));
      assert.fail(`the picture changed while halted; ${file}: before, after, where they differ`);
    }

    await page.focus("#morlu-graphics");
    await pressCombo(page, "ctrl+l");
    await checked(4, "true");
    let shown = halted;
    await addBug();
    shown = await changes(shown, "Add Bug");
    await pressCombo(page, "ctrl+f");
    shown = await changes(shown, "Ctrl+F (one frame)");
    await pressCombo(page, "ctrl+l");
    await checked(4, "false");

    // Recorded: the typed x and the click on Add Bug; played back, the click adds a bug again.
    await pressCombo(page, "ctrl+r");
    await checked(5, "true");
    await page.keyboard.type("x");
    await addBug();
    shown = await changes(shown, "Add Bug while recording");
    await pressCombo(page, "ctrl+r");
    await checked(5, "false");
    const script = await storedScript(page);
    assert.match(script ?? "", /MORLU_KBD\(120\);\r?\nMORLU_MOUSE\(-257, 108\);/, "the typed x and the click were not recorded");
    await pressCombo(page, "ctrl+p");
    shown = await changes(shown, "Ctrl+P (play back)");
    await checked(6, "false"); // the end of the script ends the playback

    await chooseFromMenu(page, 1); // Animate
    await changes(shown, "Animate");
    await page.focus("#morlu-graphics");
    await pressCombo(page, "ctrl+h");
    const again = await waitForStill(page);
    assert.ok(again, "the bugs still move after Ctrl+H");
    await pressCombo(page, "ctrl+a");
    await changes(again, "Ctrl+A");
    assert.equal(await page.evaluate(() => window.morlu.halted()), false, "halted() while the bugs move");
    await pressCombo(page, "ctrl+q");
    await page.waitForFunction(() => window.morlu.halted(), { timeout: 5000 });

    assert.deepEqual((await prevented.jsonValue()).filter((k) => k.endsWith(":false")), [],
      "Ctrl shortcuts the page left to the browser");
    assert.deepEqual(errors, [], "the page threw");
  } finally {
    await close();
  }
});

test("click_to_draw: PAGE.html#tape= runs the tape at load and shows what runTape gives", async () => {
  const tape = await tapeOf("click_to_draw");
  const want = await runTapeInPage("click_to_draw", tape);
  const { page, errors, close } = await openPage("click_to_draw", { hash: `#tape=${encodeURIComponent(tape)}` });
  try {
    const result = await page.waitForFunction(() => window.morlu.tapeResult, { timeout: 20_000 }).then((h) => h.jsonValue());
    assert.equal(result.status, want.status);
    assert.deepEqual(result.logs, want.logs);
    const shown = picturesOf({ snapshots: Object.fromEntries(Object.entries(result.snapshots).map(([k, v]) => [k, pngOf(v)])) });
    const expected = picturesOf(want);
    assert.deepEqual(Object.keys(shown), Object.keys(expected));
    for (const name of Object.keys(expected)) assert.ok(samePicture(shown[name], expected[name]), `${name} differs`);
    const images = await page.$$eval("#morlu-tape-result img", (all) => all.map((img) => img.src));
    assert.deepEqual(images.sort(), Object.values(result.snapshots).sort(), "the pictures shown are not the result's");
    const text = await page.$eval("#morlu-tape-result", (e) => e.textContent);
    for (const log of Object.values(want.logs)) assert.ok(text.includes(log.trim()), "the log is not shown");
    assert.deepEqual(errors, [], "the page threw");
  } finally {
    await close();
  }
});
