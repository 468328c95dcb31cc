// Runs each file of the given folders (and each file given by name) once through the
// harness, as libFuzzer does with a corpus, so the seeds are checked with any compiler.
// Every input lies in a buffer of its own exact size, so the sanitizers see reads past it.

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace {

std::vector<std::filesystem::path> inputsOf(const char *argument)
{
    std::vector<std::filesystem::path> inputs;
    const std::filesystem::path path(argument);
    if (std::filesystem::is_directory(path)) {
        for (const auto &entry : std::filesystem::directory_iterator(path)) {
            if (entry.is_regular_file())
                inputs.push_back(entry.path());
        }
        std::sort(inputs.begin(), inputs.end());
    } else if (std::filesystem::is_regular_file(path)) {
        inputs.push_back(path);
    }
    return inputs;
}

} // namespace

int main(int argc, char **argv)
{
    std::vector<std::filesystem::path> inputs;
    for (int i = 1; i < argc; ++i) {
        const auto found = inputsOf(argv[i]);
        if (found.empty()) {
            std::fprintf(stderr, "no inputs in %s\n", argv[i]);
            return 1;
        }
        inputs.insert(inputs.end(), found.begin(), found.end());
    }
    if (inputs.empty()) {
        std::fprintf(stderr, "usage: %s <corpus folder or file>...\n", argv[0]);
        return 1;
    }

    double slowestMs = 0;
    std::string slowest;
    for (const auto &input : inputs) {
        std::ifstream file(input, std::ios::binary);
        const std::vector<char> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        if (!file.eof() && file.fail()) {
            std::fprintf(stderr, "cannot read %s\n", input.c_str());
            return 1;
        }
        const auto buffer = std::make_unique<uint8_t[]>(bytes.size());
        std::copy(bytes.begin(), bytes.end(), buffer.get());
        // Printed first, so a crash names the input that caused it.
        std::fprintf(stderr, "%s (%zu bytes)\n", input.c_str(), bytes.size());
        const auto start = std::chrono::steady_clock::now();
        LLVMFuzzerTestOneInput(buffer.get(), bytes.size());
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        if (ms > slowestMs) {
            slowestMs = ms;
            slowest = input.filename().string();
        }
    }
    std::printf("%zu inputs replayed; slowest %s (%.1f ms)\n", inputs.size(), slowest.c_str(), slowestMs);
    return 0;
}
