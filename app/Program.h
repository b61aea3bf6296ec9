#pragma once

namespace quillbox {

// The program's entry block: start-up, the message loop until the application is terminated, and the
// end. Returns the process's exit code: 0 after a normal end, 1 after the last-resort report. Needs
// the platform installed first (InstallPlatform).
int RunProgram();

} // namespace quillbox
