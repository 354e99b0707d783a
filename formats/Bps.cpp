#include "formats/Bps.h"

#include "formats/BpsEncoder.h"
#include "formats/Crc32.h"
#include "formats/FormatError.h"

#include <algorithm>
#include <array>
#include <limits>
#include <string>

namespace varnel::bps {
namespace {

constexpr std::array<std::uint8_t, 4> header{'B', 'P', 'S', '1'};
constexpr std::size_t footerSize = 12;  // three CRC-32s
constexpr std::size_t smallestPatch = header.size() + 3 + footerSize;  // sizes of one byte each

std::string decimal(std::uint64_t number) {
    return std::to_string(number);
}

void putCrc(std::vector<std::uint8_t>& out, std::uint32_t crc) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(crc >> shift));
}

std::uint32_t readCrc(std::span<const std::uint8_t> bytes) {
    std::uint32_t crc = 0;
    for (std::size_t i = 4; i-- > 0;) crc = crc << 8 | bytes[i];
    return crc;
}

FormatError numberTooLarge(std::size_t start) {
    return FormatError("BPS 补丁无效：位于补丁偏移 " + decimal(start) + " 处的数值超出了 64 位范围。");
}

void checkSource(std::uint64_t expectedSize, std::uint32_t expectedCrc, std::span<const std::uint8_t> source) {
    const std::uint32_t crc = crc32(source);
    if (expectedSize != source.size()) {
        throw FormatError("补丁要求的源文件为 " + decimal(expectedSize) + " 字节、CRC-32 为 " + crcText(expectedCrc) +
                          "，而该文件为 " + decimal(source.size()) + " 字节、CRC-32 为 " + crcText(crc) + "。");
    }
    if (expectedCrc != crc) {
        throw FormatError("补丁要求的源文件 CRC-32 为 " + crcText(expectedCrc) + "，而该文件为 " + crcText(crc) + "。");
    }
}

// Builds the target from the actions, refusing any that reach outside the
// source, the target, the bytes written so far or the patch.
class ActionWalker {
public:
    // `actions` run from `position` to the end of `body`.
    ActionWalker(std::span<const std::uint8_t> body, std::size_t position, std::span<const std::uint8_t> source,
                 std::uint64_t targetSize)
        : body_(body), position_(position), source_(source), targetSize_(targetSize) {
        target_.reserve(targetSize);
    }

    std::vector<std::uint8_t> run() {
        while (position_ < body_.size()) {
            ++action_;
            const std::uint64_t number = decodeNumber(body_, position_);
            const std::uint64_t length = (number >> 2) + 1;
            if (length > targetSize_ - target_.size()) {
                throw invalid("要写入 " + decimal(length) + " 字节，超出了目标文件的大小 " + decimal(targetSize_) +
                              " 字节");
            }
            switch (number & 3) {
            case SourceRead: copyFromSource(target_.size(), length); break;
            case TargetRead: readFromPatch(length); break;
            case SourceCopy: copySource(length); break;
            case TargetCopy: copyTarget(length); break;
            }
        }
        if (target_.size() != targetSize_) {
            throw FormatError("BPS 补丁不完整：全部操作只写出了 " + decimal(target_.size()) + " 字节，而目标文件应为 " +
                              decimal(targetSize_) + " 字节。");
        }
        return std::move(target_);
    }

private:
    FormatError invalid(const std::string& what) const {
        return FormatError("BPS 补丁无效：第 " + decimal(action_) + " 个操作" + what + "。");
    }

    void copyFromSource(std::uint64_t from, std::uint64_t length) {
        if (from > source_.size() || length > source_.size() - from) {
            throw invalid("要从源文件偏移 " + decimal(from) + " 处取 " + decimal(length) + " 字节，超出了源文件的大小 " +
                          decimal(source_.size()) + " 字节");
        }
        const auto bytes = source_.subspan(from, length);
        target_.insert(target_.end(), bytes.begin(), bytes.end());
    }

    void readFromPatch(std::uint64_t length) {
        if (length > body_.size() - position_) {
            throw FormatError("BPS 补丁已截断：第 " + decimal(action_) + " 个操作的数据不完整。");
        }
        const auto bytes = body_.subspan(position_, length);
        target_.insert(target_.end(), bytes.begin(), bytes.end());
        position_ += length;
    }

    void copySource(std::uint64_t length) {
        moveCursor(sourceCursor_);
        copyFromSource(sourceCursor_, length);
        sourceCursor_ += length;
    }

    void copyTarget(std::uint64_t length) {
        moveCursor(targetCursor_);
        if (targetCursor_ >= target_.size()) {
            throw invalid("要从目标文件偏移 " + decimal(targetCursor_) + " 处复制，但此时只写出了 " +
                          decimal(target_.size()) + " 字节");
        }
        // The copy may read bytes it has just written, so it goes one byte at a time.
        for (std::uint64_t i = 0; i < length; ++i) {
            const std::uint8_t byte = target_[targetCursor_++];
            target_.push_back(byte);
        }
    }

    // Cursors stay within the source or target after every action that
    // succeeds, so adding a 63-bit distance cannot wrap.
    void moveCursor(std::uint64_t& cursor) {
        const std::uint64_t number = decodeNumber(body_, position_);
        const std::uint64_t distance = number >> 1;
        if ((number & 1) == 0) {
            cursor += distance;
        } else if (distance <= cursor) {
            cursor -= distance;
        } else {
            throw invalid("把读取位置移到了文件开头之前");
        }
    }

    std::span<const std::uint8_t> body_;
    std::size_t position_;
    std::span<const std::uint8_t> source_;
    std::uint64_t targetSize_;
    std::vector<std::uint8_t> target_;
    std::uint64_t sourceCursor_ = 0;
    std::uint64_t targetCursor_ = 0;
    std::uint64_t action_ = 0;
};

}  // namespace

void encodeNumber(std::uint64_t number, std::vector<std::uint8_t>& out) {
    while (true) {
        const auto low = static_cast<std::uint8_t>(number & 0x7f);
        number >>= 7;
        if (number == 0) {
            out.push_back(0x80 | low);
            return;
        }
        out.push_back(low);
        --number;
    }
}

std::size_t numberSize(std::uint64_t number) {
    std::size_t size = 1;
    while ((number >>= 7) != 0) {
        --number;
        ++size;
    }
    return size;
}

std::uint64_t decodeNumber(std::span<const std::uint8_t> bytes, std::size_t& position) {
    constexpr std::uint64_t largest = std::numeric_limits<std::uint64_t>::max();
    const std::size_t start = position;
    std::uint64_t number = 0;
    std::uint64_t shift = 1;
    while (true) {
        if (position >= bytes.size()) {
            throw FormatError("BPS 补丁已截断：位于补丁偏移 " + decimal(start) + " 处的数值没有结束。");
        }
        const std::uint8_t byte = bytes[position++];
        const std::uint64_t part = byte & 0x7f;
        if (part > (largest - number) / shift) throw numberTooLarge(start);
        number += part * shift;
        if (byte & 0x80) return number;
        if (shift > largest >> 7 || shift << 7 > largest - number) throw numberTooLarge(start);
        shift <<= 7;
        number += shift;
    }
}

bool recognises(std::span<const std::uint8_t> patch) {
    return patch.size() >= header.size() && std::equal(header.begin(), header.end(), patch.begin());
}

std::vector<std::uint8_t> create(std::span<const std::uint8_t> original, std::span<const std::uint8_t> modified) {
    if (modified.size() > maximumTargetSize) {
        throw FormatError("无法制作 BPS 补丁：修改后的文件有 " + decimal(modified.size()) +
                          " 字节，超过了上限 " + decimal(maximumTargetSize) + " 字节（1 GiB）。");
    }
    std::vector<std::uint8_t> patch(header.begin(), header.end());
    encodeNumber(original.size(), patch);
    encodeNumber(modified.size(), patch);
    encodeNumber(0, patch);  // no metadata

    encodeActions(original, modified, patch);
    putCrc(patch, crc32(original));
    putCrc(patch, crc32(modified));
    putCrc(patch, crc32(patch));
    return patch;
}

std::vector<std::uint8_t> apply(std::span<const std::uint8_t> patch, std::span<const std::uint8_t> source) {
    if (!recognises(patch)) throw FormatError("这不是 BPS 补丁：文件开头不是“BPS1”。");
    if (patch.size() < smallestPatch) {
        throw FormatError("BPS 补丁已截断：只有 " + decimal(patch.size()) + " 字节，放不下文件头和校验值。");
    }
    const auto body = patch.first(patch.size() - footerSize);
    const auto footer = patch.last(footerSize);
    const std::uint32_t patchCrc = crc32(patch.first(patch.size() - 4));
    if (readCrc(footer.subspan(8)) != patchCrc) {
        throw FormatError("BPS 补丁已损坏：补丁记录的自身 CRC-32 为 " + crcText(readCrc(footer.subspan(8))) +
                          "，而补丁内容算得 " + crcText(patchCrc) + "。");
    }

    std::size_t position = header.size();
    const std::uint64_t sourceSize = decodeNumber(body, position);
    const std::uint64_t targetSize = decodeNumber(body, position);
    const std::uint64_t metadataSize = decodeNumber(body, position);
    checkSource(sourceSize, readCrc(footer), source);
    if (targetSize > maximumTargetSize) {
        throw FormatError("BPS 补丁声明的目标文件有 " + decimal(targetSize) +
                          " 字节，超过了允许的上限 " + decimal(maximumTargetSize) + " 字节（1 GiB）。");
    }
    if (metadataSize > body.size() - position) {
        throw FormatError("BPS 补丁已截断：元数据声明有 " + decimal(metadataSize) + " 字节，超出了补丁的范围。");
    }
    position += metadataSize;

    std::vector<std::uint8_t> target = ActionWalker(body, position, source, targetSize).run();
    const std::uint32_t targetCrc = crc32(target);
    if (targetCrc != readCrc(footer.subspan(4))) {
        throw FormatError("打补丁的结果与补丁记录的目标文件不符：CRC-32 应为 " + crcText(readCrc(footer.subspan(4))) +
                          "，实际为 " + crcText(targetCrc) + "。");
    }
    return target;
}

}  // namespace varnel::bps
