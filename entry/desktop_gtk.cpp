// The desktop of the Linux edition: GTK 3.
#include "desktop_run.h"
#include "platform/gtk/gtk_backend.h"

namespace morlu {

std::unique_ptr<platform::Backend> make_desktop_backend(std::string& error) {
    return platform::make_gtk_backend(error);
}

}  // namespace morlu
