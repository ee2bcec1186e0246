// The drop region alone in a window, for drag-and-drop tests against real drag sources: the
// intake's diagnostic lines go to standard output as in the application, and each committed
// entry adds one line per payload, "Entry payload: <type> <content>".
#include "platform/diagnostic_log.h"
#include "platform/mime_item_provider_factory.h"
#include "platform/qt_main_queue.h"
#include "platform/services.h"
#include "shelf/drop_region_view.h"

#include <QApplication>
#include <QThreadPool>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    platform::QtMainQueue mainQueue;
    platform::StdoutDiagnosticLog log;
    const platform::Services services{&mainQueue, nullptr, nullptr, &log};
    QThreadPool loads; // declared after the queue: waits for running loads before it goes
    platform::MimeItemProviderFactory providers(
        platform::MimeItemProviderFactory::defaultImageCacheDirectory(), loads);

    shelf::DropRegionView region(services, providers, [&log](const shelf::BucketItem& item) {
        for (const auto& payload : item.items)
            platform::print(log, "Entry payload:", payload.type.identifier(), payload.content);
    });
    region.setWindowTitle(QStringLiteral("Drop region"));
    region.resize(160, 310);
    region.show();
    return QApplication::exec();
}
