#pragma once

#include <functional>
#include <memory>

class QSocketNotifier;

namespace quillbox::qt {

// Turns SIGTERM, SIGINT and SIGHUP (what a session manager, systemd or a terminal sends when the
// session ends) into a call of `ending` from the Qt event loop, so that the program ends through its
// normal clean-up: icon removed, no half-written file. The handler only writes a byte to a socket, the
// one thing a signal handler may safely do here (https://doc.qt.io/qt-6/unix-signals.html).
class TQtSessionEnd
{
public:
    explicit TQtSessionEnd(std::function<void()> ending);
    TQtSessionEnd(const TQtSessionEnd&) = delete;
    TQtSessionEnd& operator=(const TQtSessionEnd&) = delete;
    ~TQtSessionEnd();

private:
    std::function<void()> FEnding;
    std::unique_ptr<QSocketNotifier> FNotifier;
};

} // namespace quillbox::qt
