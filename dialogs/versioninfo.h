#pragma once

#include "platform/Forms.h"

// The version information window; everything about it is in its resource.
class TAboutBox : public TForm
{
public:
    explicit TAboutBox(TComponent* owner);
    ~TAboutBox() override;

    TPanel* Panel1 = nullptr;
    TButton* OKButton = nullptr;
    TLabel* ProductName = nullptr;
    TLabel* Version = nullptr;
    TLabel* Copyright = nullptr;
    TLabel* Comments = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* Label3 = nullptr;
    TImage* Image1 = nullptr;
};

extern TAboutBox* AboutBox;
