#include "app/Program.h"
#include "platform/Platform.h"

#include "platform/win32/Win32Api.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    const auto platform = quillbox::CreatePlatform();
    quillbox::InstallPlatform(platform.get());
    const int exitCode = quillbox::RunProgram();
    quillbox::InstallPlatform(nullptr);
    return exitCode;
}
