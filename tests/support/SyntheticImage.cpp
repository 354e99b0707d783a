#include "tests/support/SyntheticImage.h"

#include "core/TableLayout.h"

#include <algorithm>
#include <fstream>
#include <random>
#include <stdexcept>

#include <unistd.h>

namespace varnel::testing {

std::uint8_t tablePattern(std::uint32_t offset) {
    // Differs between neighbouring bytes and between neighbouring records.
    return static_cast<std::uint8_t>((offset * 37u + (offset >> 3) * 11u) & 0xFFu);
}

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "varnel-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::vector<std::uint8_t> makeImage(std::size_t size, std::uint32_t seed) {
    std::vector<std::uint8_t> bytes(size);
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> byte(0, 255);
    std::generate(bytes.begin(), bytes.end(), [&] { return static_cast<std::uint8_t>(byte(random)); });
    for (std::uint32_t offset = tablesBegin; offset < tablesEnd && offset < size; ++offset) {
        bytes[offset] = tablePattern(offset);
    }
    return bytes;
}

void writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

ImageFile::ImageFile(const std::string& name) : image(folder.path() / name), original(makeImage()) {
    writeFile(image, original);
}

std::vector<std::uint8_t> readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::size_t> differingOffsets(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
    std::vector<std::size_t> offsets;
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        if (a[i] != b[i]) offsets.push_back(i);
    }
    for (std::size_t i = common; i < std::max(a.size(), b.size()); ++i) offsets.push_back(i);
    return offsets;
}

bool isOpenByThisProcess(const std::filesystem::path& file) {
    const auto target = std::filesystem::canonical(file);
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        if (std::filesystem::read_symlink(entry.path(), error) == target) return true;
    }
    return false;
}

}  // namespace varnel::testing
