#include "platform/Graphics.h"

#include "platform/Platform.h"

#include <utility>

TIcon::~TIcon()
{
    SetHandle(0);
}

void TIcon::Assign(const TIcon& source)
{
    if (&source == this)
        return;
    SetHandle(0);
    FImage = source.FImage;
}

void TIcon::LoadFromImage(std::string image)
{
    SetHandle(0);
    FImage = std::move(image);
}

quillbox::THandle TIcon::Handle()
{
    if (FHandle == 0 && !FImage.empty())
        FHandle = quillbox::Platform().Icons().CreateIconFromImage(FImage);
    return FHandle;
}

void TIcon::SetHandle(quillbox::THandle handle)
{
    if (FHandle != 0 && FHandle != handle)
        quillbox::Platform().Icons().DestroyIcon(FHandle);
    FHandle = handle;
    FImage.clear();
}

quillbox::THandle TIcon::ReleaseHandle()
{
    const quillbox::THandle handle = Handle();
    FHandle = 0;
    return handle;
}
