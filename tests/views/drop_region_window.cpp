// The drop region alone in a window, for drag-and-drop tests against real drag sources: the
// intake's diagnostic lines go to standard output as in the application, and each committed
// entry adds one line per payload, "Entry payload: <type> <content>".
#include "core/diagnostic_log.h"
#include "core/qt_main_queue.h"
#include "shelf/mime_item_provider_factory.h"
#include "views/drop_region_view.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    core::QtMainQueue mainQueue;
    core::StdoutDiagnosticLog log;
    // Declared after the queue: its drops end before the queue goes.
    shelf::MimeItemProviderFactory providers(
        shelf::MimeItemProviderFactory::defaultImageCacheDirectory());

    views::DropRegionView region(
        mainQueue, log, nullptr, nullptr, providers, [&log](const shelf::BucketItem& item) {
            for (const auto& payload : item.items)
                core::print(log, "Entry payload:", payload.type.identifier(), payload.content);
        });
    region.setWindowTitle(QStringLiteral("Drop region"));
    region.resize(160, 310);
    region.show();
    return QApplication::exec();
}
