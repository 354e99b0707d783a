#include "formats/Sha1.h"

#include <openssl/evp.h>

#include <new>

namespace varnel {
namespace {

class OpenSslSha1 : public Sha1Hasher {
public:
    OpenSslSha1() : context_(EVP_MD_CTX_new()) {
        if (context_ == nullptr || EVP_DigestInit_ex(context_, EVP_sha1(), nullptr) != 1) {
            EVP_MD_CTX_free(context_);
            throw std::bad_alloc();
        }
    }
    ~OpenSslSha1() override { EVP_MD_CTX_free(context_); }
    OpenSslSha1(const OpenSslSha1&) = delete;
    OpenSslSha1& operator=(const OpenSslSha1&) = delete;

    void add(std::span<const std::uint8_t> bytes) override { EVP_DigestUpdate(context_, bytes.data(), bytes.size()); }

    Sha1Digest finish() override {
        Sha1Digest digest{};
        unsigned length = 0;
        EVP_DigestFinal_ex(context_, digest.data(), &length);
        return digest;
    }

private:
    EVP_MD_CTX* context_;
};

}  // namespace

std::unique_ptr<Sha1Hasher> makeSha1Hasher() { return std::make_unique<OpenSslSha1>(); }

}  // namespace varnel
