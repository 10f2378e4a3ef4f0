// scratch_files.h: real files in fresh temporary folders for the tests, the fuzz targets and the
// page renderer, on Linux and under Wine.
#pragma once

#include <string>
#include <vector>

// A new empty folder under the system's temporary folder, removed with everything in it when
// the object goes away. path has no trailing separator and uses the native separator.
struct TempFolder {
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    // path + separator + name
    std::string Join(const std::string& name) const;
    std::string path;
};

// Makes `folder` the current working folder for the object's life, then goes back.
struct ScopedCurrentFolder {
    explicit ScopedCurrentFolder(const std::string& folder);
    ~ScopedCurrentFolder();
    std::string previous;
};

// Whole-file helpers; ReadFileBytes returns false when the file cannot be read.
bool WriteFileBytes(const std::string& path, const std::vector<unsigned char>& bytes);
bool WriteFileText(const std::string& path, const std::string& text);
bool ReadFileBytes(const std::string& path, std::vector<unsigned char>* bytes);
bool FileExists(const std::string& path);
// Names of the entries of a folder, "." and ".." left out, sorted.
std::vector<std::string> ListFolder(const std::string& path);
// Creates a folder (and no parents); true when it exists afterwards.
bool MakeFolder(const std::string& path);

// A path below the source tree, native (under Wine through the drive that maps "/").
std::string SourcePath(const std::string& relative);
