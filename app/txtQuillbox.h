#pragma once

#include "app/CaptureQueue.h"
#include "components/TrayIcon.h"
#include "components/VxClipDetector.h"
#include "platform/Forms.h"
#include "platform/Menus.h"

#include <memory>
#include <string>

// The main form: never shown; it owns the tray icon, its menu and the clipboard change detector,
// and holds the handlers of the menu commands and the capture.
class TForm1 : public TForm
{
public:
    explicit TForm1(TComponent* owner);
    ~TForm1() override;

    TTrayIcon* TrayIcon1 = nullptr;
    TPopupMenu* PopupMenu1 = nullptr;
    TMenuItem* K1 = nullptr;
    TMenuItem* Close1 = nullptr;
    TVxClipDetector* VxClipDetector1 = nullptr;
    TMenuItem* K2 = nullptr;

    void K1Click(TObject* sender);
    void Close1Click(TObject* sender);
    void VxClipDetector1ClipChange(TObject* sender);
    void K2Click(TObject* sender);
    void FormCreate(TObject* sender);

    quillbox::TCaptureQueue& Captures() { return *FCaptures; }

private:
    TNotifyEvent MethodAddress(const std::string& name);

    std::unique_ptr<quillbox::TCaptureQueue> FCaptures;
};

extern TForm1* Form1;
