#pragma once

#include "platform/Messages.h"

#include <string>

namespace quillbox {

// Icon handles made from icon images (the bytes of an .ico file).
class IIcons
{
public:
    IIcons() = default;
    IIcons(const IIcons&) = delete;
    IIcons& operator=(const IIcons&) = delete;
    virtual ~IIcons() = default;

    // 0 when the image gives no icon.
    virtual THandle CreateIconFromImage(const std::string& image) = 0;
    virtual void DestroyIcon(THandle icon) = 0;
};

} // namespace quillbox

// An icon image and the handle made from it when it is first needed. The icon owns its handle.
class TIcon : public TObject
{
public:
    TIcon() = default;
    ~TIcon() override;

    // Copies the image of `source`; the handle is made afresh when needed.
    void Assign(const TIcon& source);
    void LoadFromImage(std::string image);
    const std::string& Image() const { return FImage; }
    bool Empty() const { return FImage.empty() && FHandle == 0; }

    // The icon handle, made from the image when there is none yet; 0 for an empty icon.
    quillbox::THandle Handle();
    // Makes `handle` the icon's own in place of its image (0 empties it), destroying the handle it had.
    void SetHandle(quillbox::THandle handle);
    // Detaches the handle from the icon and gives it to the caller, who then owns it; the icon is
    // left without a handle, and with its image.
    quillbox::THandle ReleaseHandle();

private:
    std::string FImage;
    quillbox::THandle FHandle = 0;
};
