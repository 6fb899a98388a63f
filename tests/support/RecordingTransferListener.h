#pragma once
// A transfer listener that keeps everything it is told, and a wait for its answer that runs the Qt
// event loop meanwhile.

#include <QCoreApplication>
#include <QElapsedTimer>

#include <string>
#include <vector>

#include "core/run/HttpTransfer.h"

class RecordingListener final : public HttpTransferListener {
public:
    void StateChanged(int state) override { states.push_back(state); }
    void Completed(int httpStatus, HttpResponseBody& body) override {
        status = httpStatus;
        for (std::string piece = body.GetChunk(1024); !piece.empty(); piece = body.GetChunk(1024)) text += piece;
        done = true;
    }
    void Failed(int code, const std::string& why) override {
        failure = code;
        failureText = why;
        done = true;
    }
    std::vector<int> states;
    int status = 0;
    std::string text;
    int failure = 0;
    std::string failureText;
    bool done = false;
};

// Runs the event loop until `done` holds or `milliseconds` have passed.
template <class Condition>
bool AwaitCondition(Condition done, int milliseconds = 10000) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < milliseconds) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    return done();
}

// Runs the event loop until the listener has its answer or `milliseconds` have passed.
inline bool AwaitAnswer(const RecordingListener& listener, int milliseconds = 10000) {
    return AwaitCondition([&] { return listener.done; }, milliseconds);
}
