#pragma once

#include "platform/Forms.h"

#include <string>

// The settings dialog: the directory naming style and the file naming style, loaded from the
// settings store when the dialog is created and saved by 設定完了!.
class Tform2 : public TForm
{
public:
    explicit Tform2(TComponent* owner);
    ~Tform2() override;

    TButton* Button1 = nullptr;
    TButton* Button2 = nullptr;
    TComboBox* ComboBox1 = nullptr;
    TComboBox* ComboBox2 = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* Label3 = nullptr;
    TLabel* Label4 = nullptr;

    void Button1Click(TObject* sender);
    void Button2Click(TObject* sender);
    void FormCreate(TObject* sender);

private:
    TNotifyEvent MethodAddress(const std::string& name);
};

extern Tform2* form2;
