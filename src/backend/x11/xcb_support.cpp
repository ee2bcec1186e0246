#include "backend/x11/xcb_support.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

namespace backend::x11 {

xcb_connection_t* qtConnection() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

} // namespace backend::x11
