#include "forms/imageinfo/sectorview.h"

#include "core/image/sectordump.h"
#include "forms/common/accessiblenames.h"
#include "forms/common/appicon.h"
#include "forms/common/closekeys.h"
#include "forms/common/named.h"
#include "forms/common/screenfit.h"
#include "forms/common/textroom.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ferncastle {

SectorView::SectorView(SectorSource source, const QString &name, QWidget *parent)
    : QWidget(parent, Qt::Window), m_source(std::move(source))
{
    setObjectName(QStringLiteral("SectorView"));
    setWindowTitle(QStringLiteral("Sector - ") + QFileInfo(name).fileName());
    setWindowIcon(appIcon());
    setAttribute(Qt::WA_DeleteOnClose);
    const QList<TrackInfo> &tracks = m_source.image().tracks;
    for (int t = 0; t < tracks.size(); ++t) {
        for (int s = 0; s < tracks[t].sectors.size(); ++s)
            m_places.append({t, s});
    }
    createControls();
    announceAsWindow(*this);
    closeOnEscapeAndCtrlW(*this);
    openOver(*this, parent ? parent->window() : nullptr);
    connect(cmdPrevious, &QPushButton::clicked, this, [this] { step(-1); });
    connect(cmdNext, &QPushButton::clicked, this, [this] { step(1); });
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);
}

void SectorView::createControls()
{
    lblSector = named(new QLabel, "lblSector");
    lblSector->setTextFormat(Qt::PlainText);
    lblSector->setWordWrap(true);
    lblSector->setTextInteractionFlags(Qt::TextSelectableByMouse);
    txtBytes = named(new QPlainTextEdit, "txtBytes");
    txtBytes->setReadOnly(true);
    txtBytes->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtBytes->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // The keys that step belong to the window, not to the text's scrolling.
    txtBytes->setFocusPolicy(Qt::NoFocus);
    txtBytes->setAccessibleName(QStringLiteral("Sector bytes"));
    cmdPrevious = named(new QPushButton(QStringLiteral("&Previous Sector")), "cmdPrevious");
    cmdNext = named(new QPushButton(QStringLiteral("&Next Sector")), "cmdNext");
    cmdClose = named(new QPushButton(QStringLiteral("&Close")), "cmdClose");
    for (QPushButton *button : {cmdPrevious, cmdNext, cmdClose})
        button->setFocusPolicy(Qt::NoFocus);
    setFocusPolicy(Qt::StrongFocus);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdPrevious);
    buttons->addWidget(cmdNext);
    buttons->addStretch();
    buttons->addWidget(cmdClose);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblSector);
    layout->addWidget(txtBytes, 1);
    layout->addLayout(buttons);
    // A dump line is under 80 characters; the rest is the frame and a scroll bar.
    resize(roomForText(*txtBytes, 86, 24));
}

bool SectorView::showSector(int track, int side, int index)
{
    const QList<TrackInfo> &tracks = m_source.image().tracks;
    for (qsizetype at = 0; at < m_places.size(); ++at) {
        const TrackInfo &info = tracks[m_places[at].track];
        if (info.track == track && info.side == side && m_places[at].sector == index) {
            showPlace(at);
            return true;
        }
    }
    return false;
}

void SectorView::step(int by)
{
    const qsizetype next = m_at + by;
    if (m_at < 0 || next < 0 || next >= m_places.size())
        return;
    showPlace(next);
}

void SectorView::showPlace(qsizetype at)
{
    m_at = at;
    const TrackInfo &track = m_source.image().tracks[m_places[at].track];
    const SectorInfo &sector = track.sectors[m_places[at].sector];
    const QByteArray bytes = sector.hasDataMark ? m_source.data(sector) : QByteArray();
    lblSector->setText(sectorHeading(track, sector, bytes.size()));
    txtBytes->setPlainText(hexDump(bytes));
    cmdPrevious->setEnabled(at > 0);
    cmdNext->setEnabled(at + 1 < m_places.size());
}

void SectorView::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_PageDown:
    case Qt::Key_N:
        step(1);
        return;
    case Qt::Key_PageUp:
    case Qt::Key_P:
        step(-1);
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

} // namespace ferncastle
