// drawing_bench.cpp: how long the wizard's pages and the drawing primitives take, side by side
// with a memset of the whole frame buffer (the least any full-buffer drawing can cost).
//
// The real installer application is made once on the headless backend (550 x 350, the committed
// fonts) and its Redraw is called for every page: "repaint" as a paint message does (the page
// already built), "enter" as a change of state does (the page's Buttons built anew). Each
// benchmark reports `pixels`, the pixels it covers, so ns per pixel and the ratio to the memset
// can be worked out from one run (tools/run_benchmarks.sh does).
#include <benchmark/benchmark.h>

#include <cstring>

#include "app/installer_app.h"
#include "app/texts.h"
#include "framework/framework_state.h"
#include "gfx/draw.h"
#include "gfx/font.h"
#include "tools/wizard_driver/wizard_session.h"

namespace {

WizardSession* gSession = nullptr;

int Width() { return gFramework.screenWidth; }
int Height() { return gFramework.screenHeight; }
double WholeBuffer() { return static_cast<double>(Width()) * Height(); }

void PutPage(InstallerApp& app, int16_t state) {
    app.state = state;
    app.drawnState = -1;
    app.Redraw();
}

void BM_MemsetFrameBuffer(benchmark::State& state) {
    const size_t bytes = static_cast<size_t>(gFramework.pitch) * Height();
    for (auto _ : state) {
        std::memset(gFramework.frameBuffer, 0x5a, bytes);
        benchmark::ClobberMemory();
    }
    state.counters["pixels"] = WholeBuffer();
}
BENCHMARK(BM_MemsetFrameBuffer);

const char* const kPageNames[] = {"choose_language", "not_installed", "confirm_versions", "updating",
                                  "completed",       "source_missing", "install_corrupt", "quick_start_prompt",
                                  "enter_folder",    "write_failed",  "not_compatible"};

void BM_RedrawRepaint(benchmark::State& state) {
    InstallerApp& app = gSession->App();
    const int16_t page = static_cast<int16_t>(state.range(0));
    PutPage(app, page);
    for (auto _ : state) {
        app.Redraw();
        benchmark::ClobberMemory();
    }
    state.SetLabel(kPageNames[page]);
    state.counters["pixels"] = WholeBuffer();
}
BENCHMARK(BM_RedrawRepaint)->DenseRange(StateChooseLanguage, StateNotCompatible);

void BM_RedrawEnter(benchmark::State& state) {
    InstallerApp& app = gSession->App();
    const int16_t page = static_cast<int16_t>(state.range(0));
    app.state = page;
    for (auto _ : state) {
        app.drawnState = -1;
        app.Redraw();
        benchmark::ClobberMemory();
    }
    state.SetLabel(kPageNames[page]);
    state.counters["pixels"] = WholeBuffer();
}
BENCHMARK(BM_RedrawEnter)->DenseRange(StateChooseLanguage, StateNotCompatible);

// One line of text at the left of the buffer, as long as a wizard line gets.
const char kTextLine[] = "Click Next to bring the game up to the new version of the season data";

void BM_DrawText(benchmark::State& state) {
    const int font = static_cast<int>(state.range(0));
    for (auto _ : state) {
        DrawText(10, 100, font, ColourHeadingYellow, kTextLine);
        benchmark::ClobberMemory();
    }
    state.counters["pixels"] = static_cast<double>(TextWidth(font, kTextLine)) * FontHeight(font);
}
BENCHMARK(BM_DrawText)->Arg(1)->Arg(2)->Arg(5);

void BM_DrawRect(benchmark::State& state) {
    const uint16_t style = static_cast<uint16_t>(state.range(0));
    const uint16_t second = static_cast<uint16_t>(state.range(1));
    const int16_t right = static_cast<int16_t>(Width() - 1), bottom = static_cast<int16_t>(Height() - 1);
    for (auto _ : state) {
        DrawRect(0, 0, right, bottom, style, ColourBlue, second);
        benchmark::ClobberMemory();
    }
    // An outline touches only the border pixels.
    const bool outline = (style & (RectDottedOutline | RectSolidOutline)) != 0;
    state.counters["pixels"] = outline ? 2.0 * (Width() + Height()) - 4 : WholeBuffer();
}
BENCHMARK(BM_DrawRect)
    ->ArgNames({"style", "second"})
    ->Args({RectFill, ColourWhite})
    ->Args({RectGradientRightToLeft, ColourWhite})
    ->Args({RectGradientLeftToRight, ColourWhite})
    ->Args({RectGradientBottomToTop, ColourWhite})
    ->Args({RectGradientTopToBottom, ColourWhite})
    ->Args({RectGradientLeftToRight, RectKeepBackground})
    ->Args({RectTint, ColourWhite})
    ->Args({RectSolidOutline, ColourWhite});

// Every row of the buffer as one solid line: the wizard's background ramp.
void BM_DrawLineRows(benchmark::State& state) {
    const int16_t right = static_cast<int16_t>(Width() - 1);
    for (auto _ : state) {
        for (int16_t y = 0; y < Height(); ++y) DrawLine(0, y, right, y, LineSolid, static_cast<Rgb555>(y));
        benchmark::ClobberMemory();
    }
    state.counters["pixels"] = WholeBuffer();
}
BENCHMARK(BM_DrawLineRows);

// Diagonals from the top row to the bottom row, dotted: the Bresenham path.
void BM_DrawLineDiagonals(benchmark::State& state) {
    const int16_t bottom = static_cast<int16_t>(Height() - 1);
    int pixels = 0;
    for (int16_t x = 0; x + bottom < Width(); x = static_cast<int16_t>(x + 8)) pixels += bottom + 1;
    for (auto _ : state) {
        for (int16_t x = 0; x + bottom < Width(); x = static_cast<int16_t>(x + 8))
            DrawLine(x, 0, static_cast<int16_t>(x + bottom), bottom, LineDotted, ColourWhite);
        benchmark::ClobberMemory();
    }
    state.counters["pixels"] = pixels;
}
BENCHMARK(BM_DrawLineDiagonals);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    // The installer loads its fonts from the folder it runs in: the committed ones.
    WizardSession session(SourcePath("data/fonts"));
    if (!session.Start()) {
        std::fprintf(stderr, "bench_drawing: the installer did not start (fonts in %s?)\n",
                     SourcePath("data/fonts").c_str());
        return 1;
    }
    std::strcpy(session.App().installedVersion, "Release version");
    gSession = &session;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    gSession = nullptr;
    return 0;
}
