#include "platform/Application.h"

#include "platform/Exceptions.h"
#include "platform/Forms.h"
#include "platform/Platform.h"

#include <cstdio>

TApplication* Application = nullptr;

namespace {

void ReportMessageException(const std::exception& error)
{
    if (Application != nullptr)
        Application->HandleException(error);
}

const char* ClassNameOf(const std::exception& error)
{
    if (const auto* e = dynamic_cast<const Exception*>(&error))
        return e->ClassName();
    return "Exception";
}

} // namespace

std::string WithFullStop(const std::string& message)
{
    if (!message.empty() && message.back() == '.')
        return message;
    return message + ".";
}

TApplication::TApplication() : TComponent(nullptr)
{
    Application = this;
    quillbox::SetMessageExceptionHandler(&ReportMessageException);
}

TApplication::~TApplication()
{
    // The forms go first, while the application is still there for their components.
    while (!Components().empty())
        delete Components().back();
    quillbox::SetMessageExceptionHandler(nullptr);
    Application = nullptr;
}

void TApplication::Run()
{
    if (ShowMainForm && FMainForm != nullptr)
        FMainForm->Show();
    quillbox::Platform().Forms().RunLoop([this] { return FTerminated; });
    // A loop that returns by itself means the session is ending.
    FTerminated = true;
}

void TApplication::Terminate()
{
    FTerminated = true;
    quillbox::Platform().Forms().WakeUp();
}

void TApplication::ProcessMessages()
{
    quillbox::Platform().Windows().ProcessMessages();
}

std::uint32_t TApplication::Handle() const
{
    return quillbox::Platform().Windows().ApplicationHandle();
}

std::string TApplication::Title() const
{
    std::string name = quillbox::Platform().ExecutableName();
    const auto slash = name.find_last_of("\\/");
    if (slash != std::string::npos)
        name.erase(0, slash + 1);
    const auto dot = name.find('.');
    if (dot != std::string::npos)
        name.erase(dot);
    for (std::size_t i = 1; i < name.size(); ++i)
        if (name[i] >= 'A' && name[i] <= 'Z')
            name[i] = static_cast<char>(name[i] - 'A' + 'a');
    return name;
}

void TApplication::ShowException(const std::exception& error)
{
    quillbox::Platform().Forms().ErrorBox(Title(), WithFullStop(error.what()));
}

std::string TApplication::LastResortText(const std::exception& error) const
{
    char address[32];
    std::snprintf(address, sizeof address, "%p", static_cast<const void*>(&error));
    return std::string(ClassNameOf(error)) + "がﾓｼﾞｭｰﾙ " + quillbox::Platform().ExecutableName() + " の\n" + address +
           " で発生しました。\n" + WithFullStop(error.what());
}

void TApplication::ShowLastResort(const std::exception& error)
{
    quillbox::Platform().Forms().FatalBox("ｱﾌﾟﾘｹｰｼｮﾝ ｴﾗｰ", LastResortText(error));
}
