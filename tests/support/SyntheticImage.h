#pragma once
// Made-up cartridge images for tests: random bytes everywhere, so that a byte
// written to a wrong place shows, and a recognisable pattern in the tables.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace varnel::testing {

inline constexpr std::size_t typicalImageSize = 786'448;

// The pattern byte that a synthetic image holds at a table offset.
std::uint8_t tablePattern(std::uint32_t offset);

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

// Random bytes of the given size (seeded, so runs repeat), with tablePattern
// at every offset of the three tables that the size covers.
std::vector<std::uint8_t> makeImage(std::size_t size = typicalImageSize, std::uint32_t seed = 1);

void writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

// A synthetic image of typical size written into a fresh temporary folder;
// test fixtures derive from it.
struct ImageFile {
    explicit ImageFile(const std::string& name = "image.nes");

    TempFolder folder;
    std::filesystem::path image;          // the file
    std::vector<std::uint8_t> original;   // its bytes as written
};
std::vector<std::uint8_t> readFile(const std::filesystem::path& path);

// Offsets at which two byte sequences differ (and the tail where lengths differ).
std::vector<std::size_t> differingOffsets(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b);

// Whether this process holds the file open.
bool isOpenByThisProcess(const std::filesystem::path& file);

}  // namespace varnel::testing
