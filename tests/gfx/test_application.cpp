// test_application.cpp: the application module as tests_gfx needs it: no application at all.
// The framework's entry (linked with gFramework) asks for these; no test runs the main loop.
#include "framework/qbio.h"

QBIO* CreateApplication() { return nullptr; }
void DeleteApplication(QBIO*) {}
