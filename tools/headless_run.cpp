#include "headless_run.h"

#include "bug_app.h"
#include "platform/headless/headless_backend.h"
#include "platform/headless/tape_driver.h"
#include "runtime_state.h"

namespace morlu {

HeadlessRun run_headless(std::vector<platform::TapeAction> actions, platform::Size screen) {
    platform::HeadlessBackend backend(screen);
    platform::TapeDriver driver(backend, std::move(actions), {GRAPHICS_TITLE, TEXT_TITLE, log_stored_lines});
    backend.set_idle_handler([&driver] { return driver.step(); });
    runtime_reset();
    platform::platform_start(backend);
    HeadlessRun run;
    run.status = app_main(1, 0, "", platform::SW_SHOWNORMAL);
    platform::platform_stop();
    run.failures = driver.failures();
    if (run.status == 0 && run.failures > 0) run.status = 3;
    return run;
}

}  // namespace morlu
