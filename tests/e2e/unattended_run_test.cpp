// unattended_run_test.cpp: the unattended runs through the real entry and main loop, with no
// script of messages at all: nobody presses anything. The whole VERYSILENT run (files, record,
// log, LANG=, NOQSTDELETE) on both real programs: tests/scripts/unattended_test.sh.
#include <gtest/gtest.h>

#include "app/texts.h"
#include "framework/exit_code.h"
#include "framework/qbio.h"
#include "platform/headless/headless.h"
#include "tests/e2e/wizard_session.h"

namespace {

#ifndef _WIN32
TEST(UnattendedRun, ALogFileThatCannotBeWrittenIsSaidOnceAndTheUpdateGoesOn) {
    WizardSession s;
    ScopedCurrentFolder here(s.updateFolder);
    testing::internal::CaptureStderr();
    const int code = RunWinMain(nullptr, "/VERYSILENT /LOG=/dev/full");
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(code, ExitUpdated);
    EXPECT_EQ(s.GameFile("data/fancluburls.txt"), NewContents(46));
    EXPECT_EQ(s.RecordVersion(), NewVersionText);
    const std::string message = "tlfupdate: the log file \"/dev/full\" cannot be written: The disk is full.\n";
    EXPECT_EQ(said, message) << "said once, and nothing else";
}
#endif

TEST(UnattendedRun, LangStartsThePersonsWizardOnTheVersionsPage) {
    WizardSession s;
    ASSERT_TRUE(s.Start("/LANG=nor") && s.Frame() && s.Frame());
    EXPECT_EQ(s.State(), StateConfirmVersions) << "nothing is pressed for the person";
    EXPECT_EQ(s.Caption(4), NextLabel[LanguageNorwegian]);
}

}  // namespace
