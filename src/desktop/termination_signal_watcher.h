#pragma once

#include <QObject>

#include <signal.h>

class QSocketNotifier;

namespace desktop {

// Turns SIGTERM and SIGINT into a Qt signal on the thread that created the watcher, so that a
// session ending or a Ctrl+C quits through the event loop and everything is torn down in order
// instead of the process dying mid-flight. One watcher at a time; the previous handlers come
// back when it goes.
class TerminationSignalWatcher final : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignalWatcher(QObject* parent = nullptr);
    ~TerminationSignalWatcher() override;

    // False when the handlers could not be installed (the signals then keep their old action).
    bool isWatching() const { return m_notifier != nullptr; }

signals:
    // A termination signal arrived; emitted once per arrival that the event loop saw.
    void terminationRequested(int signalNumber);

private:
    void drain();

    int m_readFd = -1;
    int m_writeFd = -1;
    QSocketNotifier* m_notifier = nullptr;
    struct sigaction m_previousTerm {};
    struct sigaction m_previousInt {};
};

} // namespace desktop
