// wizard_session.h: the wizard driven headlessly on a fresh installation, for the end-to-end tests;
// the driver itself is shared with the page renderer and the demo (tools/wizard_driver).
#pragma once

#include "tools/wizard_driver/wizard_session.h"
