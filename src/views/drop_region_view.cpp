#include "views/drop_region_view.h"

#include "backend/drag_selection.h"
#include "backend/pending_drop.h"
#include "desktop/symbol_image.h"
#include "shelf/logging.h"
#include "shelf/mime_item_provider_factory.h"
#include "views/drop_data_reader.h"
#include "views/spring_curve.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QIcon>
#include <QMimeData>
#include <QPainter>
#include <QPointer>

#include <algorithm>

namespace views {

namespace {

constexpr int kSymbolSize = 48;
constexpr double kTargetedOpacity = 0.69;
const SpringCurve kSpring(0.5, 0.85);

const QString kSymbol = QStringLiteral("digitalcrown.horizontal.press");
const QString kTargetedSymbol = QStringLiteral("digitalcrown.horizontal.press.fill");

QColor blend(const QColor& from, const QColor& to, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return QColor::fromRgbF(from.redF() + (to.redF() - from.redF()) * t,
                            from.greenF() + (to.greenF() - from.greenF()) * t,
                            from.blueF() + (to.blueF() - from.blueF()) * t,
                            from.alphaF() + (to.alphaF() - from.alphaF()) * t);
}

// Makes what a drop carried one entry; an empty drop logs that it brought nothing.
void takeContents(const shelf::DropIntake& intake, shelf::MimeItemProviderFactory& providerFactory,
                  shelf::DropContents contents) {
    if (contents.isEmpty()) {
        intake.handleDrop({});
        return;
    }
    // Many files cost a pool thread time; the GUI thread goes on at once.
    providerFactory.makeProviders(
        std::move(contents),
        [intake](const shelf::ItemProviderList& providers) { intake.handleDrop(providers); });
}

// Reads a drop taken over from the toolkit, tells its source whether it was taken and makes
// its entry; `onRead` runs last.
void readTakenOverDrop(const std::shared_ptr<backend::PendingDrop>& drop,
                       const shelf::DropIntake& intake,
                       shelf::MimeItemProviderFactory* providerFactory,
                       std::function<void()> onRead) {
    DropDataReader::read(drop, [drop, intake, providerFactory,
                                onRead = std::move(onRead)](shelf::DropContents contents) {
        // The source learns when nothing could be taken.
        drop->finish(!contents.isEmpty());
        takeContents(intake, *providerFactory, std::move(contents));
        onRead();
    });
}

} // namespace

DropRegionView::DropRegionView(core::MainQueue& mainQueue, core::DiagnosticLog& log,
                               const desktop::SymbolImage* symbols,
                               backend::DragSelection* dragSelection,
                               shelf::MimeItemProviderFactory& providerFactory,
                               shelf::DropIntake::AddItem addItem, QWidget* parent)
    : QWidget(parent), m_intake(mainQueue, log, std::move(addItem)), m_symbols(symbols),
      m_dragSelection(dragSelection), m_providerFactory(providerFactory) {
    setAcceptDrops(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    // The spring is driven by elapsed time: the animation runs linearly and valueAt() shapes it.
    m_spring.setStartValue(0.0);
    m_spring.setEndValue(1.0);
    m_spring.setDuration(static_cast<int>(kSpring.settlingTime().count()));
    connect(&m_spring, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        const double seconds = value.toDouble() * m_spring.duration() / 1000.0;
        const double target = m_isDragTargeted ? 1.0 : 0.0;
        m_progress = m_progressFrom + (target - m_progressFrom) * kSpring.valueAt(seconds);
        update();
    });
    connect(&m_spring, &QVariantAnimation::finished, this, [this] {
        m_progress = m_isDragTargeted ? 1.0 : 0.0;
        update();
    });
}

QString DropRegionView::symbolName() const {
    return m_isDragTargeted ? kTargetedSymbol : kSymbol;
}

QSize DropRegionView::sizeHint() const {
    return {kSymbolSize, kSymbolSize};
}

QSize DropRegionView::minimumSizeHint() const {
    return {0, 0};
}

void DropRegionView::setDragTargeted(bool value) {
    if (m_isDragTargeted == value)
        return;
    m_isDragTargeted = value;
    m_progressFrom = m_progress;
    m_spring.stop();
    m_spring.start();
    emit isDragTargetedChanged();
}

bool DropRegionView::canTake(const QDropEvent& event) const {
    // Copy only: a drop here keeps a reference, and a source told "moved" may delete its file.
    // A source that never answered a request would hold the GUI thread for as long as the
    // toolkit waits on each read.
    return (event.possibleActions() & Qt::CopyAction) &&
           shelf::MimeItemProviderFactory::canProvide(*event.mimeData()) &&
           (!m_dragSelection || m_dragSelection->hasSourceAnswered());
}

void DropRegionView::dragEnterEvent(QDragEnterEvent* event) {
    if (!canTake(*event)) {
        qCDebug(shelf::lcDrop, "drag refused: actions %d, formats %s, source answered %d",
                int(event->possibleActions()),
                qPrintable(event->mimeData()->formats().join(QLatin1Char(' '))),
                !m_dragSelection || m_dragSelection->hasSourceAnswered());
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    setDragTargeted(true);
    takeOverDrop();
}

void DropRegionView::takeOverDrop() {
    if (!m_dragSelection)
        return;
    // Read inside the toolkit's drop event, another application's data would hold the GUI
    // thread for as long as its source takes to answer, seconds for one that stalls. Taken
    // over, the drop is read without waiting; the region stays targeted until it is read.
    QPointer<DropRegionView> self(this);
    m_dragSelection->takeOverDrop(window()->windowHandle(),
                                  [self, intake = m_intake, providerFactory = &m_providerFactory](
                                      const std::shared_ptr<backend::PendingDrop>& drop) {
                                      readTakenOverDrop(drop, intake, providerFactory, [self] {
                                          if (self)
                                              self->setDragTargeted(false);
                                      });
                                  });
}

void DropRegionView::dragMoveEvent(QDragMoveEvent* event) {
    if (!m_isDragTargeted) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void DropRegionView::dragLeaveEvent(QDragLeaveEvent* event) {
    if (m_dragSelection && m_isDragTargeted)
        m_dragSelection->takeOverDrop(window()->windowHandle(), {});
    setDragTargeted(false);
    event->accept();
}

void DropRegionView::dropEvent(QDropEvent* event) {
    setDragTargeted(false);
    if (!canTake(*event)) {
        event->ignore();
        return;
    }
    // Everything is read now: another client's data is only readable inside the drop event.
    shelf::DropContents contents = shelf::MimeItemProviderFactory::read(*event->mimeData());
    // The source learns when nothing could be taken.
    if (contents.isEmpty()) {
        event->ignore();
    } else {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    }
    takeContents(m_intake, m_providerFactory, std::move(contents));
}

QPixmap DropRegionView::symbol(const QString& name, const QColor& color) const {
    const QSize size(kSymbolSize, kSymbolSize);
    if (m_symbols)
        return m_symbols->image(name, size, color, devicePixelRatioF());
    return desktop::SymbolImage::tinted(desktop::SymbolImage::bundled(name), size, color,
                                        devicePixelRatioF());
}

void DropRegionView::paintEvent(QPaintEvent*) {
    const bool isDark = palette().color(QPalette::Window).lightness() < 128;
    const QColor gray(0x8e, 0x8e, 0x93);
    QColor blue = isDark ? QColor(0x0a, 0x84, 0xff) : QColor(0x00, 0x7a, 0xff);
    blue.setAlphaF(kTargetedOpacity);
    const QColor color = blend(gray, blue, m_progress);

    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRect frame((width() - kSymbolSize) / 2, (height() - kSymbolSize) / 2, kSymbolSize,
                      kSymbolSize);
    // The two symbols cross-fade as the spring moves; at rest only the current one shows.
    const double filled = std::clamp(m_progress, 0.0, 1.0);
    if (filled < 1) {
        painter.setOpacity(1 - filled);
        painter.drawPixmap(frame, symbol(kSymbol, color));
    }
    if (filled > 0) {
        painter.setOpacity(filled);
        painter.drawPixmap(frame, symbol(kTargetedSymbol, color));
    }
}

} // namespace views
