// Writing a generated resource file.
#include "tools/generators/OutputFile.h"

#include <cstdio>

namespace generators {

int writeOutputFile(int argc, char** argv, const char* usage, const std::vector<std::uint8_t>& bytes) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s\n", usage);
        return 2;
    }
    std::FILE* out = std::fopen(argv[1], "wb");
    if (out == nullptr) {
        std::perror(argv[1]);
        return 1;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    if (std::fclose(out) != 0 || !written) {
        std::fprintf(stderr, "could not write %s\n", argv[1]);
        return 1;
    }
    return 0;
}

}  // namespace generators
