// bench_session.cpp: see bench_session.h.
#include "bench/bench_session.h"

#include "framework/framework_state.h"
#include "framework/qbio.h"
#include "gfx/button.h"
#include "platform/headless/headless.h"

std::string CommittedFontFolder() { return std::string(TLF_SOURCE_DIR) + "/data/fonts"; }

bool BenchSession::Start(const char* commandLine) {
    Shutdown();
    gFramework.commandLine = commandLine;
    app_ = static_cast<InstallerApp*>(CreateApplication());
    gFramework.application = app_;
    gFramework.running = 1;
    ended_ = app_ == nullptr || gFramework.registeredApp == nullptr;
    return !ended_ && Frame();
}

bool BenchSession::Frame() {
    if (ended_ || app_ == nullptr) return false;
    if (!app_->RunFrame() || gFramework.quitRequested == 1) {
        ended_ = true;
        return false;
    }
    app_->PumpMessages();
    return true;
}

bool BenchSession::ClickSlot(int slot) {
    if (ended_ || app_->buttons[slot] == nullptr) return false;
    const Button* button = app_->buttons[slot];
    HeadlessPostClick(button->x + button->width / 2, button->y + button->height / 2);
    for (int i = 0; i < 3; ++i) {
        if (!Frame()) return false;
    }
    return true;
}

bool BenchSession::ChooseLanguage(int language) {
    if (ended_) return false;
    for (int slot = 1; slot < WizardSlotCount; ++slot) {
        const Button* button = app_->buttons[slot];
        if (button != nullptr && button->action == ActionChooseLanguage && button->argument == language) {
            return ClickSlot(slot);
        }
    }
    return false;
}

void BenchSession::Shutdown() {
    if (app_ != nullptr) {
        gFramework.running = 0;
        DeleteApplication(app_);
        app_ = nullptr;
    }
    ended_ = true;
}
