// A clipboard owner for the end-to-end tests, run as a program of its own:
//   quillbox_test_owner --hang        owns CLIPBOARD and never answers
//   quillbox_test_owner --text TEXT   owns CLIPBOARD and serves TEXT
//   quillbox_test_owner --secret TEXT serves TEXT marked as a password manager marks it
// It prints "owner" once it owns the selection and runs until SIGTERM or SIGINT.

#include "TestSelectionOwner.h"

#include <csignal>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    using quillbox::qt::test::TOwnerScript;
    TOwnerScript script;
    if (argc == 2 && std::strcmp(argv[1], "--hang") == 0) {
        script.Fault = TOwnerScript::TFault::Hang;
    } else if (argc == 3 && std::strcmp(argv[1], "--text") == 0) {
        script.Text = argv[2];
    } else if (argc == 3 && std::strcmp(argv[1], "--secret") == 0) {
        script.Text = argv[2];
        script.Extra = {{"x-kde-passwordManagerHint", "secret"}};
    } else {
        std::fputs("usage: quillbox_test_owner --hang | --text TEXT | --secret TEXT\n", stderr);
        return 2;
    }
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGINT);
    // Blocked before the serving thread starts, so that only sigwait below receives them.
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    const quillbox::qt::test::TTestSelectionOwner owner(script);
    std::puts("owner");
    std::fflush(stdout);
    int received = 0;
    sigwait(&signals, &received);
    return 0;
}
