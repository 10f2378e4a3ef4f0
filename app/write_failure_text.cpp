// write_failure_text.cpp: see write_failure_text.h, and the reason and advice lookups of texts.h.
#include "app/write_failure_text.h"

#include <cstdio>
#include <cstring>

#include "app/installer_app.h"
#include "app/texts.h"

const LocalisedText& WriteFailureReasonText(int32_t reason) {
    switch (reason) {
    case WriteFailureAccessDenied:
        return AccessDeniedText;
    case WriteFailureInUse:
        return FileInUseText;
    case WriteFailureDiskFull:
        return DiskFullText;
    case WriteFailureFolderMissing:
        return FolderMissingText;
    case WriteFailureNameTooLong:
        return NameTooLongText;
    case WriteFailureNotPlainFolder:
        return NotPlainFolderText;
    default:
        return WriteRefusedText;
    }
}

const LocalisedText& WriteFailureAdviceText(int32_t reason) {
    switch (reason) {
    case WriteFailureDiskFull:
        return FreeSpaceAdvice;
    case WriteFailureFolderMissing:
    case WriteFailureNameTooLong:
    case WriteFailureNotPlainFolder:
        return ChooseFolderAdvice;
    default:
        return CloseProgramsAdvice;
    }
}

void FormatMegabytes(int64_t bytes, bool roundUp, char* text, size_t size) {
    const int64_t megabyte = 1024 * 1024;
    if (bytes < 0) bytes = 0;
    int64_t whole = bytes / megabyte;
    if (roundUp && bytes % megabyte != 0) ++whole;
    std::snprintf(text, size, "%lld MB", static_cast<long long>(whole));
}

void FileNameInGame(const char* file, const char* gameFolder, char* name, size_t size) {
    const size_t folderLength = std::strlen(gameFolder);
    if (folderLength > 0 && std::strncmp(file, gameFolder, folderLength) == 0 && file[folderLength] == '\\')
        file += folderLength + 1;
    std::snprintf(name, size, "%s", file);
}

void WriteFailureReasonLine(const WriteFailureRecord& failure, int32_t language, char* text, size_t size) {
    if (failure.bytesNeeded >= 0 && failure.bytesFree >= 0) {
        char needed[32];
        char available[32];
        FormatMegabytes(failure.bytesNeeded, true, needed, sizeof needed);
        FormatMegabytes(failure.bytesFree, false, available, sizeof available);
        std::snprintf(text, size, NotEnoughSpaceText[language], needed, available);
        return;
    }
    std::snprintf(text, size, "%s", WriteFailureReasonText(failure.reason)[language]);
}
