#pragma once
// The message table lives with the settings (display-free); kept here for the code that
// includes it from the shell.
#include "settings/MessageTable.h"
