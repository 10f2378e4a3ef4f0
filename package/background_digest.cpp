// background_digest.cpp: see background_digest.h.
#include "package/background_digest.h"

#include <condition_variable>
#include <mutex>
#include <new>
#include <thread>

// Two chunks in the worker's hands at most: it hashes one while the next waits, so neither side
// waits for the other unless it is a whole chunk ahead.
enum { kSlots = 2 };

struct BackgroundDigest {
    PlatformSha256* hash = nullptr;
    const unsigned char* chunks[kSlots] = {};  // the caller's bytes handed over
    size_t sizes[kSlots] = {};                 // 0: the slot is free
    int next = 0;                              // the slot the caller fills next
    int hashing = 0;                           // the slot the worker hashes next
    bool ending = false;
    std::mutex lock;
    std::condition_variable changed;
    std::thread worker;
};

namespace {

void HashChunks(BackgroundDigest* digest) {
    std::unique_lock<std::mutex> guard(digest->lock);
    for (;;) {
        const int slot = digest->hashing;
        digest->changed.wait(guard, [digest, slot] { return digest->sizes[slot] > 0 || digest->ending; });
        if (digest->sizes[slot] == 0) return;  // ending, nothing left
        const size_t size = digest->sizes[slot];
        guard.unlock();
        PlatformSha256Add(digest->hash, digest->chunks[slot], size);
        guard.lock();
        digest->sizes[slot] = 0;
        digest->hashing = (slot + 1) % kSlots;
        digest->changed.notify_all();
    }
}

void WaitForFreeSlot(BackgroundDigest* digest, int slot, std::unique_lock<std::mutex>& guard) {
    digest->changed.wait(guard, [digest, slot] { return digest->sizes[slot] == 0; });
}

}  // namespace

BackgroundDigest* BackgroundDigestBegin() {
    BackgroundDigest* digest = new (std::nothrow) BackgroundDigest;
    if (digest == nullptr) return nullptr;
    digest->hash = PlatformSha256Begin();
    if (digest->hash != nullptr) {
        try {
            digest->worker = std::thread(HashChunks, digest);
            return digest;
        } catch (...) {
            // No thread to be had: the digest is refused like one without memory.
        }
    }
    uint8_t ignored[Sha256DigestSize];
    PlatformSha256End(digest->hash, ignored);
    delete digest;
    return nullptr;
}

void BackgroundDigestAdd(BackgroundDigest* digest, const void* bytes, size_t count) {
    if (digest == nullptr || count == 0) return;
    const int slot = digest->next;
    std::unique_lock<std::mutex> guard(digest->lock);
    WaitForFreeSlot(digest, slot, guard);
    digest->chunks[slot] = static_cast<const unsigned char*>(bytes);
    digest->sizes[slot] = count;
    digest->next = (slot + 1) % kSlots;
    digest->changed.notify_all();
}

void BackgroundDigestSettle(BackgroundDigest* digest) {
    if (digest == nullptr) return;
    std::unique_lock<std::mutex> guard(digest->lock);
    for (int slot = 0; slot < kSlots; ++slot) WaitForFreeSlot(digest, slot, guard);
}

bool BackgroundDigestEnd(BackgroundDigest* digest, uint8_t result[Sha256DigestSize]) {
    if (digest == nullptr) return false;
    BackgroundDigestSettle(digest);
    {
        std::unique_lock<std::mutex> guard(digest->lock);
        digest->ending = true;
        digest->changed.notify_all();
    }
    digest->worker.join();
    const bool done = PlatformSha256End(digest->hash, result);
    delete digest;
    return done;
}
