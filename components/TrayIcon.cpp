#include "components/TrayIcon.h"

#include "platform/Exceptions.h"
#include "platform/Platform.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

namespace wm = quillbox::wm;
using quillbox::TNotifyIconDataA;

constexpr const char* KFailure = "タスクトレイにアイコンを登録できません。";
constexpr int KHighestId = 999;
constexpr std::size_t KTipLength = 62;

// The sorted list of IDs in use, one "%.3d" entry per live instance, designing ones included. Every
// entry has three digits, so text order is numeric order and the last entry is the highest ID.
std::vector<std::string>* GIdList = nullptr;

struct TUnitLifetime
{
    TUnitLifetime() { GIdList = new std::vector<std::string>(); }
    ~TUnitLifetime()
    {
        delete GIdList;
        GIdList = nullptr;
    }
    TUnitLifetime(const TUnitLifetime&) = delete;
    TUnitLifetime& operator=(const TUnitLifetime&) = delete;
} GUnit;

std::string IdText(int id)
{
    char text[16];
    std::snprintf(text, sizeof text, "%.3d", id);
    return text;
}

void AddId(const std::string& text)
{
    const auto at = std::lower_bound(GIdList->begin(), GIdList->end(), text);
    if (at == GIdList->end() || *at != text)
        GIdList->insert(at, text);
}

void RemoveId(const std::string& text)
{
    const auto at = std::lower_bound(GIdList->begin(), GIdList->end(), text);
    if (at != GIdList->end() && *at == text)
        GIdList->erase(at);
}

} // namespace

namespace quillbox::detail {
std::vector<std::string> TrayIconIds()
{
    return *GIdList;
}
} // namespace quillbox::detail

TTrayIcon::TTrayIcon(TComponent* owner) : TComponent(owner)
{
    if (!Designing()) {
        FData = new TNotifyIconDataA();
        FData->cbSize = sizeof(TNotifyIconDataA);
        FData->hWnd = quillbox::Platform().Windows().AllocateHWnd(quillbox::TWndMethod::Of<&TTrayIcon::WndProc>(this));
        FData->uFlags = quillbox::nif::NIF_MESSAGE | quillbox::nif::NIF_ICON | quillbox::nif::NIF_TIP;
        FData->uCallbackMessage = KCallbackMessage;
    }
    FIcon = new TIcon();
    FAdded = false;
    FAutoPopup = true;
    FTipHelp = "TipHelp";
    FVisible = true;

    FIconId = GIdList->empty() ? 1 : std::stoi(GIdList->back()) + 1;
    if (FIconId > KHighestId) {
        ReleaseResources();
        throw EOutOfMemory(KFailure);
    }
    AddId(IdText(FIconId));
}

TTrayIcon::~TTrayIcon()
{
    ReleaseResources();
    RemoveId(IdText(FIconId));
}

void TTrayIcon::ReleaseResources() noexcept
{
    if (FData != nullptr) {
        if (FAdded)
            quillbox::Platform().Shell().Shell_NotifyIcon(quillbox::nim::NIM_DELETE, *FData);
        FAdded = false;
        quillbox::Platform().Windows().DeallocateHWnd(FData->hWnd);
        delete FData;
        FData = nullptr;
    }
    delete FIcon;
    FIcon = nullptr;
}

void TTrayIcon::Loaded()
{
    if (!Designing() && FVisible)
        AddIcon();
    TComponent::Loaded();
}

void TTrayIcon::RefreshData()
{
    FData->uID = static_cast<std::uint32_t>(FIconId);
    FData->hIcon = FIcon->Handle();
    const std::size_t length = std::min(FTipHelp.size(), sizeof FData->szTip - 1);
    std::memcpy(FData->szTip, FTipHelp.data(), length);
    FData->szTip[length] = '\0';
}

void TTrayIcon::AddIcon()
{
    RefreshData();
    if (!quillbox::Platform().Shell().Shell_NotifyIcon(quillbox::nim::NIM_ADD, *FData))
        throw EOutOfMemory(KFailure);
    FAdded = true;
}

void TTrayIcon::ModifyIcon()
{
    if (!FAdded)
        return;
    RefreshData();
    if (!quillbox::Platform().Shell().Shell_NotifyIcon(quillbox::nim::NIM_MODIFY, *FData))
        throw EOutOfMemory(KFailure);
}

void TTrayIcon::SetIcon(TIcon* value)
{
    if (value == FIcon)
        return;
    if (value != nullptr) {
        FIcon->Assign(*value);
        if (FData != nullptr)
            FData->uFlags |= quillbox::nif::NIF_ICON;
    } else {
        // The shell is told nothing of the image any more, so the released handle has no user left.
        if (const quillbox::THandle released = FIcon->ReleaseHandle())
            quillbox::Platform().Icons().DestroyIcon(released);
        FIcon->SetHandle(0);
        if (FData != nullptr)
            FData->uFlags &= ~quillbox::nif::NIF_ICON;
    }
    ModifyIcon();
}

void TTrayIcon::SetTipHelp(const std::string& value)
{
    const std::string tip = value.substr(0, KTipLength);
    if (tip == FTipHelp)
        return;
    FTipHelp = tip;
    ModifyIcon();
}

void TTrayIcon::SetVisible(bool value)
{
    if (value == FVisible)
        return;
    FVisible = value;
    if (Designing() || IsLoading() || FData == nullptr)
        return;
    if (value) {
        AddIcon();
    } else {
        quillbox::Platform().Shell().Shell_NotifyIcon(quillbox::nim::NIM_DELETE, *FData);
        FAdded = false;
    }
}

void TTrayIcon::WndProc(quillbox::TMessage& message)
{
    auto& windows = quillbox::Platform().Windows();
    if (message.Msg != KCallbackMessage) {
        // Left to the default procedure, so that the window does not refuse the end of the session.
        message.Result = windows.DefWindowProc(FData->hWnd, message.Msg, message.WParam, message.LParam);
        return;
    }
    const quillbox::TPoint at = windows.GetCursorPos();
    switch (message.LParam) {
    case wm::WM_MOUSEMOVE:
        if (OnMouseMove.Assigned())
            OnMouseMove(this, 0, at.X, at.Y);
        break;
    case wm::WM_LBUTTONDOWN:
        MouseDown(TMouseButton::mbLeft, shift::ssLeft, LBPopupMenu, at);
        break;
    case wm::WM_LBUTTONUP:
        MouseUp(TMouseButton::mbLeft, shift::ssLeft, at);
        break;
    case wm::WM_LBUTTONDBLCLK:
        if (OnDblClick.Assigned())
            OnDblClick(this);
        break;
    case wm::WM_RBUTTONDOWN:
        MouseDown(TMouseButton::mbRight, shift::ssRight, RBPopupMenu, at);
        break;
    case wm::WM_RBUTTONUP:
        MouseUp(TMouseButton::mbRight, shift::ssRight, at);
        break;
    case wm::WM_MBUTTONDOWN:
        MouseDown(TMouseButton::mbMiddle, shift::ssMiddle, nullptr, at);
        break;
    case wm::WM_MBUTTONUP:
        MouseUp(TMouseButton::mbMiddle, shift::ssMiddle, at);
        break;
    default:
        break;
    }
}

void TTrayIcon::MouseDown(TMouseButton button, TShiftState shiftState, TPopupMenu* menu, quillbox::TPoint at)
{
    if (menu != nullptr && FAutoPopup) {
        auto& windows = quillbox::Platform().Windows();
        windows.SetForegroundWindow(windows.ApplicationHandle());
        windows.ProcessMessages();
        menu->Popup(at.X, at.Y);
        return;
    }
    if (OnMouseDown.Assigned())
        OnMouseDown(this, button, shiftState, at.X, at.Y);
}

void TTrayIcon::MouseUp(TMouseButton button, TShiftState shiftState, quillbox::TPoint at)
{
    if (OnMouseUp.Assigned())
        OnMouseUp(this, button, shiftState, at.X, at.Y);
}
