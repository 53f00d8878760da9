// Runs a fuzz target over the files of a corpus folder without libFuzzer, so
// the committed corpus replays as an ordinary test under gcc's sanitizers. An
// empty or missing folder fails, so a lost corpus shows.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    std::size_t replayed = 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(argc > 1 ? argv[1] : "", error)) {
        std::ifstream file(entry.path(), std::ios::binary);
        std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        bytes.reserve(1);  // a real pointer even for an empty input
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        ++replayed;
    }
    std::cout << "replayed " << replayed << " inputs" << std::endl;
    return replayed == 0 ? 1 : 0;
}
