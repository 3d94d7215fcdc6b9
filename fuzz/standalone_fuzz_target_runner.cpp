// Runs a fuzz target's LLVMFuzzerTestOneInput once on each input it is given,
// without libFuzzer: every build replays the corpus with its own compiler, so
// a past finding kept in the corpus stays a regression test.
//
//   fuzz_TARGET FILE_OR_FOLDER...
//
// A folder stands for the files in it, in name order. The target aborts on a
// broken check; anything else it returns counts as passed.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::vector<std::filesystem::path> inputs_in(const std::filesystem::path& given) {
    if (!std::filesystem::is_directory(given)) {
        return {given};
    }
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(given)) {
        if (entry.is_regular_file()) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

bool replay(const std::filesystem::path& input) {
    std::ifstream in(input, std::ios::binary);
    if (!in) {
        std::cerr << "cannot read " << input.string() << "\n";
        return false;
    }
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    // Named before it runs: if the target aborts, the last name is the input.
    std::cout << input.string() << std::endl;
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    return true;
}

} // namespace

int main(int argc, char** argv) {
    std::size_t replayed = 0;
    for (int i = 1; i < argc; ++i) {
        std::error_code error;
        if (!std::filesystem::exists(argv[i], error)) {
            std::cerr << "no such input: " << argv[i] << "\n";
            return 2;
        }
        for (const std::filesystem::path& input : inputs_in(argv[i])) {
            if (!replay(input)) {
                return 2;
            }
            ++replayed;
        }
    }
    if (replayed == 0) {
        std::cerr << "no inputs to replay\n";
        return 2;
    }
    std::cout << replayed << " inputs replayed\n";
    return 0;
}
