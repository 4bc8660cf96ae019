#include "search/SearchRun.h"

#include <QEventLoop>
#include <QPointer>

namespace qm {

void SearchRun::Prepare(long maximum, int resultMode, bool mute) {
    maximum_ = maximum;
    resultMode_ = resultMode;
    mute_ = mute;
    total_ = 0;
    limitHit_ = false;
}

bool SearchRun::Wait(unsigned id, QObject *owner) {
    if (running_ && id_ == id && searching_ && !closing_ && !allIdle_()) {
        QPointer<QObject> alive(owner);
        QEventLoop loop;
        wait_ = &loop;
        loop.exec();
        if (!alive) return false;  // this run went with its owner
        if (wait_ == &loop) wait_ = nullptr;
    }
    return running_ && id_ == id;
}

void SearchRun::QuitWait() {
    if (wait_) {
        wait_->quit();
        wait_ = nullptr;
    }
}

void SearchRun::EngineWentIdle() {
    if (running_ && allIdle_()) QuitWait();
}

bool SearchRun::CountResult(int engineCount, bool &engineStopped) {
    ++total_;
    if (resultMode_ == 1) {
        if (engineCount >= maximum_) {
            engineStopped = true;
            return false;
        }
    } else if (total_ >= maximum_) {
        searching_ = false;  // ends the whole search
        limitHit_ = true;
        QuitWait();
        return false;
    }
    return true;
}

bool SearchRun::Finish() {
    if (!running_) return false;
    endReason_ = closing_ ? SearchEnd::Closed
                 : limitHit_ ? SearchEnd::Limit
                 : allIdle_() ? SearchEnd::AllDone
                              : SearchEnd::Stopped;
    running_ = false;
    searching_ = false;
    QuitWait();
    return true;
}

void SearchRun::Shutdown() {
    closing_ = true;
    searching_ = false;
    running_ = false;
    QuitWait();
}

}  // namespace qm
