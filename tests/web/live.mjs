// A live page driven as a user drives it: real mouse and keyboard events on
// the graphics canvas and the Run menu, and what the canvas shows.
import assert from "node:assert/strict";
import { readFile, writeFile } from "node:fs/promises";
import path from "node:path";
import { openPage, resultsFolder, runTapeInPage, settings } from "./browser.mjs";
import { sideBySide } from "./compare.mjs";
import { decodePng } from "./png.mjs";

export async function canvasPicture(page) {
  const url = await page.$eval("#morlu-graphics", (canvas) => canvas.toDataURL("image/png"));
  return decodePng(Buffer.from(url.slice(url.indexOf(",") + 1), "base64"));
}

export const samePicture = (a, b) =>
  a.width === b.width && a.height === b.height && a.pixels.every((p, i) => p === b.pixels[i]);

// Waits until `holds(picture)` for what the canvas shows; resolves to that
// picture, or to null after `timeout` ms.
export async function waitForPicture(page, holds, timeout = 5000) {
  const end = Date.now() + timeout;
  for (;;) {
    const picture = await canvasPicture(page);
    if (holds(picture)) return picture;
    if (Date.now() > end) return null;
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
}

// Waits until the canvas shows the same picture twice 300 ms apart (three
// ticks): the program has stopped drawing. Resolves to it, or to null when it
// still changes after 5 s.
export async function waitForStill(page) {
  let last = await canvasPicture(page);
  for (const end = Date.now() + 5000; Date.now() < end; ) {
    await new Promise((resolve) => setTimeout(resolve, 300));
    const now = await canvasPicture(page);
    if (samePicture(now, last)) return now;
    last = now;
  }
  return null;
}

export async function clickCanvas(page, x, y) {
  const box = await (await page.$("#morlu-graphics")).boundingBox();
  await page.mouse.click(box.x + x, box.y + y);
}

const KEYS = { enter: "Enter", escape: "Escape", backspace: "Backspace", space: "Space", tab: "Tab", delete: "Delete" };
const keyOf = (name) => KEYS[name] ?? (/^[a-z]$/.test(name) ? `Key${name.toUpperCase()}` : name);

// A tape's `key COMBO`: ctrl+r, ctrl+shift+a, enter.
export async function pressCombo(page, combo) {
  const parts = combo.toLowerCase().split("+");
  const modifiers = parts.slice(0, -1).map((m) => ({ ctrl: "Control", shift: "Shift", alt: "Alt" })[m]);
  for (const m of modifiers) await page.keyboard.down(m);
  await page.keyboard.press(keyOf(parts.at(-1)));
  for (const m of modifiers.reverse()) await page.keyboard.up(m);
}

// Types TEXT as a user on a US keyboard does, with Shift held for capitals
// and the shifted signs.
export async function typeText(page, text) {
  for (const ch of text) {
    const shifted = /[A-Z~!@#$%^&*()_+{}|:"<>?]/.test(ch);
    if (shifted) await page.keyboard.down("Shift");
    await page.keyboard.type(ch);
    if (shifted) await page.keyboard.up("Shift");
  }
}

// Chooses a Run menu item by mouse: the "Run" title, then the item.
export async function chooseFromMenu(page, command) {
  const title = await page.waitForSelector("#morlu-menu ::-p-text(Run)");
  await title.click();
  const item = await page.waitForSelector(`#morlu-menu [data-command="${command}"]`, { visible: true });
  await item.click();
}

// Performs a tape's clicks, typing and keys as real input; at each `snapshot
// NAME` waits until the canvas shows `pictures[NAME]`. Resolves to null, or to
// the first snapshot that never came and what the canvas showed instead. Tapes
// with `wait` depend on the virtual clock and are not played here.
export async function playTapeLive(page, tapeText, pictures) {
  await page.focus("#morlu-graphics");
  for (const raw of tapeText.split(/\r?\n/)) {
    const line = raw.replace(/(^|\s)#.*$/, "").trim();
    const [action, ...rest] = line.split(/\s+/);
    if (action === "click") await clickCanvas(page, Number(rest[0]), Number(rest[1]));
    else if (action === "type") await typeText(page, raw.trim().slice("type ".length));
    else if (action === "key") await pressCombo(page, rest[0]);
    else if (action === "wait") throw new Error("a tape with waits cannot be played live");
    else if (action === "snapshot") {
      const want = pictures[rest[0]];
      if (!(await waitForPicture(page, (now) => samePicture(now, want))))
        return { missed: rest[0], shown: await canvasPicture(page) };
    }
  }
  return null;
}

export const tapeOf = (name) => readFile(path.join(settings.root, "examples/tapes", `${name}.tape`), "utf8");
export const picturesOf = (result) =>
  Object.fromEntries(Object.entries(result.snapshots).map(([name, png]) => [name, decodePng(png)]));

// Plays an example's tape as real input and checks every snapshot against the
// same tape run in the page; when one never comes, writes it beside what the
// canvas showed. Resolves to the opened live page.
export async function playLive(name) {
  const tape = await tapeOf(name);
  const pictures = picturesOf(await runTapeInPage(name, tape));
  const opened = await openPage(name);
  const failed = await playTapeLive(opened.page, tape, pictures);
  if (failed) {
    const want = pictures[failed.missed], file = path.join(await resultsFolder(), `${name}-live-${failed.missed}`);
    await writeFile(file, sideBySide(want, failed.shown, new Uint8Array(want.pixels.length)));
    await opened.close();
    assert.fail(`real input never gave the tape's ${failed.missed}; ${file}: the tape's, the live page's, where they differ`);
  }
  assert.deepEqual(opened.errors, [], "the page threw");
  return opened;
}

