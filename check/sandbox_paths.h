// What a bubblewrap run can see: the system's programs and libraries, the
// files a compiler and fontconfig read from /etc, the folders it is given
// read-only, and its own folder; no network, no other process, a /tmp of its
// own whose size is limited.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "sandbox.h"

namespace morlu::check {

// The bwrap command line that runs `request.argv` as user `uid` (inside and out).
std::vector<std::string> bubblewrap_argv(const RunRequest& request, uid_t uid);

}  // namespace morlu::check
