#pragma once
// The end of a session by a signal: SIGTERM (a shutdown, a logout), SIGHUP
// (a closed terminal) and SIGINT (Ctrl+C) are turned into a Qt signal on the
// event loop, so that the window ends in order and keeps its unsaved work.
// The handler itself only writes the signal's number to a pipe.

#include <QObject>

class QSocketNotifier;

namespace kestrane {

class SessionEnd : public QObject {
    Q_OBJECT
public:
    explicit SessionEnd(QObject* parent = nullptr);
    ~SessionEnd() override;

signals:
    void requested(int signalNumber);

private:
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace kestrane
