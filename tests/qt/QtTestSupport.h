#pragma once

#include "platform/FormView.h"
#include "platform/Messages.h"

#include <functional>
#include <string>
#include <vector>

namespace quillbox::qt::test {

// A hidden window's owner that records every message it gets and answers with Answer.
struct TRecordingWindow
{
    void WndProc(TMessage& message)
    {
        Received.push_back(message);
        if (OnMessage)
            OnMessage(message);
        message.Result = Answer;
    }
    TWndMethod Method() { return TWndMethod::Of<&TRecordingWindow::WndProc>(this); }

    std::vector<TMessage> Received;
    std::uint32_t Answer = 0;
    std::function<void(TMessage&)> OnMessage;
};

// The core's side of a form: every report as one line, such as "focus 2" or "key 1 Tab".
class TRecordingEvents final : public IFormEvents
{
public:
    void Activated() override { Log.push_back("activated"); }
    void CloseRequested() override { Log.push_back("close"); }
    void FocusEntered(int control) override { Log.push_back("focus " + std::to_string(control)); }
    void Clicked(int control) override { Log.push_back("click " + std::to_string(control)); }
    void KeyPressed(int control, TKey key) override
    {
        static const char* const names[] = {"Enter", "Escape", "Tab", "ShiftTab"};
        Log.push_back("key " + std::to_string(control) + " " + names[static_cast<int>(key)]);
    }
    void TextEdited(int control, const std::string& text) override
    {
        Log.push_back("text " + std::to_string(control) + " " + text);
    }
    void ItemSelected(int control, int index) override
    {
        Log.push_back("item " + std::to_string(control) + " " + std::to_string(index));
    }
    void Moved(TRect bounds) override { LastMoved = bounds; }

    // The reports other than activation, which the window system sends when it sees fit.
    std::vector<std::string> Actions() const
    {
        std::vector<std::string> actions;
        for (const std::string& line : Log)
            if (line != "activated")
                actions.push_back(line);
        return actions;
    }

    std::vector<std::string> Log;
    TRect LastMoved;
};

} // namespace quillbox::qt::test
