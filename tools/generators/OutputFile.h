// The one way the resource generators write their output: the bytes go to
// the single file named on the command line, and any failure is an exit code
// the build notices.
#pragma once

#include <cstdint>
#include <vector>

namespace generators {
// Returns the process exit code: 0 written, 1 not written, 2 bad usage.
int writeOutputFile(int argc, char** argv, const char* usage, const std::vector<std::uint8_t>& bytes);
}  // namespace generators
