// tlf_render_pages: pictures of the wizard's pages, drawn headlessly by the real application.
//
//   tlf_render_pages all OUT_FOLDER
//       every state's page in every language (77 PNGs), the references of docs/pages;
//       `cmake --build --preset linux --target docs_pages` writes them there.
//   tlf_render_pages walk OUT_FOLDER VERSION TYPED_FOLDER
//       choose_language, confirm_versions, quick_start_prompt, completed, source_missing,
//       write_failed and enter_folder .png: what the end-to-end scripts expect the real programs
//       to show (see page_catalogue.h); an empty TYPED_FOLDER leaves enter_folder out.
//
// Exit code 0 when every picture was written. The pages are reached through the tests' wizard
// session, which reports through the test framework, so the work runs as one test.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/headless/headless.h"
#include "tools/render_pages/page_catalogue.h"

namespace {

std::string gMode, gFolder, gVersion, gTyped;

TEST(RenderPages, Write) {
    ASSERT_TRUE(HeadlessCanWritePng()) << "this build writes no PNG files";
    int written = 0;
    const SavePage save = [&](const std::string& name) {
        EXPECT_TRUE(WriteFrameBufferPng(gFolder, name)) << gFolder << "/" << name << ".png";
        ++written;
    };
    const bool reached = gMode == "all" ? RenderEveryPage(save) : RenderWalkPages(gVersion, gTyped, save);
    EXPECT_TRUE(reached) << "a page could not be reached";
    std::printf("tlf_render_pages: %d pictures in %s\n", written, gFolder.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (!((mode == "all" && argc == 3) || (mode == "walk" && argc == 5))) {
        std::fprintf(stderr, "usage: %s all OUT_FOLDER\n       %s walk OUT_FOLDER VERSION TYPED_FOLDER\n", argv[0], argv[0]);
        return 2;
    }
    gMode = mode;
    gFolder = std::filesystem::absolute(argv[2]).string();  // the wizard runs in a folder of its own
    if (mode == "walk") {
        gVersion = argv[3];
        gTyped = argv[4];
    }
    int testArgc = 2;
    char brief[] = "--gtest_brief=1";
    char* testArgv[] = {argv[0], brief, nullptr};
    ::testing::InitGoogleTest(&testArgc, testArgv);
    return RUN_ALL_TESTS();
}
