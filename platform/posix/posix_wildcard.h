// posix_wildcard.h: the name patterns of a folder listing, matched as Windows matches them.
//
// Used by PlatformFindFirst (posix_folders.cpp). "*" stands for any run of characters, "?" for
// one; letters compare without regard to ASCII case. As on Windows, a pattern ending in ".*"
// also matches names without any dot ("*.*" matches every name, "readme.*" matches "README").
// Left out: the matching of 8.3 short names ("*.qst" does not match "a.qstx").
#pragma once

bool MatchesWildcard(const char* pattern, const char* name);
