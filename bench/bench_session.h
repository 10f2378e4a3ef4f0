// bench_session.h: the installer application run in-process on the headless backend, one pass of
// the main loop at a time, for the benchmarks and the whole-process driver.
//
// A frame is what one pass of RunMainLoop (framework/entry.cpp) does: RunFrame, the quit test,
// then PumpMessages (one scripted frame of messages, the paint when one is due, the
// presentation). There is no frame pacing: the headless backend never waits.
#pragma once

#include <string>

#include "app/installer_app.h"

// The committed fonts, data/fonts of the source tree.
std::string CommittedFontFolder();

class BenchSession {
public:
    ~BenchSession() { Shutdown(); }

    // Makes the application with this command line in the current folder (where the fonts must
    // lie) and runs the first frame, whose paint draws the language page. False when the program
    // ended at once.
    bool Start(const char* commandLine = "");
    // One pass of the main loop; false once the program has ended.
    bool Frame();
    // A left click at the centre of the Button in `slot` and the three frames it takes to arrive.
    bool ClickSlot(int slot);
    // Clicks the language page's Button of `language`; false when there is none.
    bool ChooseLanguage(int language);
    // Ends the program as the entry does after the main loop.
    void Shutdown();

    bool Ended() const { return ended_; }
    InstallerApp& App() { return *app_; }
    int16_t State() const { return app_ != nullptr ? app_->state : -1; }

private:
    InstallerApp* app_ = nullptr;
    bool ended_ = true;
};
