// posix_path_map.h: how the POSIX backend turns the installer's Windows-style paths into native ones.
//
// Every file and folder function of platform/posix calls MapToNativePath before it touches the
// system. The portable code joins paths with backslashes and expects names to compare without
// regard to case, so the mapping
//   - turns every backslash into a slash and drops empty components ("a\\b" is "a/b");
//   - drops a leading drive prefix ("C:", "x:") and roots what follows it: Linux has one drive,
//     "/", so "C:\Games\TLF" is "/Games/TLF" and "C:" alone is "/";
//   - keeps each component that exists under its exact name; otherwise takes the entry of its
//     folder that equals it without regard to ASCII letter case (the smallest such name in byte
//     order when several do); once a component is found neither way, it and everything after it
//     are kept as given, so a file that is about to be created keeps its name.
// "." and ".." are kept as they are; a trailing separator is kept. Letters outside ASCII are
// compared exactly.
#pragma once

#include <functional>
#include <string>
#include <vector>

// Lists the names in a native folder (as readdir gives them); false when it cannot be read.
using FolderLister = std::function<bool(const std::string& folder, std::vector<std::string>* names)>;

// The mapping itself, with the folder listing supplied by the caller (tests pass a fake tree).
std::string MapGamePath(const std::string& path, const FolderLister& listFolder);

// The mapping against the real file system.
std::string MapToNativePath(const char* path);

// True when a and b are equal without regard to ASCII letter case.
bool EqualIgnoringCase(const std::string& a, const std::string& b);
