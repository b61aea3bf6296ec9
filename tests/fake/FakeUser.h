#pragma once

#include "fake/FakePlatform.h"

#include <functional>
#include <string>

namespace quillbox::test {

// A user at the desktop, as a script the fake platform plays when the program waits for input.
// Each call adds one step; keyboard and mouse steps act on the window that has the user's attention.
class TUser
{
public:
    explicit TUser(TFakePlatform& platform) : FPlatform(platform) {}

    // Another program puts text (or a picture) on the clipboard.
    TUser& Copy(std::string text);
    TUser& CopyPicture();
    // A press and release on the tray icon with the left (or right) button.
    TUser& PressTray(bool left = true);
    TUser& Choose(std::string menuCaption);
    // Types into the focused edit box.
    TUser& Type(std::string text);
    TUser& Key(TKey key);
    // A mouse press and release on the control with this caption.
    TUser& Click(std::string caption);
    // Picks an item in the n-th drop-down list of the window.
    TUser& Pick(int list, int item);
    TUser& CloseBox();
    TUser& MoveWindowTo(std::int32_t left, std::int32_t top);
    TUser& Check(std::function<void()> check);
    TUser& EndSession();

private:
    TFakeFormView& ActiveView();
    TUser& Then(std::function<void()> action);

    TFakePlatform& FPlatform;
};

} // namespace quillbox::test
