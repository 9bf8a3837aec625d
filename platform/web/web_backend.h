// The browser edition's backend: the graphics window is a canvas of the page,
// the text window the page's log panel, the Run menu the page's menu bar. The
// program's wait gives the browser its turn (ASYNCIFY puts the program's stack
// aside) until the user acts or the next timer is due, so an idle page runs
// nothing.
#pragma once

#include <functional>
#include <memory>

#include "../window/backend.h"

namespace morlu::platform {

class WebBackend;

// The backend of the page that loaded this program.
std::unique_ptr<WebBackend> make_web_backend();

class WebBackend : public Backend {
public:
    // Called each time the program is about to sleep: a host shows what only it
    // knows (the log's stored lines) before the browser paints.
    virtual void set_wait_hook(std::function<void()> hook) = 0;
};

}  // namespace morlu::platform
