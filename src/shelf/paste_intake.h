#pragma once

#include "shelf/drop_intake.h"

class QMimeData;

namespace shelf {

class MimeItemProviderFactory;

// Makes one shelf entry of what the clipboard holds (files, text, an image), through the same
// reading and intake as a drop of that data. GUI thread.
class PasteIntake final {
public:
    // As for a drop (see DropIntake); everything must outlive the loads of every paste.
    PasteIntake(core::MainQueue& mainQueue, core::DiagnosticLog& log,
                MimeItemProviderFactory& providers, DropIntake::AddItem addItem);

    // Takes `data` in; false when it holds nothing a shelf entry can be made of.
    bool paste(const QMimeData& data);
    // Takes the clipboard's content in; false when there is none to take.
    bool pasteClipboard();

private:
    DropIntake m_intake;
    MimeItemProviderFactory& m_providers;
};

} // namespace shelf
