#include "qt/TerminationSignals.h"

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The pipe's ends: [0] read by the event loop, [1] written by the handler.
int signalPipe[2] = {-1, -1};
constexpr int HandledSignals[] = {SIGINT, SIGTERM};

extern "C" void WriteSignalToPipe(int number)
{
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(number);
    // A full pipe already holds a signal the loop has yet to read: dropping this one loses nothing.
    static_cast<void>(::write(signalPipe[1], &byte, 1));
    errno = savedErrno;
}

void SetHandler(void (*handler)(int))
{
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : HandledSignals) sigaction(number, &action, nullptr);
}

} // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent)
{
    // Without the pipe the signals keep their default action: the program still ends on them.
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    notifier_ = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::ReadPipe);
    SetHandler(WriteSignalToPipe);
}

TerminationSignals::~TerminationSignals()
{
    if (!notifier_) return;
    SetHandler(SIG_DFL);
    delete notifier_;
    for (int& end : signalPipe) {
        ::close(end);
        end = -1;
    }
}

void TerminationSignals::ReadPipe()
{
    unsigned char byte = 0;
    while (::read(signalPipe[0], &byte, 1) == 1) {
        if (received_ == 0) received_ = byte;
        emit Received(byte);
    }
}
