// A reader that takes a fuzz input apart (past its end it reads zeros), and a
// check that names the failed property before aborting.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition) \
    ((condition) ? void() : fuzzFailed(#condition, __FILE__, __LINE__))

[[noreturn]] inline void fuzzFailed(const char* what, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: fuzz check failed: %s\n", file, line, what);
    std::abort();
}

class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size) : data(data), size(size) {}

    std::size_t remaining() const { return size; }
    std::uint8_t byte() {
        if (size == 0) return 0;
        --size;
        return *data++;
    }
    std::uint32_t word() {
        std::uint32_t value = 0;
        for (int shift = 0; shift < 32; shift += 8) value |= std::uint32_t{byte()} << shift;
        return value;
    }

private:
    const std::uint8_t* data;
    std::size_t size;
};
