// scratch_files.cpp: see scratch_files.h. Uses only the C++ standard library, so it builds for Linux
// and for Windows alike.
#include "tools/wizard_driver/scratch_files.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>

namespace fs = std::filesystem;

TempFolder::TempFolder() {
    static std::atomic<unsigned> counter{0};
    std::mt19937_64 random(std::chrono::steady_clock::now().time_since_epoch().count());
    for (;;) {
        fs::path candidate = fs::temp_directory_path() /
                             ("tlftest-" + std::to_string(random() % 1000000000) + "-" + std::to_string(counter++));
        std::error_code error;
        if (fs::create_directory(candidate, error)) {
            path = candidate.string();
            return;
        }
    }
}

TempFolder::~TempFolder() {
    std::error_code error;
    // Read-only files left by a test must not keep their folder alive.
    for (auto it = fs::recursive_directory_iterator(path, error); !error && it != fs::recursive_directory_iterator();
         it.increment(error)) {
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, error);
    }
    fs::remove_all(path, error);
}

std::string TempFolder::Join(const std::string& name) const { return (fs::path(path) / name).string(); }

ScopedCurrentFolder::ScopedCurrentFolder(const std::string& folder) {
    previous = fs::current_path().string();
    fs::current_path(folder);
}

ScopedCurrentFolder::~ScopedCurrentFolder() {
    std::error_code error;
    fs::current_path(previous, error);
}

bool WriteFileBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

bool WriteFileText(const std::string& path, const std::string& text) {
    return WriteFileBytes(path, std::vector<unsigned char>(text.begin(), text.end()));
}

bool ReadFileBytes(const std::string& path, std::vector<unsigned char>* bytes) {
    std::error_code error;
    if (fs::is_directory(path, error)) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

bool FileExists(const std::string& path) {
    std::error_code error;
    return fs::exists(path, error);
}

std::vector<std::string> ListFolder(const std::string& path) {
    std::vector<std::string> names;
    std::error_code error;
    for (auto it = fs::directory_iterator(path, error); !error && it != fs::directory_iterator(); it.increment(error))
        names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

bool MakeFolder(const std::string& path) {
    std::error_code error;
    fs::create_directory(path, error);
    return fs::is_directory(path, error);
}

std::string SourcePath(const std::string& relative) {
#ifdef _WIN32
    return std::string("Z:") + TLF_SOURCE_DIR + "/" + relative;
#else
    return std::string(TLF_SOURCE_DIR) + "/" + relative;
#endif
}
