// fuzz_der_signature.cpp: any bytes as "SHA256SUMS.sig", read by the one DER reader of both
// systems before any key is tried.
//
// The bytes lie in a heap block of exactly their size, so AddressSanitizer sees any read past it.
// Promises checked, for every input the reader accepts:
// - r and s are nonzero and it is the only encoding of them: the canonical DER of r||s, written
//   here independently, is the input byte for byte;
// - libcrypto's own DER reader (what verifies on Linux) reads the input to the same r and s.
#include <openssl/bn.h>
#include <openssl/ecdsa.h>

#include <cstring>
#include <memory>
#include <vector>

#include "package/der_signature.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

// INTEGER of a 32-byte big-endian scalar: leading zeros dropped, a zero added before a high bit.
void AppendInteger(std::vector<uint8_t>& out, const uint8_t* scalar) {
    size_t skip = 0;
    while (skip < P256ScalarSize - 1 && scalar[skip] == 0) ++skip;
    const bool pad = (scalar[skip] & 0x80) != 0;
    out.push_back(0x02);
    out.push_back(static_cast<uint8_t>(P256ScalarSize - skip + pad));
    if (pad) out.push_back(0);
    out.insert(out.end(), scalar + skip, scalar + P256ScalarSize);
}

bool IsZero(const uint8_t* scalar) {
    for (int i = 0; i < P256ScalarSize; ++i)
        if (scalar[i] != 0) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::unique_ptr<uint8_t[]> der(new uint8_t[size == 0 ? 1 : size]);
    if (size > 0) std::memcpy(der.get(), data, size);
    uint8_t raw[P256RawSignatureSize];
    if (!ReadDerSignature(der.get(), size, raw)) return 0;
    FUZZ_CHECK(!IsZero(raw) && !IsZero(raw + P256ScalarSize), "r and s are nonzero");

    std::vector<uint8_t> canonical;
    AppendInteger(canonical, raw);
    AppendInteger(canonical, raw + P256ScalarSize);
    canonical.insert(canonical.begin(), {0x30, static_cast<uint8_t>(canonical.size())});
    FUZZ_CHECK(canonical.size() == size && std::memcmp(canonical.data(), der.get(), size) == 0,
               "an accepted signature is the one DER encoding of its r and s");

    const unsigned char* next = der.get();
    ECDSA_SIG* theirs = d2i_ECDSA_SIG(nullptr, &next, static_cast<long>(size));
    FUZZ_CHECK(theirs != nullptr && next == der.get() + size, "libcrypto reads an accepted signature whole");
    uint8_t r[P256ScalarSize], s[P256ScalarSize];
    FUZZ_CHECK(BN_bn2binpad(ECDSA_SIG_get0_r(theirs), r, P256ScalarSize) == P256ScalarSize &&
                   BN_bn2binpad(ECDSA_SIG_get0_s(theirs), s, P256ScalarSize) == P256ScalarSize,
               "libcrypto's r and s fit 32 bytes");
    FUZZ_CHECK(std::memcmp(r, raw, P256ScalarSize) == 0 && std::memcmp(s, raw + P256ScalarSize, P256ScalarSize) == 0,
               "libcrypto reads the same r and s");
    ECDSA_SIG_free(theirs);
    return 0;
}
