// MORLU.SCR as the page keeps it: the file's bytes under one storage key.
export const SCRIPT_KEY = "morlu:MORLU.SCR";

// The file's bytes, one character each, from the stored value (null: no file).
export function scriptText(stored) {
  return stored ?? null;
}
