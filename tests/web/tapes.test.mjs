// Every tape of the demo and of the examples, run on Linux and in the page:
// the same status, the same snapshots outside the text (compare.mjs says what
// that is) and the same logs. A tape in the page runs in a fresh instance
// whose MORLU.SCR lives in memory and is not shown; scripts.test.mjs takes the
// file across editions.
import assert from "node:assert/strict";
import { readdirSync } from "node:fs";
import { readFile, writeFile } from "node:fs/promises";
import path from "node:path";
import { before, describe, test } from "node:test";
import { resultsFolder, runTapeInPage, settings } from "./browser.mjs";
import { coverage, differences, sideBySide, textArea } from "./compare.mjs";
import { otherFontsConfig, runTapeOnLinux } from "./linux.mjs";
import { decodePng } from "./png.mjs";

// Read at once, so that every test is known before the first one runs.
function tapesOf(folder, page, program) {
  const names = readdirSync(folder).filter((n) => n.endsWith(".tape")).sort();
  return names.map((name) => ({ page: page ?? name.replace(/\.tape$/, ""), program: program(name), tape: path.join(folder, name) }));
}

const demo = tapesOf(path.join(settings.root, "tests/tapes"), "bugs", () =>
  path.join(settings.build, "app/morlu-bugs"),
);
const examples = tapesOf(path.join(settings.root, "examples/tapes"), null, (name) =>
  path.join(settings.build, "examples", name.replace(/\.tape$/, "")),
);

test("a program of one's own: morlu-web from the installed edition makes a page that runs as the built one", async () => {
  const tape = (await readFile(path.join(settings.root, "examples/tapes/shapes.tape"))).toString("utf8");
  const [own, built] = await Promise.all([runTapeInPage(settings.ownPage, tape), runTapeInPage("shapes", tape)]);
  assert.deepEqual(own.errors, [], "the page threw");
  assert.equal(own.status, built.status);
  assert.deepEqual(Object.keys(own.snapshots).sort(), Object.keys(built.snapshots).sort(), "snapshot names");
  for (const [name, png] of Object.entries(built.snapshots))
    assert.ok(png.equals(own.snapshots[name]), `${name} differs from the built page's`);
  assert.deepEqual(own.logs, built.logs, "logs");
});

// Two tapes at a time: each runs two Linux processes and a page.
describe("tapes on Linux and in the page", { concurrency: 2 }, () => {
  let fonts;
  before(async () => {
    fonts = await otherFontsConfig(await resultsFolder());
  });

  for (const { page, program, tape } of [...demo, ...examples]) {
    test(`${page}: ${path.basename(tape)}`, async (t) => {
      const bytes = await readFile(tape);
      const [linux, otherFonts, web] = await Promise.all([
        runTapeOnLinux(program, bytes),
        runTapeOnLinux(program, bytes, { fonts }),
        runTapeInPage(page, bytes.toString("utf8")),
      ]);
      assert.deepEqual(web.errors, [], "the page threw");
      assert.equal(web.status, linux.status, `status ${web.status} in the page, ${linux.status} on Linux`);
      assert.deepEqual(Object.keys(web.snapshots).sort(), Object.keys(linux.snapshots).sort(), "snapshot names");
      for (const [name, linuxPng] of Object.entries(linux.snapshots)) {
        const reference = decodePng(linuxPng), ours = decodePng(web.snapshots[name]);
        const area = textArea(reference, decodePng(otherFonts.snapshots[name]));
        const { count, first } = differences(reference, ours, area);
        t.diagnostic(`${name}: text area ${(100 * coverage(area)).toFixed(1)} % of the picture`);
        if (count === 0) continue;
        const picture = path.join(await resultsFolder(), `${page}-${path.basename(tape, ".tape")}-${path.basename(name)}`);
        if (ours.width === reference.width && ours.height === reference.height)
          await writeFile(picture, sideBySide(reference, ours, area));
        assert.fail(`${name}: ${count} pixels outside the text differ from Linux, first ${first}; see ${picture}`);
      }
      // No log line depends on text metrics: the logs must be equal whole.
      assert.deepEqual(web.logs, linux.logs, "logs");
      });
  }
});
