#pragma once

#include "platform/Forms.h"

#include <string>

// The file-name prompt: a stay-on-top window that asks for the name of a clip file. It checks
// nothing; Enter, a move of the focus onto OK, or the close box end it, and the caller reads Edit1.
class TForm3 : public TForm
{
public:
    explicit TForm3(TComponent* owner);
    ~TForm3() override;

    TButton* Button1 = nullptr;
    TLabel* Label1 = nullptr;
    TEdit* Edit1 = nullptr;
    TLabel* Label2 = nullptr;

    void FormActivate(TObject* sender);
    void Button1Click(TObject* sender);
    void Button1Enter(TObject* sender);

private:
    TNotifyEvent MethodAddress(const std::string& name);
};

extern TForm3* Form3;
