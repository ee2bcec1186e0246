#pragma once

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QObject>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace backend {
struct DragOffer;
}
struct xcb_connection_t;

namespace backend::x11 {

class X11Connection;

// Answers requests for the data of Holdfin's own drags (XdndSelection) itself, whatever time
// they carry. Qt's xcb drag source answers only requests at the time of its drag's latest
// input event and refuses TARGETS; mutter asks for TARGETS at the time of its own notice of
// the new owner, and with that refused it hands a Wayland window an empty drop. Serves the
// data of the latest drag given to serve() until the next; TARGETS lists every target of the
// offer. Data too large for one request is left to Qt.
//
// It also keeps other clients' clocks out of Qt's: Qt takes the time of every selection
// request for its own latest server time, and later takes the drag's selection at that time.
// A request carrying a time no server produced (some file managers send seconds since 1970)
// would make every later drag out fail to own its selection, its peers then reading nothing.
// Such a request reaches Qt with the server's time instead.
//
// It also tells who the destination is, as far as Holdfin's drag sees it: the window that last
// answered its position (XdndStatus), and each request for its data.
//
// Listens to Qt's connection; does nothing on another platform. GUI thread only.
class DragSelectionServer final : public QObject, private QAbstractNativeEventFilter {
    Q_OBJECT
public:
    explicit DragSelectionServer(X11Connection& connection, QObject* parent = nullptr);
    ~DragSelectionServer() override;

    // Serves `offer` from now on.
    void serve(const backend::DragOffer& offer);
    // The window that last answered the drag's position; none before the first answer.
    std::uint32_t targetWindow() const { return m_targetWindow; }

signals:
    // A peer was handed data of the latest offer.
    void handedOver();
    // A peer asked for data of the latest offer, answered or not.
    void dataRequested();

private:
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;
    // Answers a request; false to leave it to Qt.
    bool answer(std::uint32_t requestor, std::uint32_t target, std::uint32_t property,
                std::uint32_t time);

    X11Connection& m_x11; // the server's clock and atoms
    xcb_connection_t* m_connection = nullptr;
    std::uint32_t m_selection = 0;
    std::uint32_t m_targets = 0;
    std::uint32_t m_status = 0;
    std::uint32_t m_targetWindow = 0;
    std::uint32_t m_atomType = 4; // XCB_ATOM_ATOM
    std::size_t m_maxBytes = 0;
    std::map<std::uint32_t, QByteArray> m_data; // by target
    std::vector<std::uint32_t> m_targetList;
};

} // namespace backend::x11
