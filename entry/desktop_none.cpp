// A build without a desktop backend still runs programs with --tape.
#include "desktop_run.h"

namespace morlu {

std::unique_ptr<platform::Backend> make_desktop_backend(std::string& error) {
    error = "this build of morlu has no desktop; run the program with --tape FILE";
    return nullptr;
}

}  // namespace morlu
