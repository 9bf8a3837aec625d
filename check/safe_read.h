// Reading a file a submission wrote: never through a link, only a regular
// file, never more than a limit, so a run cannot point the checker at a file
// it could not read itself, nor hand it a FIFO that blocks.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace morlu::check {

std::optional<std::string> read_plain_file(const std::filesystem::path& file, size_t limit);

}  // namespace morlu::check
