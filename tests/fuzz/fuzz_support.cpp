// fuzz_support.cpp: see fuzz_support.h.
#include "tests/fuzz/fuzz_support.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

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

bool FuzzWriteFile(const std::string& path, const void* data, size_t size) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    bool ok = size == 0 || std::fwrite(data, size, 1, file) == 1;
    return std::fclose(file) == 0 && ok;
}

bool FuzzReadFile(const std::string& path, std::string* contents) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    contents->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

bool FuzzFileExists(const std::string& path) {
    std::error_code ignored;
    return fs::exists(path, ignored);
}

int FuzzCountTemporaryFiles(const std::string& folder) {
    int count = 0;
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(folder, ignored)) {
        if (entry.path().filename().string().find("~tlf") != std::string::npos) ++count;
    }
    return count;
}

void FuzzEnterScratchFolder() {
    if (chdir(FuzzScratchFolder().c_str()) != 0) {
        std::perror("chdir");
        std::abort();
    }
}

std::string FuzzFontFolder() { return std::string(TLF_SOURCE_DIR) + "/data/fonts"; }
