#pragma once

#include "platform/Classes.h"
#include "platform/Graphics.h"
#include "platform/Menus.h"
#include "platform/Shell.h"

#include <string>
#include <vector>

// One icon in the taskbar notification area: keeps its image and tip current in the shell, removes
// it again, and turns the mouse activity the shell reports into events or a popup menu at the
// cursor. Each live instance holds an icon ID from 1 to 999, unique in the process. While designing
// it only stores its properties: no window, no record, no shell call.
class TTrayIcon : public TComponent
{
public:
    static constexpr std::uint32_t KCallbackMessage = quillbox::wm::WM_USER + 200;

    explicit TTrayIcon(TComponent* owner);
    ~TTrayIcon() override;
    void Loaded() override;

    bool AutoPopup() const { return FAutoPopup; }
    void SetAutoPopup(bool value) { FAutoPopup = value; }
    TIcon* Icon() const { return FIcon; }
    // Copies `value` (nil empties the icon) and tells the shell when the icon is shown.
    void SetIcon(TIcon* value);
    TPopupMenu* LBPopupMenu = nullptr;
    TPopupMenu* RBPopupMenu = nullptr;
    const std::string& TipHelp() const { return FTipHelp; }
    // Keeps the first 62 bytes of `value`.
    void SetTipHelp(const std::string& value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);

    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;

    int IconId() const { return FIconId; }
    bool Added() const { return FAdded; }
    quillbox::THandle Handle() const { return FData ? FData->hWnd : 0; }

private:
    void RefreshData();
    void AddIcon();
    void ModifyIcon();
    void WndProc(quillbox::TMessage& message);
    void MouseDown(TMouseButton button, TShiftState shiftState, TPopupMenu* menu, quillbox::TPoint at);
    void MouseUp(TMouseButton button, TShiftState shiftState, quillbox::TPoint at);
    void ReleaseResources() noexcept;

    bool FAutoPopup = false;
    TIcon* FIcon = nullptr;
    std::string FTipHelp;
    bool FVisible = false;
    int FIconId = 0;
    bool FAdded = false;
    quillbox::TNotifyIconDataA* FData = nullptr;
};

namespace quillbox::detail {
// The process-wide list of icon IDs in use, as its entries ("001", "042", ...), in order.
std::vector<std::string> TrayIconIds();
} // namespace quillbox::detail
