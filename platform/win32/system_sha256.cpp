// system_sha256.cpp: the SHA-256 of platform_system.h on Windows, over the system's CNG
// (bcrypt.dll), which uses the processor's SHA extensions where Windows has code for them.
#include <windows.h>

#include <bcrypt.h>

#include <new>

#include "platform/platform_system.h"

struct PlatformSha256 {
    BCRYPT_ALG_HANDLE algorithm;
    BCRYPT_HASH_HANDLE hash;
    bool failed;
};

PlatformSha256* PlatformSha256Begin() {
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    if (BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0) != 0) return nullptr;
    BCRYPT_HASH_HANDLE hash = nullptr;
    // Without an object buffer CNG allocates the hash object itself (Windows 7 and later).
    if (BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0) != 0) {
        BCryptCloseAlgorithmProvider(algorithm, 0);
        return nullptr;
    }
    PlatformSha256* digest = new (std::nothrow) PlatformSha256{algorithm, hash, false};
    if (digest == nullptr) {
        BCryptDestroyHash(hash);
        BCryptCloseAlgorithmProvider(algorithm, 0);
        return nullptr;
    }
    return digest;
}

void PlatformSha256Add(PlatformSha256* digest, const void* bytes, size_t count) {
    if (digest == nullptr) return;
    const unsigned char* next = static_cast<const unsigned char*>(bytes);
    while (count > 0 && !digest->failed) {
        ULONG step = count > 0x40000000 ? 0x40000000 : static_cast<ULONG>(count);
        if (BCryptHashData(digest->hash, const_cast<PUCHAR>(next), step, 0) != 0) digest->failed = true;
        next += step;
        count -= step;
    }
}

bool PlatformSha256End(PlatformSha256* digest, uint8_t result[Sha256DigestSize]) {
    if (digest == nullptr) return false;
    bool done = !digest->failed && BCryptFinishHash(digest->hash, result, Sha256DigestSize, 0) == 0;
    BCryptDestroyHash(digest->hash);
    BCryptCloseAlgorithmProvider(digest->algorithm, 0);
    delete digest;
    return done;
}
