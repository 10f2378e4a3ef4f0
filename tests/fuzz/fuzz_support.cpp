// fuzz_support.cpp: see fuzz_support.h.
#include "tests/fuzz/fuzz_support.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

std::string MakeScratchFolder() {
    std::string base = fs::is_directory("/dev/shm") ? "/dev/shm" : fs::temp_directory_path().string();
    std::string pattern = base + "/tlf-fuzz-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        std::abort();
    }
    return pattern;
}

void RemoveScratchFolder() {
    std::error_code ignored;
    fs::remove_all(FuzzScratchFolder(), ignored);
}

}  // namespace

const std::string& FuzzScratchFolder() {
    static const std::string folder = [] {
        std::string made = MakeScratchFolder();
        return made;
    }();
    static const bool cleanupRegistered = std::atexit(RemoveScratchFolder) == 0;
    (void)cleanupRegistered;
    return folder;
}

std::string FuzzScratchPath(const std::string& name) { return FuzzScratchFolder() + "/" + name; }

int FuzzCountTemporaryFiles(const std::string& folder) {
    const std::vector<std::string> names = ListFolder(folder);
    return static_cast<int>(std::count_if(names.begin(), names.end(),
                                          [](const std::string& name) { return name.find("~tlf") != std::string::npos; }));
}

void FuzzEnterScratchFolder() {
    if (chdir(FuzzScratchFolder().c_str()) != 0) {
        std::perror("chdir");
        std::abort();
    }
}

std::string FuzzFontFolder() { return std::string(TLF_SOURCE_DIR) + "/data/fonts"; }
