#pragma once

#include "platform/Classes.h"

#include <exception>
#include <string>

class TForm;

// The application object: owns the forms, runs the message loop and reports errors. One per process,
// reached through the global `Application`.
class TApplication : public TComponent
{
public:
    TApplication();
    ~TApplication() override;

    void Initialize() {}
    bool ShowMainForm = true;

    // Makes a form owned by the application; the first one made becomes the main form.
    template <class T>
    void CreateForm(T*& reference)
    {
        reference = new T(this);
        if (FMainForm == nullptr)
            FMainForm = reference;
    }

    // The message loop, until the application is terminated or the session ends.
    void Run();
    void Terminate();
    bool Terminated() const { return FTerminated; }
    void ProcessMessages();

    TForm* MainForm() const { return FMainForm; }
    // The application's own hidden window.
    std::uint32_t Handle() const;
    // The executable's file name after its last separator, cut at the first ".", every letter but
    // the first lower-cased.
    std::string Title() const;

    // The error report: the message and a "." in an error box captioned with the title; then the
    // program goes on.
    void ShowException(const std::exception& error);
    void HandleException(const std::exception& error) { ShowException(error); }

    // The last-resort report's text for an error nothing caught.
    std::string LastResortText(const std::exception& error) const;
    // Shows the last-resort report; the caller then ends the process with exit code 1.
    void ShowLastResort(const std::exception& error);

private:
    TForm* FMainForm = nullptr;
    bool FTerminated = false;
};

extern TApplication* Application;

// The message with the "." the reports add (none when it already ends in one).
std::string WithFullStop(const std::string& message);
