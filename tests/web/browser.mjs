// One headless Chromium for all the tests, and the browser edition's pages in
// it: each page opened in a browser context of its own, so that its storage
// (where MORLU.SCR lives) starts empty, as a fresh folder does on Linux.
import puppeteer from "puppeteer-core";
import { mkdir, mkdtemp, readFile, rm } from "node:fs/promises";
import { tmpdir } from "node:os";
import path from "node:path";
import { fileURLToPath, pathToFileURL } from "node:url";

const root = fileURLToPath(new URL("../..", import.meta.url));
export const settings = {
  root,
  build: path.resolve(root, process.env.MORLU_BUILD ?? "build"),
  pages: path.resolve(root, process.env.MORLU_PAGES ?? "build-web/pages"),
  // shapes.c made into a page by the installed browser edition's morlu-web.
  ownPage: path.resolve(root, process.env.MORLU_OWN_PAGE ?? "build-web/own/shapes.html"),
  results: path.resolve(root, process.env.MORLU_WEB_RESULTS ?? "build-web/test-results"),
  browser: process.env.MORLU_BROWSER ?? "/usr/bin/chromium-headless-shell",
  // The tests open a fresh page for each tape: their WebAssembly runs on V8's
  // first compiler alone, without compiling each program again, optimised, in
  // the background (an eighth of the tests' processor time). The benchmarks
  // measure what a reader's browser runs.
  optimisedWasm: false,
};

let launched;
export function browser() {
  launched ??= puppeteer.launch({
    executablePath: settings.browser,
    headless: "shell",
    // No sandbox: the tests run as root in CI. No network: the pages must not need it.
    args: [
      "--no-sandbox",
      "--disable-gpu",
      "--proxy-server=127.0.0.1:9",
      "--proxy-bypass-list=<-loopback>",
      ...(settings.optimisedWasm ? [] : ["--js-flags=--no-wasm-tier-up"]),
    ],
  });
  return launched;
}

export async function closeBrowser() {
  if (launched) await (await launched).close();
}

// A page by its program's name among the built pages, or by its file's path.
const pageFile = (name) => (name.endsWith(".html") ? path.resolve(name) : path.join(settings.pages, `${name}.html`));
export const pageUrl = (name, hash = "") => pathToFileURL(pageFile(name)).href + hash;

// Opens PAGE.html in a fresh context and waits until its runtime is loaded.
// `errors` collects what the page threw and what it fetched.
export async function openPage(name, { hash = "" } = {}) {
  const context = await (await browser()).createBrowserContext();
  const page = await context.newPage();
  const errors = [];
  page.on("pageerror", (error) => errors.push(error.message));
  // A page is one file: anything it fetches but data and blob URLs is a fault.
  const url = pageUrl(name);
  page.on("request", (request) => {
    const asked = request.url().split("#")[0];
    if (asked !== url && !/^(data|blob):/.test(asked)) errors.push(`the page fetched ${asked}`);
  });
  await page.goto(pageUrl(name, hash), { waitUntil: "load" });
  await page.waitForFunction(() => window.morlu?.ready !== undefined, { timeout: 20_000 });
  await page.evaluate(() => window.morlu.ready);
  return { page, errors, close: () => context.close() };
}

// MORLU.SCR as the page keeps it: one character per byte of the file, under
// one key of the page's storage; null when there is no file.
export const storedScript = (page) => page.evaluate(() => localStorage.getItem("morlu:MORLU.SCR"));

export const pngOf = (dataUrl) => Buffer.from(dataUrl.slice(dataUrl.indexOf(",") + 1), "base64");

// The tape run in the page, with its pictures as PNG bytes.
export async function runTapeInPage(name, tapeText) {
  const opened = await openPage(name);
  try {
    const result = await opened.page.evaluate((text) => window.morlu.runTape(text), tapeText);
    const snapshots = Object.fromEntries(Object.entries(result.snapshots ?? {}).map(([k, v]) => [k, pngOf(v)]));
    return { status: result.status, snapshots, logs: result.logs ?? {}, errors: opened.errors };
  } finally {
    await opened.close();
  }
}

export async function resultsFolder() {
  await mkdir(settings.results, { recursive: true });
  return settings.results;
}

// Clicks `selector` and resolves to the bytes of the file the page downloads.
export async function download(page, selector) {
  const folder = await mkdtemp(path.join(tmpdir(), "morlu-web-download-"));
  const devtools = await (await browser()).target().createCDPSession();
  try {
    await devtools.send("Browser.setDownloadBehavior", {
      behavior: "allow", browserContextId: page.browserContext().id, downloadPath: folder, eventsEnabled: true,
    });
    const named = new Promise((resolve) => devtools.once("Browser.downloadWillBegin", (e) => resolve(e.suggestedFilename)));
    const done = new Promise((resolve, reject) =>
      devtools.on("Browser.downloadProgress", (e) =>
        e.state === "completed" ? resolve() : e.state === "canceled" && reject(new Error("download canceled")),
      ),
    );
    await page.click(selector);
    const [name] = await Promise.all([named, done]);
    return { name, bytes: await readFile(path.join(folder, name)) };
  } finally {
    await devtools.detach();
    await rm(folder, { recursive: true, force: true });
  }
}
