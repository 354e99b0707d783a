// iconv for the page, on the browser's own TextDecoder. musl's iconv carries
// the tables of every legacy code page, which were two thirds of the page's
// compressed bytes; the browser has GB18030 and UTF-16 already. It converts
// to UTF-8 from GB18030, UTF-16LE and UTF-16BE, all that decodeText asks, and
// like iconv it stops at the first byte of a sequence that cannot be read.

#include <emscripten.h>
#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <iterator>

namespace {

constexpr const char* sources[] = {"GB18030", "UTF-16LE", "UTF-16BE"};

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
    std::size_t consumed = 0;
    std::size_t written = 0;
    const int status = decodeInBrowser(sources[reinterpret_cast<std::uintptr_t>(handle) - 1],
                                       reinterpret_cast<const std::uint8_t*>(*in), *inLeft,
                                       reinterpret_cast<std::uint8_t*>(*out), *outLeft, &consumed, &written);
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
