#pragma once

#include "platform/win32/Win32Api.h"

#include <functional>

namespace quillbox::win32 {

// The thread's message loops. Every retrieved message passes the forms' key filter first, so that
// Tab, Enter and Escape reach the core instead of the controls.

// Retrieves and dispatches messages until `done` holds, checked before the first message and after
// each one. A WM_QUIT ends the loop and is posted again, so that every enclosing loop ends as well.
// https://devblogs.microsoft.com/oldnewthing/20050222-00/?p=36393
void RunMessageLoop(const std::function<bool()>& done);

// Dispatches the messages waiting now, then returns; a WM_QUIT among them is left for the loops.
void DispatchWaitingMessages();

// Hands one retrieved message to its window, unless the forms take it as one of their keys.
void DispatchOne(MSG& msg);

} // namespace quillbox::win32
