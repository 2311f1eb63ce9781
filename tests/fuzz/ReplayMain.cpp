// Runs a fuzz target over every file of the given folders, as the fuzzer would hand them over,
// so that the ordinary builds replay the corpus without the fuzzer's runtime. A target that
// hangs on an input is caught here too: each input must finish far within the limit.

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

constexpr auto kLimitPerInput = std::chrono::seconds(20);

} // namespace

int main(int argc, char** argv) {
    std::vector<std::filesystem::path> inputs;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path arg(argv[i]);
        if (!std::filesystem::is_directory(arg)) {
            inputs.push_back(arg);
            continue;
        }
        for (const auto& entry : std::filesystem::directory_iterator(arg)) {
            if (entry.is_regular_file())
                inputs.push_back(entry.path());
        }
    }
    if (inputs.empty()) {
        std::fprintf(stderr, "no inputs to replay\n");
        return 1;
    }

    int failures = 0;
    for (const auto& path : inputs) {
        std::ifstream in(path, std::ios::binary);
        std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
        // One byte of room keeps the pointer real for an empty input.
        bytes.reserve(bytes.size() + 1);
        const auto start = std::chrono::steady_clock::now();
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        if (std::chrono::steady_clock::now() - start > kLimitPerInput) {
            std::fprintf(stderr, "%s: took too long\n", path.c_str());
            ++failures;
        }
    }
    std::printf("replayed %zu inputs, %d too slow\n", inputs.size(), failures);
    return failures == 0 ? 0 : 1;
}
