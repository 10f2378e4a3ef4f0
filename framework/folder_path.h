// folder_path.h: FolderPath, the framework's folder: one folder path that can be moved (to the
// current working folder, a data folder, a drive, up, down), can create subfolders, list its
// entries and join a file name to itself.
//
// Every FileStream is opened relative to a FolderPath; the installer makes one at the current
// working folder for the font loader. Paths are joined the installer's way, "%s\%s", and hold at
// most 499 characters: a join that would not fit is refused (false, null or an empty text) and
// the path stays as it was. Nothing here shows a message. When the state block cannot be
// allocated, every operation fails quietly.
#pragma once

#include <cstdint>

// What BeginListing lists.
enum FolderListingKind : int32_t {
    ListNothing = 0,  // no listing, or the listing is exhausted
    ListFolders = 1,  // subfolders, never "." or ".."
    ListFiles = 2,    // entries that are not folders
};

enum : int { FolderPathCapacity = 500 };  // characters of a path, its zero included

struct FolderPathState;

class FolderPath {
public:
    // Starts at the current working folder.
    FolderPath();
    // Ends an open listing.
    ~FolderPath();
    FolderPath(const FolderPath&) = delete;
    FolderPath& operator=(const FolderPath&) = delete;

    // The current path text; empty when there is no state block.
    const char* GetPath() const;

    // Takes the current working folder, without a trailing backslash (a drive root "D:\" is held
    // as "D:"). False, and the path unchanged, when it cannot be told.
    bool SetToCurrentFolder();
    // True when the path names an existing folder (a file that cannot be read is not one).
    static bool IsFolder(const char* path);
    // Moves to "x:\platform\data" / "x:\vqr\data" (development) or to the current working
    // folder + "\data"; when that is not a folder, falls back to the current working folder and
    // returns false.
    bool SetToPlatformDataFolder(bool useDevelopmentPath);
    bool SetToProductDataFolder(bool useDevelopmentPath);

    // The number of logical drives; 0 when they cannot be told.
    uint16_t DriveCount();
    // The drive with the 0-based index ("D:\"; "/" on Linux), or null. The text is shared by all
    // objects and stays valid until the next call.
    const char* DriveName(int index);
    // Moves to a drive root, backslash kept ("D:\"). False when there is no such drive.
    bool SetToDrive(int index);

    // Cuts the path at its last separator; true when the result is a folder and became the path.
    bool GoToParent();
    // Moves into the subfolder `name`; false when that is not a folder.
    bool EnterFolder(const char* name);
    // Creates the subfolder `name` (an existing one is fine) and enters it when `enter` is set.
    // False when the path is not a folder or the subfolder is not one afterwards.
    bool CreateFolder(const char* name, bool enter);

    // Starts listing the entries of the folder; false when the path is not a folder or it holds
    // nothing. Ends a listing already open.
    bool BeginListing(FolderListingKind kind);
    // The name of the next entry of the kind asked for, or null when there is none. The text
    // stays valid until the next call.
    const char* NextListed();
    // Ends the listing (also called by BeginListing and the destructor).
    void EndListing();

    // Path + "\" + name in a text shared by all objects (valid until the next call); empty when
    // there is no state block or the join does not fit.
    const char* FullPathOf(const char* name);

private:
    FolderPathState* state_;
};

// Joins folder and name with a backslash into buffer; false (buffer untouched) when the result
// with its zero would not fit. Used by FolderPath and FileStream.
bool JoinGamePath(char* buffer, unsigned size, const char* folder, const char* name);
