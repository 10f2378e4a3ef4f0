// no_application.cpp: the application module for the fuzz targets that need the framework but
// not the installer (fonts, wrapping, files): the entry asks for these, nothing runs the loop.
#include "framework/qbio.h"

QBIO* CreateApplication() { return nullptr; }
void DeleteApplication(QBIO*) {}
