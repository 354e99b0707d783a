#pragma once
// SHA-1 of bytes fed in pieces, where the build has a library for it: OpenSSL
// in the native programs. The web page hashes in the browser instead, so its
// build has none.

#include <array>
#include <cstdint>
#include <memory>
#include <span>

namespace varnel {

using Sha1Digest = std::array<std::uint8_t, 20>;

class Sha1Hasher {
public:
    virtual ~Sha1Hasher() = default;
    virtual void add(std::span<const std::uint8_t> bytes) = 0;
    virtual Sha1Digest finish() = 0;
};

// Null where this build computes no SHA-1.
std::unique_ptr<Sha1Hasher> makeSha1Hasher();

}  // namespace varnel
