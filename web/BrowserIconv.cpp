// iconv for the page, on the browser's own TextDecoder. musl's iconv carries
// the tables of every legacy code page, which were two thirds of the page's
// compressed bytes; the browser has GB18030 and UTF-16 already. It converts
// to UTF-8 from GB18030, UTF-16LE and UTF-16BE, all that decodeText asks, and
// like iconv it stops at the first byte of a sequence that cannot be read.
// Where the browser's GB18030 and glibc's part, glibc's reading is kept, so
// that the page reads or refuses a file exactly as the command line does.

#include <emscripten.h>
#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string_view>

namespace {

constexpr const char* sources[] = {"GB18030", "UTF-16LE", "UTF-16BE"};
constexpr std::uintptr_t gb18030 = 1;  // the handle of sources[0]

// Decodes bytes[0, length) into UTF-8 at out when it fits in capacity. Sets
// *consumed to the bytes read up to the first sequence that cannot be read
// (length when all can), *written to the UTF-8 bytes written, and returns 0
// when all was read, 1 for a bad sequence, 2 for one cut off at the end, 3
// when the output does not fit (and then nothing is consumed).
EM_JS(int, decodeInBrowser, (const char* label, const std::uint8_t* bytes, std::size_t length, std::uint8_t* out,
                             std::size_t capacity, std::size_t* consumed, std::size_t* written), {
  const input = HEAPU8.subarray(bytes, bytes + length);
  const decoder = () => new TextDecoder(UTF8ToString(label), { fatal: true, ignoreBOM: true });
  const reads = (n, stream) => { try { decoder().decode(input.subarray(0, n), { stream }); return true; } catch { return false; } };
  let good = length;
  let status = 0;
  if (!reads(length, false)) {
    // The first length at which reading fails, then the last whole character before it.
    let low = 0;
    let high = length + 1;
    while (low + 1 < high) {
      const middle = (low + high) >> 1;
      if (reads(middle, true)) low = middle; else high = middle;
    }
    good = low;
    while (good > 0 && !reads(good, false)) --good;
    status = high > length ? 2 : 1;
  }
  const text = new TextEncoder().encode(decoder().decode(input.subarray(0, good)));
  if (text.length > capacity) {
    HEAPU32[consumed >> 2] = 0;
    HEAPU32[written >> 2] = 0;
    return 3;
  }
  HEAPU8.set(text, out);
  HEAPU32[consumed >> 2] = good;
  HEAPU32[written >> 2] = text.length;
  return status;
});

// GB18030 sequences that glibc reads otherwise than the browser: a lone
// 0x80 (the browser's "€") and eighteen four-byte codes it refuses, seven
// two-byte codes it reads as other characters (nullptr: refused).
struct Gb18030Exception {
    std::string_view bytes;
    const char* utf8;
};

constexpr Gb18030Exception gb18030Exceptions[] = {
    {"\x80", nullptr},
    {"\xA3\xA0", "\uE5E5"},
    {"\xFE\x51", "\U00020087"},
    {"\xFE\x52", "\U00020089"},
    {"\xFE\x53", "\U000200CC"},
    {"\xFE\x6C", "\U000215D7"},
    {"\xFE\x76", "\U0002298F"},
    {"\xFE\x91", "\U000241FE"},
};

// The four-byte codes glibc refuses, as ranges of their linear number.
constexpr std::uint32_t linear(std::uint8_t a, std::uint8_t b, std::uint8_t c, std::uint8_t d) {
    return ((static_cast<std::uint32_t>(a - 0x81) * 10 + (b - 0x30)) * 126 + (c - 0x81)) * 10 + (d - 0x30);
}
constexpr std::uint32_t refusedFourByteCodes[][2] = {
    {linear(0x82, 0x35, 0x90, 0x37), linear(0x82, 0x35, 0x91, 0x34)},
    {linear(0x84, 0x31, 0x82, 0x36), linear(0x84, 0x31, 0x83, 0x35)},
};

bool isRefusedFourByteCode(const std::uint8_t* code) {
    const std::uint32_t number = linear(code[0], code[1], code[2], code[3]);
    return std::any_of(std::begin(refusedFourByteCodes), std::end(refusedFourByteCodes),
                       [number](const auto& range) { return number >= range[0] && number <= range[1]; });
}

// The first of those exceptions at or after `from`, stepping from character
// to character; `length` if none. The browser reads up to it and stops
// anyway at any broken sequence before it.
struct Found {
    std::size_t at;
    std::size_t length = 0;
    const char* utf8 = nullptr;
};

Found nextGb18030Exception(const std::uint8_t* bytes, std::size_t length, std::size_t from) {
    std::size_t at = from;
    while (at < length) {
        const std::uint8_t lead = bytes[at];
        const bool fourBytes = lead >= 0x81 && lead <= 0xFE && at + 1 < length && bytes[at + 1] >= 0x30 && bytes[at + 1] <= 0x39;
        if (fourBytes && at + 4 <= length && isRefusedFourByteCode(bytes + at)) return {at, 4, nullptr};
        for (const Gb18030Exception& exception : gb18030Exceptions) {
            const std::string_view here(reinterpret_cast<const char*>(bytes + at), std::min(length - at, exception.bytes.size()));
            if (here == exception.bytes) return {at, exception.bytes.size(), exception.utf8};
        }
        at += lead < 0x80 ? 1 : fourBytes ? 4 : 2;
    }
    return {length};
}

struct Step {
    int status;
    std::size_t consumed;
    std::size_t written;
};

Step decodeGb18030(const std::uint8_t* bytes, std::size_t length, std::uint8_t* out, std::size_t capacity) {
    Step done{0, 0, 0};
    while (done.consumed < length) {
        const Found exception = nextGb18030Exception(bytes, length, done.consumed);
        Step step{0, 0, 0};
        step.status = decodeInBrowser(sources[0], bytes + done.consumed, exception.at - done.consumed, out + done.written,
                                      capacity - done.written, &step.consumed, &step.written);
        done.consumed += step.consumed;
        done.written += step.written;
        if (step.status != 0 || exception.at == length) return {step.status, done.consumed, done.written};
        if (exception.utf8 == nullptr) return {1, done.consumed, done.written};
        const std::size_t size = std::strlen(exception.utf8);
        if (size > capacity - done.written) return {3, done.consumed, done.written};
        std::memcpy(out + done.written, exception.utf8, size);
        done.consumed += exception.length;
        done.written += size;
    }
    return done;
}

}  // namespace

extern "C" {

iconv_t iconv_open(const char* to, const char* from) {
    for (std::uintptr_t k = 0; k < std::size(sources); ++k) {
        if (std::strcmp(to, "UTF-8") == 0 && std::strcmp(from, sources[k]) == 0) {
            return reinterpret_cast<iconv_t>(k + 1);
        }
    }
    errno = EINVAL;
    return reinterpret_cast<iconv_t>(-1);
}

std::size_t iconv(iconv_t handle, char** in, std::size_t* inLeft, char** out, std::size_t* outLeft) {
    if (in == nullptr || *in == nullptr) return 0;  // no shift state to reset
    const auto source = reinterpret_cast<std::uintptr_t>(handle);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(*in);
    auto* output = reinterpret_cast<std::uint8_t*>(*out);
    std::size_t consumed = 0;
    std::size_t written = 0;
    int status = 0;
    if (source == gb18030) {
        const Step step = decodeGb18030(bytes, *inLeft, output, *outLeft);
        status = step.status;
        consumed = step.consumed;
        written = step.written;
    } else {
        status = decodeInBrowser(sources[source - 1], bytes, *inLeft, output, *outLeft, &consumed, &written);
    }
    *in += consumed;
    *inLeft -= consumed;
    *out += written;
    *outLeft -= written;
    if (status == 0) return 0;
    errno = status == 1 ? EILSEQ : status == 2 ? EINVAL : E2BIG;
    return static_cast<std::size_t>(-1);
}

int iconv_close(iconv_t) { return 0; }

}  // extern "C"
