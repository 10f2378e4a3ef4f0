// posix_path_map.cpp: the path mapping of the POSIX backend (see posix_path_map.h).
#include "platform/posix/posix_path_map.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cctype>

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x < 0x80) x = static_cast<unsigned char>(std::tolower(x));
        if (y < 0x80) y = static_cast<unsigned char>(std::tolower(y));
        if (x != y) return false;
    }
    return true;
}

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The name of `folder`'s entry that stands for `component`, or empty when there is none.
std::string FindEntry(const std::string& folder, const std::string& component, const FolderLister& listFolder) {
    std::vector<std::string> names;
    if (!listFolder(folder, &names)) return std::string();
    std::string best;
    for (const std::string& name : names) {
        if (name == component) return name;
        if (EqualIgnoringCase(name, component) && (best.empty() || name < best)) best = name;
    }
    return best;
}

}  // namespace

std::string MapGamePath(const std::string& path, const FolderLister& listFolder) {
    std::string rest = path;
    bool absolute = false;
    if (rest.size() >= 2 && rest[1] == ':' && std::isalpha(static_cast<unsigned char>(rest[0]))) {
        rest.erase(0, 2);
        absolute = true;
    }
    if (!rest.empty() && IsSeparator(rest[0])) absolute = true;
    bool trailingSeparator = !rest.empty() && IsSeparator(rest.back());

    std::vector<std::string> components;
    size_t start = 0;
    while (start <= rest.size()) {
        size_t end = start;
        while (end < rest.size() && !IsSeparator(rest[end])) ++end;
        if (end > start) components.push_back(rest.substr(start, end - start));
        start = end + 1;
    }

    std::string mapped = absolute ? "/" : "";
    bool searching = true;
    for (size_t i = 0; i < components.size(); ++i) {
        std::string name = components[i];
        if (searching && name != "." && name != "..") {
            std::string folder = mapped.empty() ? "." : mapped;
            std::string found = FindEntry(folder, name, listFolder);
            if (found.empty())
                searching = false;
            else
                name = found;
        }
        if (!mapped.empty() && mapped.back() != '/') mapped += '/';
        mapped += name;
    }
    if (trailingSeparator && !mapped.empty() && mapped.back() != '/') mapped += '/';
    return mapped;
}

namespace {

bool ListNativeFolder(const std::string& folder, std::vector<std::string>* names) {
    DIR* dir = opendir(folder.c_str());
    if (!dir) return false;
    while (dirent* entry = readdir(dir)) names->push_back(entry->d_name);
    closedir(dir);
    return true;
}

}  // namespace

std::string MapToNativePath(const char* path) {
    if (!path) return std::string();
    std::string plain = path;
    bool hasDrive = plain.size() >= 2 && plain[1] == ':' && std::isalpha(static_cast<unsigned char>(plain[0]));
    if (!hasDrive) {
        // When every component exists under its exact name the mapping is the path itself with
        // slashes, so one lstat spares the folder listings on the common path.
        for (char& c : plain)
            if (c == '\\') c = '/';
        struct stat info;
        if (plain.find("//") == std::string::npos && lstat(plain.c_str(), &info) == 0) return plain;
    }
    return MapGamePath(path, ListNativeFolder);
}
