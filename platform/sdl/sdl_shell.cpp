// sdl_shell.cpp: message boxes and opening documents for the SDL build.
//
// A message box is SDL's simple message box when a display exists; with none (no X server, as
// in pack mode on a build machine), or when SDL cannot show its box there (an X server without
// the fonts SDL's box needs, such as a bare Xvfb), the caption and text go to standard error as
// "caption: text" and the call returns as if OK had been pressed. Documents open with xdg-open, started detached and never
// waited for.
#include <fcntl.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/platform_display.h"
#include "platform/posix/posix_path_map.h"
#include "platform/sdl/sdl_backend.h"
#include "platform/text_convert.h"

void PlatformShowMessageBox(const char* caption, const char* text) {
    const std::string captionUtf8 = Windows1252ToUtf8(caption);
    const std::string textUtf8 = Windows1252ToUtf8(text);
    if (SdlVideoReady() &&
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, captionUtf8.c_str(), textUtf8.c_str(), nullptr) == 0) {
        return;
    }
    std::fprintf(stderr, "%s: %s\n", captionUtf8.c_str(), textUtf8.c_str());
    std::fflush(stderr);
}

// The usage goes to standard output: HELP is asked for in a terminal. A fault goes to standard
// error, where a script or a terminal sees it, and, when there is a display, to a message box
// too, for the person who started the program from a file manager (a VERYSILENT run never comes
// here). The text is UTF-8, as both want it.
void PlatformShowCommandLineText(const char* caption, const char* text, bool isError) {
    std::FILE* stream = isError ? stderr : stdout;
    std::fprintf(stream, "%s%s", text, text[0] != '\0' && text[std::strlen(text) - 1] == '\n' ? "" : "\n");
    std::fflush(stream);
    if (isError && SdlVideoReady()) SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption, text, nullptr);
}

void PlatformOpenDocument(const char* path) {
    if (path == nullptr) return;
    // The installer names the document with a Windows-style path; the file layer maps it.
    const std::string native = MapToNativePath(path);
    // Double fork: the middle child ends at once (and is reaped here), so xdg-open runs as an
    // orphan that nobody waits for and that leaves no zombie behind.
    const pid_t middle = fork();
    if (middle < 0) return;
    if (middle == 0) {
        setsid();
        const pid_t opener = fork();
        if (opener == 0) {
            const int devNull = open("/dev/null", O_RDWR);
            if (devNull >= 0) {
                dup2(devNull, STDIN_FILENO);
                dup2(devNull, STDOUT_FILENO);
            }
            execlp("xdg-open", "xdg-open", native.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        _exit(0);
    }
    int status = 0;
    waitpid(middle, &status, 0);
}
