// tlf_render_pages: pictures of the wizard's pages, drawn headlessly by the real application.
//
//   tlf_render_pages all OUT_FOLDER
//       every state's page in every language (77 PNGs), the references of docs/pages;
//       `cmake --build --preset linux --target docs_pages` writes them there.
//   tlf_render_pages walk OUT_FOLDER VERSION TYPED_FOLDER
//       choose_language, confirm_versions, quick_start_prompt, completed, source_missing,
//       write_failed and enter_folder .png: what the end-to-end scripts expect the real programs
//       to show (see tools/wizard_driver/page_catalogue.h); an empty TYPED_FOLDER leaves
//       enter_folder out.
//
// Exit code 0 when every picture was written, 1 otherwise, 2 for a wrong command line.
#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/headless/headless.h"
#include "tools/wizard_driver/page_catalogue.h"

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (!((mode == "all" && argc == 3) || (mode == "walk" && argc == 5))) {
        std::fprintf(stderr, "usage: %s all OUT_FOLDER\n       %s walk OUT_FOLDER VERSION TYPED_FOLDER\n", argv[0], argv[0]);
        return 2;
    }
    if (!HeadlessCanWritePng()) {
        std::fprintf(stderr, "tlf_render_pages: this build writes no PNG files\n");
        return 1;
    }
    // Absolute: the wizard runs in a folder of its own.
    const std::string folder = std::filesystem::absolute(argv[2]).string();
    int written = 0, failed = 0;
    const SavePage save = [&](const std::string& name) {
        if (WriteFrameBufferPng(folder, name)) {
            ++written;
        } else {
            ++failed;
            std::fprintf(stderr, "tlf_render_pages: cannot write %s/%s.png\n", folder.c_str(), name.c_str());
        }
    };
    const bool reached = mode == "all" ? RenderEveryPage(save) : RenderWalkPages(argv[3], argv[4], save);
    if (!reached) std::fprintf(stderr, "tlf_render_pages: a page could not be reached\n");
    std::printf("tlf_render_pages: %d pictures in %s\n", written, folder.c_str());
    return reached && failed == 0 ? 0 : 1;
}
