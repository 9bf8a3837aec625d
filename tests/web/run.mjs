// The browser edition's tests, in one headless Chromium: node run.mjs
// (tools/test-web.sh sets MORLU_BUILD and MORLU_PAGES; see browser.mjs).
import { after } from "node:test";
import { closeBrowser } from "./browser.mjs";

after(closeBrowser);
await import("./tapes.test.mjs");
await import("./live.test.mjs");
await import("./scripts.test.mjs");
