// The Linux edition's side: a tape run with `PROGRAM --tape tape` in a fresh
// folder, as tests/tapes/run_tapes.sh runs it, and what it left there.
import { execFile } from "node:child_process";
import { mkdtemp, readFile, rm, writeFile } from "node:fs/promises";
import { tmpdir } from "node:os";
import path from "node:path";

// What a tape names: the files its snapshot, snapshot-text and log lines write,
// in order. "#" starts a comment at the start of a line or after a blank.
export function namedOutputs(tapeText) {
  const outputs = [];
  for (const line of tapeText.replace(/^\uFEFF/, "").split(/\r?\n/)) {
    const [action, name] = line.replace(/(^|\s)#.*$/, "").trim().split(/\s+/);
    if (name && ["snapshot", "snapshot-text", "log"].includes(action)) outputs.push({ action, name });
  }
  return outputs;
}

// A fontconfig set-up of our own in which the faces differ from the usual
// ones for both kinds of text: the proportional face morlu asks for ("Arial"
// after the program's own name) becomes DejaVu Sans and the fixed one
// ("monospace") Liberation Mono. Running a tape under it moves every glyph and
// nothing else, which is how compare.mjs finds the text.
export async function otherFontsConfig(folder) {
  const file = path.join(folder, "fonts.conf");
  const prefer = (family, face) =>
    `<alias binding="strong"><family>${family}</family><prefer><family>${face}</family></prefer></alias>`;
  await writeFile(
    file,
    `<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <dir>/usr/share/fonts</dir>
  <cachedir>${path.join(folder, "font-cache")}</cachedir>
  ${prefer("Arial", "DejaVu Sans")}
  ${prefer("sans-serif", "DejaVu Sans")}
  ${prefer("monospace", "Liberation Mono")}
</fontconfig>
`,
  );
  return file;
}

// Resolves to the exit status (a signal's name if one ended it) and stderr.
function run(program, args, options) {
  return new Promise((resolve, reject) => {
    execFile(program, args, { ...options, timeout: 60_000, maxBuffer: 1 << 24 }, (error, stdout, stderr) => {
      if (typeof error?.code === "string") reject(new Error(`${program}: ${error.message}`));
      else resolve({ status: error ? (error.code ?? error.signal) : 0, stderr });
    });
  });
}

// Runs the tape in a fresh folder holding `script` as MORLU.SCR when given;
// `fonts` (a fontconfig file) replaces the usual fonts. Resolves to {status,
// stderr, snapshots: {NAME: PNG bytes}, logs: {NAME: text}, script: the
// MORLU.SCR left behind, or null}.
export async function runTapeOnLinux(program, tapeBytes, { fonts, script } = {}) {
  const folder = await mkdtemp(path.join(tmpdir(), "morlu-web-linux-"));
  try {
    await writeFile(path.join(folder, "tape"), tapeBytes);
    if (script) await writeFile(path.join(folder, "MORLU.SCR"), script);
    const env = { ...process.env };
    if (fonts) env.FONTCONFIG_FILE = fonts;
    const { status, stderr } = await run(program, ["--tape", "tape"], { cwd: folder, env });
    const result = { status, stderr, snapshots: {}, logs: {}, script: null };
    const read = (name) => readFile(path.join(folder, name)).catch(() => null);
    for (const { action, name } of namedOutputs(String(tapeBytes))) {
      const bytes = await read(name);
      if (bytes === null) continue;
      if (action === "log") result.logs[name] = bytes.toString("utf8");
      else result.snapshots[name] = bytes;
    }
    result.script = await read("MORLU.SCR");
    return result;
  } finally {
    await rm(folder, { recursive: true, force: true });
  }
}
