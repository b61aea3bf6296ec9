#pragma once

// The Windows API as this layer includes it. The seam's headers come first: they declare constants
// named as the Windows messages and shell flags (wm::WM_CLOSE, nim::NIM_ADD), which <windows.h>
// then defines as macros, and which could not be declared after it.
#include "platform/Exceptions.h"
#include "platform/FileSystem.h"
#include "platform/Messages.h"
#include "platform/Shell.h"

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

// The seam's operations are named after the Windows calls they stand for, and these names are also
// the API's A/W-selecting macros; the layer calls the W functions by their own names.
#undef CreateDirectory
#undef DefWindowProc
#undef FormatMessage
#undef SendMessage
#undef Shell_NotifyIcon
