#pragma once
// SIGINT and SIGTERM for the desktop program: the signal handler only writes the signal's number
// to a pipe that the event loop watches, so the program ends on its main thread through its own
// window closing, never in the middle of a file write.

#include <QObject>

class QSocketNotifier;

class TerminationSignals : public QObject {
    Q_OBJECT
public:
    // Installs the handlers for SIGINT and SIGTERM; they stay until this object goes.
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // The number of the first signal that arrived, 0 while none has.
    int ReceivedSignal() const { return received_; }

signals:
    // A termination signal arrived (once per signal, on the main thread).
    void Received(int signalNumber);

private:
    void ReadPipe();

    QSocketNotifier* notifier_ = nullptr;
    int received_ = 0;
};
