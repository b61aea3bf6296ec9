#include "platform/qt/QtSessionEnd.h"

#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace quillbox::qt {

namespace {

constexpr int KSignals[] = {SIGTERM, SIGINT, SIGHUP};

// [0] is read by the event loop, [1] written by the handler; one pair for the process.
int GPipe[2] = {-1, -1};

void OnEndSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(GPipe[1], &byte, 1);
}

} // namespace

TQtSessionEnd::TQtSessionEnd(std::function<void()> ending) : FEnding(std::move(ending))
{
    if (GPipe[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, GPipe) != 0)
        return;
    FNotifier = std::make_unique<QSocketNotifier>(GPipe[0], QSocketNotifier::Read);
    QObject::connect(FNotifier.get(), &QSocketNotifier::activated, FNotifier.get(), [this] {
        char bytes[16];
        while (::read(GPipe[0], bytes, sizeof bytes) > 0) {
        }
        if (FEnding)
            FEnding();
    });
    struct sigaction action = {};
    action.sa_handler = &OnEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : KSignals)
        ::sigaction(signal, &action, nullptr);
}

TQtSessionEnd::~TQtSessionEnd()
{
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (const int signal : KSignals)
        ::sigaction(signal, &action, nullptr);
}

} // namespace quillbox::qt
