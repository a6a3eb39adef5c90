// <windows.h> for this folder, without the macros that would rename our own members.
#pragma once

#include <windows.h>
// Services::MessageBox, not the ANSI/wide switch of <windows.h>.
#undef MessageBox
