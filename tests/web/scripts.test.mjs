// MORLU.SCR across editions: a script recorded in the page by real input is
// the file Linux records for the same input, it downloads as that file, and
// Linux plays it back to the same picture; a script recorded on Linux loads
// into the page through its file button and plays back there.
import assert from "node:assert/strict";
import { writeFile } from "node:fs/promises";
import path from "node:path";
import { test } from "node:test";
import { download, openPage, resultsFolder, runTapeInPage, settings, storedScript } from "./browser.mjs";
import { runTapeOnLinux } from "./linux.mjs";
import { picturesOf, playLive, pressCombo, samePicture, tapeOf, waitForPicture } from "./live.mjs";
import { decodePng } from "./png.mjs";

const program = path.join(settings.build, "examples/record_and_replay");

test("record_and_replay: a MORLU.SCR recorded in the page plays on Linux, and one recorded on Linux plays in the page", async () => {
  const tape = await tapeOf("record_and_replay");
  const [linux, web] = await Promise.all([runTapeOnLinux(program, Buffer.from(tape)), runTapeInPage("record_and_replay", tape)]);
  assert.ok(linux.script, "Linux recorded no MORLU.SCR");

  const live = await playLive("record_and_replay");
  try {
    const file = await download(live.page, "#morlu-script-download");
    assert.equal(file.name, "MORLU.SCR");
    assert.equal(file.bytes.toString("latin1"), await storedScript(live.page), "the download is not the stored script");
    assert.ok(file.bytes.equals(linux.script), "the page recorded other bytes than Linux for the same input");
    const played = await runTapeOnLinux(program, Buffer.from("key ctrl+p\nsnapshot played.png\n"), { script: file.bytes });
    assert.equal(played.status, 0);
    assert.ok(samePicture(decodePng(played.snapshots["played.png"]), decodePng(linux.snapshots["record_and_replay.png"])),
      "Linux played the page's script back to another picture");
  } finally {
    await live.close();
  }

  const fresh = await openPage("record_and_replay");
  try {
    const { page } = fresh;
    const scriptFile = path.join(await resultsFolder(), "MORLU.SCR");
    await writeFile(scriptFile, linux.script);
    await (await page.$("#morlu-script-file")).uploadFile(scriptFile);
    await page.waitForFunction(() => localStorage.getItem("morlu:MORLU.SCR") !== null);
    assert.equal(await storedScript(page), linux.script.toString("latin1"), "the loaded script is not the file");
    await pressCombo(page, "ctrl+p");
    const want = picturesOf(web)["record_and_replay.png"];
    assert.ok(await waitForPicture(page, (now) => samePicture(now, want)), "the page did not play Linux's script back");
    assert.deepEqual(fresh.errors, [], "the page threw");
  } finally {
    await fresh.close();
  }
});
