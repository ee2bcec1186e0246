#pragma once

#include "backend/drag_selection.h"
#include "backend/pending_drop.h"

#include <QAbstractNativeEventFilter>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <chrono>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace backend::x11 {

class X11Connection;

// Takes drops of other applications' drags onto Holdfin's windows over from Qt (see
// DragSelection::takeOverDrop), whose reads of a drop's data wait up to 5 s per format on
// the GUI thread. Qt's connection is only listened to (a native event filter that sees the
// XDND messages first and keeps a taken-over XdndDrop from Qt); the data is converted on
// `connection`, one conversion at a time, each answer (and each part of an incremental
// transfer) awaited for at most `answerBound`, an incremental transfer at most 30 s and
// 256 MiB in all. Finishing a drop answers the source with
// XdndFinished and sends Qt the XdndLeave that ends the drag on its side. GUI thread only.
class X11DropReader final : public QObject, private QAbstractNativeEventFilter {
    Q_OBJECT
public:
    // `connection` must outlive this object.
    explicit X11DropReader(X11Connection& connection,
                           std::chrono::milliseconds answerBound = std::chrono::seconds(2),
                           QObject* parent = nullptr);
    ~X11DropReader() override;

    bool takeOverDrop(QWindow* window, DragSelection::DropHandler onDrop);

private:
    struct DropState;
    class Drop;
    // A drag over one of our windows, as its XdndEnter told.
    struct Drag {
        std::uint32_t source = 0;
        bool hasTypeList = false;
        std::vector<std::uint32_t> types; // those XdndEnter carried
        DragSelection::DropHandler onDrop;
    };
    struct Read {
        std::shared_ptr<DropState> drop;
        std::string format;
        PendingDrop::ReadHandler done;
        std::vector<std::string> targets; // left to ask, in order
        std::uint32_t target = 0;         // the one asked now
        bool isIncremental = false;
        QElapsedTimer transferTime; // of an incremental transfer
        QByteArray received;
    };

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;
    void dropped(std::uint32_t window, const Drag& drag, std::uint32_t time);
    void read(const std::shared_ptr<DropState>& drop, const QString& format,
              PendingDrop::ReadHandler done);
    void finish(const DropState& drop, bool isTaken);
    void handleEvent(const void* event);
    void startNextRead();
    void askNextTarget();
    void answered(std::uint32_t property);
    void partArrived();
    void targetDone(const QByteArray& data);
    void complete(const QByteArray& data);
    QByteArray takeProperty(std::uint32_t* type);

    X11Connection& m_connection;
    int m_listener = 0;
    std::uint32_t m_requestor = 0;         // receives the converted data
    std::map<std::uint32_t, Drag> m_drags; // by the window of ours they are over
    std::deque<Read> m_reads;              // the front one is under way while m_isReading
    bool m_isReading = false;
    QTimer m_bound;
    std::uint32_t m_selection = 0;
    std::uint32_t m_property = 0;
    std::uint32_t m_incr = 0;
    std::uint32_t m_enter = 0;
    std::uint32_t m_leave = 0;
    std::uint32_t m_drop = 0;
    std::uint32_t m_finished = 0;
    std::uint32_t m_typeList = 0;
    std::uint32_t m_actionCopy = 0;
};

} // namespace backend::x11
