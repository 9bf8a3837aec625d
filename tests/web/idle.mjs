// How busy a page's main thread is over a stretch of time, from the DevTools
// protocol's own counters (Performance.getMetrics): the time spent in tasks and
// in scripts, against the time that passed.
export async function mainThreadUse(page, milliseconds) {
  const devtools = await page.createCDPSession();
  await devtools.send("Performance.enable");
  const metrics = async () =>
    Object.fromEntries((await devtools.send("Performance.getMetrics")).metrics.map((m) => [m.name, m.value]));
  const start = await metrics();
  await new Promise((resolve) => setTimeout(resolve, milliseconds));
  const end = await metrics();
  await devtools.detach();
  const seconds = end.Timestamp - start.Timestamp;
  return {
    seconds,
    task: (end.TaskDuration - start.TaskDuration) / seconds,
    script: (end.ScriptDuration - start.ScriptDuration) / seconds,
  };
}

export const percent = (fraction) => `${(100 * fraction).toFixed(2)} %`;
