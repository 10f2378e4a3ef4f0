// list_signature.cpp: CheckSignedList of list_signature.h.
#include "package/list_signature.h"

#include <cstdio>

#include "package/der_signature.h"
#include "package/publisher_keys.h"
#include "platform/platform_system.h"

const char SignatureFileName[] = "SHA256SUMS.sig";

namespace {

// Reads "SHA256SUMS.sig" into r||s: NoSignature when it does not open as a file, BadSignature
// when it is longer than any signature or not one.
SignedListFault ReadSignature(uint8_t raw[P256RawSignatureSize]) {
    FILE* file = PlatformOpenFile(SignatureFileName, "rb");
    if (file == nullptr) return SignedListNoSignature;
    uint8_t der[DerSignatureMaxSize + 1];
    const size_t length = std::fread(der, 1, sizeof der, file);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) return SignedListNoSignature;
    return ReadDerSignature(der, length, raw) ? SignedListFine : SignedListBadSignature;
}

}  // namespace

SignedListCheck CheckSignedList(const char* bytes, size_t length, const ChecksumList& list, const char* readme) {
    if (PublisherKeyCount == 0) return {SignedListFine, nullptr, -1};
    if (list.state == ChecksumListAbsent) return {SignedListNoList, ChecksumListName, -1};
    uint8_t raw[P256RawSignatureSize];
    const SignedListFault read = ReadSignature(raw);
    if (read != SignedListFine) return {read, SignatureFileName, -1};
    int key = -1;
    for (int i = 0; i < PublisherKeyCount && key < 0; ++i) {
        if (PlatformVerifyP256(PublisherKeys[i].der, PublisherKeys[i].length, bytes, length, raw)) key = i;
    }
    if (key < 0) return {SignedListBadSignature, SignatureFileName, -1};
    // A signed list that names no "update.dat" (foreign, no lines) misses "update.dat" first.
    if (list.state != ChecksumListMalformed) {
        const char* unlisted = FirstUnlistedFile(list, readme);
        if (unlisted != nullptr) return {SignedListUnlisted, unlisted, key};
    }
    return {SignedListFine, nullptr, key};
}
