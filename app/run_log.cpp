// run_log.cpp: writing the run's log file and its lines on standard error.
#include "app/run_log.h"

#include <cstdarg>
#include <ctime>

#include "platform/platform_system.h"

namespace {

void WriteLine(RunLog& log, bool toStandardError, const char* format, va_list arguments) {
    char text[1024];
    std::vsnprintf(text, sizeof text, format, arguments);
    if (log.file != nullptr) {
        char stamp[32] = "";
        const std::time_t now = std::time(nullptr);
        const std::tm* local = std::localtime(&now);
        if (local != nullptr) std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", local);
        std::fprintf(log.file, "%s %s\n", stamp, text);
        std::fflush(log.file);
    }
    if (toStandardError) {
        std::fprintf(stderr, "tlfupdate: %s\n", text);
        std::fflush(stderr);
    }
}

}  // namespace

bool OpenRunLog(RunLog& log, const char* path) {
    log.file = PlatformOpenFile(path, "a");
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
