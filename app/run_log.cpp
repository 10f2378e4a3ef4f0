// run_log.cpp: writing the run's log file and its lines on standard error.
#include "app/run_log.h"

#include <cerrno>
#include <cstdarg>
#include <ctime>

#include "app/texts.h"
#include "platform/platform_system.h"

namespace {

// Says on standard error, once, that the log cannot be written, and why; the log is given up so
// that the rest of the run neither writes half lines into it nor says so again.
void GiveUpLog(RunLog& log) {
    const char* reason = WriteFailureReasonText(PlatformLastWriteFailure())[LanguageEnglish];
    std::fclose(log.file);
    log.file = nullptr;
    std::fprintf(stderr, "tlfupdate: the log file \"%s\" cannot be written: %s\n", log.path.c_str(), reason);
    std::fflush(stderr);
}

void WriteLine(RunLog& log, bool toStandardError, const char* format, va_list arguments) {
    char text[1024];
    std::vsnprintf(text, sizeof text, format, arguments);
    if (log.file != nullptr) {
        char stamp[32] = "";
        const std::time_t now = std::time(nullptr);
        const std::tm* local = std::localtime(&now);
        if (local != nullptr) std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", local);
        errno = 0;
        if (std::fprintf(log.file, "%s %s\n", stamp, text) < 0 || std::fflush(log.file) != 0) GiveUpLog(log);
    }
    if (toStandardError) {
        std::fprintf(stderr, "tlfupdate: %s\n", text);
        std::fflush(stderr);
    }
}

}  // namespace

bool OpenRunLog(RunLog& log, const char* path) {
    log.file = PlatformOpenFile(path, "a");
    log.path = path;
    return log.file != nullptr;
}

void LogLine(RunLog& log, const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    WriteLine(log, log.progressToTerminal, format, arguments);
    va_end(arguments);
}

void LogFailure(RunLog& log, const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    WriteLine(log, log.toStandardError || log.progressToTerminal, format, arguments);
    va_end(arguments);
}

void CloseRunLog(RunLog& log) {
    if (log.file != nullptr) std::fclose(log.file);
    log.file = nullptr;
}
