// posix_wildcard.cpp: Windows-style name patterns for the POSIX folder listing.
#include "platform/posix/posix_wildcard.h"

#include <cctype>
#include <cstring>
#include <string>

namespace {

char Fold(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    return u < 0x80 ? static_cast<char>(std::tolower(u)) : c;
}

// Classic greedy matching with backtracking to the last star.
bool MatchPlain(const char* pattern, const char* name) {
    const char* star = nullptr;
    const char* resume = nullptr;
    while (*name) {
        if (*pattern == '*') {
            star = pattern++;
            resume = name;
        } else if (*pattern == '?' || (*pattern && Fold(*pattern) == Fold(*name))) {
            ++pattern;
            ++name;
        } else if (star) {
            pattern = star + 1;
            name = ++resume;
        } else {
            return false;
        }
    }
    while (*pattern == '*') ++pattern;
    return *pattern == 0;
}

}  // namespace

bool MatchesWildcard(const char* pattern, const char* name) {
    if (!pattern || !name) return false;
    if (MatchPlain(pattern, name)) return true;
    size_t length = std::strlen(pattern);
    if (length >= 2 && pattern[length - 2] == '.' && pattern[length - 1] == '*' && !std::strchr(name, '.'))
        return MatchPlain(std::string(pattern, length - 2).c_str(), name);
    return false;
}
