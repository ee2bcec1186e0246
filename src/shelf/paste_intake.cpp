#include "shelf/paste_intake.h"

#include "shelf/mime_item_provider_factory.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace shelf {

PasteIntake::PasteIntake(core::MainQueue& mainQueue, core::DiagnosticLog& log,
                         MimeItemProviderFactory& providers, DropIntake::AddItem addItem)
    : m_intake(mainQueue, log, std::move(addItem)), m_providers(providers) {}

bool PasteIntake::paste(const QMimeData& data) {
    DropContents contents = MimeItemProviderFactory::read(data);
    if (contents.isEmpty())
        return false;
    m_providers.makeProviders(
        std::move(contents),
        [intake = m_intake](const ItemProviderList& providers) { intake.handleDrop(providers); });
    return true;
}

bool PasteIntake::pasteClipboard() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
    return data && paste(*data);
}

} // namespace shelf
