#include "runtime_session.h"

#include "runtime_state.h"

void runtime_start(morlu::platform::Backend& backend) {
    runtime_stop();
    pf::platform_start(backend);
}

void runtime_stop() {
    script_close();
    pf::platform_stop();
    runtime_reset();
}

RuntimeOrigin runtime_origin() {
    return {runtime.window.origin_x, runtime.window.origin_y};
}

const uint32_t* back_buffer_pixels() {
    const pf::Surface* surface = pf::dc_surface(runtime.window.buffer_dc);
    return surface ? surface->pixels() : nullptr;
}
