#pragma once

// <windows.h> without the macros that would rename the DialogHost and
// Painter operations of the same names (MessageBox -> MessageBoxW...). The
// host calls the W functions by their full names.
#include <windows.h>

#undef DrawText
#undef LoadString
#undef MessageBox
