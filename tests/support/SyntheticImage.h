#pragma once
// Made-up cartridge images for tests and benchmarks: seeded random bytes, so
// that a byte read from or written to a wrong place shows.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace varnel::testing {

inline constexpr std::size_t typicalImageSize = 786'448;

// A fresh temporary folder, removed with the object.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

std::vector<std::uint8_t> makeImage(std::size_t size = typicalImageSize, std::uint32_t seed = 1);
void writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> readFile(const std::filesystem::path& path);

// A synthetic image of typical size in a fresh temporary folder, for fixtures.
struct ImageFile {
    explicit ImageFile(const std::string& name = "image.nes");

    TempFolder folder;
    std::filesystem::path image;
    std::vector<std::uint8_t> original;  // its bytes as written
};

}  // namespace varnel::testing
