// Runs a fuzz target over saved inputs without libFuzzer, so the committed
// corpus replays as an ordinary test under gcc's sanitizers. Arguments are
// files or directories of files; an empty run fails, so a lost corpus shows.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i) {
        if (!fs::exists(argv[i])) {
            std::cerr << argv[i] << ": no such file or directory" << std::endl;
            return 1;
        }
        if (!fs::is_directory(argv[i])) inputs.emplace_back(argv[i]);
        else for (const auto& entry : fs::directory_iterator(argv[i])) inputs.push_back(entry.path());
    }
    std::sort(inputs.begin(), inputs.end());
    for (const fs::path& path : inputs) {
        std::cout << "replaying " << path.filename().string() << std::endl;
        std::ifstream file(path, std::ios::binary);
        std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        bytes.reserve(1);  // a real pointer even for an empty input
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
    std::cout << "replayed " << inputs.size() << " inputs" << std::endl;
    return inputs.empty() ? 1 : 0;
}
