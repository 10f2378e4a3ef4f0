// der_signature.cpp: the strict reader of der_signature.h.
#include "package/der_signature.h"

#include <cstring>

namespace {

constexpr uint8_t SequenceTag = 0x30;
constexpr uint8_t IntegerTag = 0x02;

// One INTEGER at der[*at], within `end`: written right-aligned into 32 bytes of `out`.
bool ReadScalar(const uint8_t* der, size_t end, size_t* at, uint8_t out[P256ScalarSize]) {
    if (end - *at < 2 || der[*at] != IntegerTag) return false;
    const size_t length = der[*at + 1];
    const size_t start = *at + 2;
    // Short form only: a content of 128 bytes or more is never a P-256 scalar.
    if (length == 0 || length > end - start || length > P256ScalarSize + 1) return false;
    const uint8_t* bytes = der + start;
    if (bytes[0] & 0x80) return false;  // negative
    size_t skip = 0;
    if (bytes[0] == 0) {
        // A leading zero is minimal only before a high bit; a lone zero is the value 0.
        if (length == 1 || !(bytes[1] & 0x80)) return false;
        skip = 1;
    }
    const size_t significant = length - skip;
    if (significant > P256ScalarSize) return false;
    std::memset(out, 0, P256ScalarSize);
    std::memcpy(out + P256ScalarSize - significant, bytes + skip, significant);
    *at = start + length;
    return true;
}

}  // namespace

bool ReadDerSignature(const uint8_t* der, size_t length, uint8_t raw[P256RawSignatureSize]) {
    if (length < 2 || length > DerSignatureMaxSize || der[0] != SequenceTag) return false;
    // The content is at most 70 bytes: its length is one byte below 0x80, and all that follows.
    if (der[1] != length - 2) return false;
    size_t at = 2;
    return ReadScalar(der, length, &at, raw) && ReadScalar(der, length, &at, raw + P256ScalarSize) && at == length;
}
