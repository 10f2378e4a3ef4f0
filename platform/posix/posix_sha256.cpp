// posix_sha256.cpp: the SHA-256 of platform_system.h on POSIX, over OpenSSL's libcrypto (EVP),
// which picks the processor's SHA extensions, AVX2 or SSSE3 code at run time.
#include <openssl/evp.h>

#include <new>

#include "platform/platform_system.h"

struct PlatformSha256 {
    EVP_MD_CTX* context;
    bool failed;
};

PlatformSha256* PlatformSha256Begin() {
    EVP_MD_CTX* context = EVP_MD_CTX_new();
    if (context == nullptr) return nullptr;
    if (EVP_DigestInit_ex(context, EVP_sha256(), nullptr) != 1) {
        EVP_MD_CTX_free(context);
        return nullptr;
    }
    PlatformSha256* digest = new (std::nothrow) PlatformSha256{context, false};
    if (digest == nullptr) {
        EVP_MD_CTX_free(context);
        return nullptr;
    }
    return digest;
}

void PlatformSha256Add(PlatformSha256* digest, const void* bytes, size_t count) {
    if (digest == nullptr || count == 0) return;
    if (EVP_DigestUpdate(digest->context, bytes, count) != 1) digest->failed = true;
}

bool PlatformSha256End(PlatformSha256* digest, uint8_t result[Sha256DigestSize]) {
    if (digest == nullptr) return false;
    unsigned int length = 0;
    bool done = !digest->failed && EVP_DigestFinal_ex(digest->context, result, &length) == 1 && length == Sha256DigestSize;
    EVP_MD_CTX_free(digest->context);
    delete digest;
    return done;
}
