#include "formats/Ips.h"

#include "formats/FormatError.h"

#include <algorithm>
#include <array>
#include <string>

namespace varnel::ips {
namespace {

constexpr std::array<std::uint8_t, 5> header{'P', 'A', 'T', 'C', 'H'};
constexpr std::array<std::uint8_t, 3> endMarker{'E', 'O', 'F'};

// A record starting here would have "EOF" as its offset bytes.
constexpr std::size_t endMarkerOffset = 0x454F46;

// 3 bytes of offset and 2 of size.
constexpr std::size_t recordHeaderSize = 5;

// A run-length record costs 8 bytes, so shorter runs stay literal data.
constexpr std::size_t minimumRunLength = 8;

bool startsWith(std::span<const std::uint8_t> bytes, std::span<const std::uint8_t> prefix) {
    return bytes.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), bytes.begin());
}

void putNumber(std::vector<std::uint8_t>& out, std::size_t value, int byteCount) {
    for (int shift = 8 * (byteCount - 1); shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

std::size_t readNumber(std::span<const std::uint8_t> bytes, std::size_t position, int byteCount) {
    std::size_t value = 0;
    for (int i = 0; i < byteCount; ++i) value = (value << 8) | bytes[position + static_cast<std::size_t>(i)];
    return value;
}

void refuseLarge(std::span<const std::uint8_t> file, const char* which) {
    if (file.size() > maximumFileSize) {
        throw FormatError(std::string("无法制作 IPS 补丁：") + which + "有 " + std::to_string(file.size()) +
                          " 字节，超过了 IPS 格式能表示的 " +
                          std::to_string(maximumFileSize) + " 字节（16 MiB）。");
    }
}

// Records for the bytes of `modified` in one stretch of changes.
class RecordWriter {
public:
    RecordWriter(std::span<const std::uint8_t> modified, std::vector<std::uint8_t>& patch)
        : modified_(modified), patch_(patch) {}

    void writeStretch(std::size_t begin, std::size_t end) {
        std::size_t offset = begin;
        while (offset < end) {
            if (offset == endMarkerOffset) {
                // The byte before is rewritten unchanged so that no record starts here.
                writeLiteral(offset - 1, 2);
                offset += 1;
                continue;
            }
            const std::size_t run = sameByteRun(offset, end);
            if (run >= minimumRunLength) {
                writeRun(offset, run);
                offset += run;
            } else {
                const std::size_t length = literalLength(offset, end);
                writeLiteral(offset, length);
                offset += length;
            }
        }
    }

private:
    // Equal bytes from `from`, as many as one record can hold.
    std::size_t sameByteRun(std::size_t from, std::size_t end) const {
        const std::size_t limit = std::min(end, from + maximumRecordLength);
        std::size_t to = from + 1;
        while (to < limit && modified_[to] == modified_[from]) ++to;
        return to - from;
    }

    // Literal data from `from` up to where a long run starts.
    std::size_t literalLength(std::size_t from, std::size_t end) const {
        const std::size_t limit = std::min(end, from + maximumRecordLength);
        std::size_t to = from + 1;
        while (to < limit && sameByteRun(to, end) < minimumRunLength) ++to;
        return to - from;
    }

    void writeLiteral(std::size_t offset, std::size_t length) {
        putNumber(patch_, offset, 3);
        putNumber(patch_, length, 2);
        const auto data = modified_.subspan(offset, length);
        patch_.insert(patch_.end(), data.begin(), data.end());
    }

    void writeRun(std::size_t offset, std::size_t count) {
        putNumber(patch_, offset, 3);
        putNumber(patch_, 0, 2);
        putNumber(patch_, count, 2);
        patch_.push_back(modified_[offset]);
    }

    std::span<const std::uint8_t> modified_;
    std::vector<std::uint8_t>& patch_;
};

// Room for `length` bytes at `offset`, growing the output with zeros if needed.
std::span<std::uint8_t> place(std::vector<std::uint8_t>& output, std::size_t offset, std::size_t length) {
    if (output.size() < offset + length) output.resize(offset + length);
    return std::span(output).subspan(offset, length);
}

FormatError truncatedRecord(std::size_t record, const char* part) {
    return FormatError("IPS 补丁已截断：第 " + std::to_string(record) + " 条记录的" + part + "不完整。");
}

}  // namespace

bool recognises(std::span<const std::uint8_t> patch) {
    return startsWith(patch, header);
}

std::vector<std::uint8_t> create(std::span<const std::uint8_t> original, std::span<const std::uint8_t> modified) {
    refuseLarge(original, "原始文件");
    refuseLarge(modified, "修改后的文件");
    const auto differs = [&](std::size_t i) { return i >= original.size() || original[i] != modified[i]; };

    std::vector<std::uint8_t> patch(header.begin(), header.end());
    RecordWriter writer(modified, patch);
    std::size_t position = 0;
    while (true) {
        while (position < modified.size() && !differs(position)) ++position;
        if (position == modified.size()) break;
        // Fewer unchanged bytes than a record header cost less to rewrite than to skip.
        std::size_t end = position + 1;
        for (std::size_t i = end; i < modified.size() && i - end < recordHeaderSize; ++i) {
            if (differs(i)) end = i + 1;
        }
        writer.writeStretch(position, end);
        position = end;
    }
    patch.insert(patch.end(), endMarker.begin(), endMarker.end());
    if (modified.size() < original.size()) putNumber(patch, modified.size(), 3);
    return patch;
}

std::vector<std::uint8_t> apply(std::span<const std::uint8_t> patch, std::span<const std::uint8_t> source) {
    if (!recognises(patch)) throw FormatError("这不是 IPS 补丁：文件开头不是“PATCH”。");
    std::vector<std::uint8_t> output(source.begin(), source.end());
    std::size_t position = header.size();
    for (std::size_t record = 1; !startsWith(patch.subspan(position), endMarker); ++record) {
        if (position == patch.size()) throw FormatError("IPS 补丁已截断：缺少结尾标记“EOF”。");
        if (patch.size() - position < recordHeaderSize) throw truncatedRecord(record, "头部");
        const std::size_t offset = readNumber(patch, position, 3);
        const std::size_t size = readNumber(patch, position + 3, 2);
        position += recordHeaderSize;
        const std::size_t dataSize = size == 0 ? 3 : size;  // a run: count and value
        if (patch.size() - position < dataSize) throw truncatedRecord(record, "数据");
        if (size == 0) {
            // std:: algorithms rather than std::ranges: the WebAssembly build's libc++ lacks these two.
            const std::span<std::uint8_t> run = place(output, offset, readNumber(patch, position, 2));
            std::fill(run.begin(), run.end(), patch[position + 2]);
        } else {
            const std::span<const std::uint8_t> data = patch.subspan(position, size);
            std::copy(data.begin(), data.end(), place(output, offset, size).begin());
        }
        position += dataSize;
    }
    position += endMarker.size();

    const std::size_t trailing = patch.size() - position;
    if (trailing == 3) {
        const std::size_t length = readNumber(patch, position, 3);
        if (length > output.size()) {
            throw FormatError("IPS 补丁要把结果截短为 " + std::to_string(length) + " 字节，但打补丁后只有 " +
                              std::to_string(output.size()) + " 字节。");
        }
        output.resize(length);
    } else if (trailing != 0) {
        throw FormatError("IPS 补丁在结尾标记“EOF”之后还有 " + std::to_string(trailing) +
                          " 个字节，只允许没有或恰好 3 个字节（截短后的长度）。");
    }
    return output;
}

}  // namespace varnel::ips
