// The browser edition's tests, in one headless Chromium: node run.mjs
// (tools/test-web.sh sets MORLU_BUILD and MORLU_PAGES; see browser.mjs). The
// suites register their tests as they load, so the browser closes after the last.
import { after } from "node:test";
import { closeBrowser } from "./browser.mjs";
import "./tapes.test.mjs";
import "./live.test.mjs";
import "./scripts.test.mjs";

after(closeBrowser);
