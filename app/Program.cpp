#include "app/Program.h"

#include "app/txtQuillbox.h"
#include "dialogs/filename.h"
#include "dialogs/versioninfo.h"
#include "platform/Application.h"
#include "settings/settei.h"

namespace quillbox {

int RunProgram()
{
    TApplication application;
    try {
        application.Initialize();
        application.ShowMainForm = false;
        application.CreateForm(Form1);
        application.CreateForm(AboutBox);
        application.CreateForm(form2);
        application.CreateForm(Form3);
        // Clips copied while the forms were being made are saved now that the prompt exists.
        Form1->Captures().Resume();
        application.Run();
    } catch (const std::exception& error) {
        application.ShowLastResort(error);
        return 1;
    }
    // Destroying the application destroys the forms: the detector leaves the chain, the icon goes.
    return 0;
}

} // namespace quillbox
