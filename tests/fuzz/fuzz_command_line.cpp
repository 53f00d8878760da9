// Fuzz target for the command-line parser: any bytes, as one terminated
// line, must parse without reading past the terminator and give a result
// the entry point can act on.
#include <cstring>
#include <memory>

#include "shell/CommandLine.h"
#include "shell/RunMode.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A heap copy of exactly the line and its terminator (no small-string
    // buffer), so that ASan sees any read past the end. A NUL inside the
    // input ends the line early, which is all a C string can say.
    std::unique_ptr<char[]> line(new char[size + 1]);
    std::memcpy(line.get(), data, size);
    line[size] = '\0';
    const CommandLineResult result = parseCommandLine(line.get());
    if (!result.proceed) {
        FUZZ_CHECK(!result.useForegroundWindow);
        return 0;
    }
    FUZZ_CHECK(result.mode == Mode::Configure || result.mode == Mode::ChangePassword ||
               result.mode == Mode::Preview || result.mode == Mode::Saver);
    // The foreground-window fallback is for a configure switch with no handle.
    FUZZ_CHECK(!result.useForegroundWindow || (result.mode == Mode::Configure && result.handle == 0));
    return 0;
}
