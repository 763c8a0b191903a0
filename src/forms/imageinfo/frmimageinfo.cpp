#include "forms/imageinfo/frmimageinfo.h"

#include "core/image/imagereport.h"
#include "forms/common/appicon.h"
#include "forms/common/named.h"
#include "forms/imageinfo/imagecomparepanel.h"
#include "forms/imageinfo/trackgrid.h"

#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace ferncastle {

namespace {

QString legendText()
{
    QString text;
    for (auto [state, meaning] : {std::pair{TrackState::Good, "all sectors good"},
                                  std::pair{TrackState::Bad, "CRC errors or damage"},
                                  std::pair{TrackState::MissingSectors, "missing sectors"},
                                  std::pair{TrackState::Empty, "empty or unformatted"}}) {
        text += QStringLiteral("<span style=\"color:%1\">&#9632;</span> %2&nbsp;&nbsp; ")
                    .arg(TrackGrid::stateColor(state).name(), QLatin1String(meaning));
    }
    return text;
}

} // namespace

FrmImageInfo::FrmImageInfo(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmImageInfo"));
    setWindowTitle(QStringLiteral("Image Information"));
    setWindowIcon(appIcon());
    setAttribute(Qt::WA_DeleteOnClose);
    createControls();
    connect(grid, &TrackGrid::cellSelected, this, &FrmImageInfo::showTrack);
    connect(cmdCopyText, &QPushButton::clicked, this, &FrmImageInfo::copyAsText);
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);
}

void FrmImageInfo::createControls()
{
    lblSummary = named(new QLabel, "lblSummary");
    lblSummary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblSummary->setTextFormat(Qt::PlainText);
    grid = new TrackGrid;
    lblLegend = named(new QLabel(legendText()), "lblLegend");
    lstFindings = named(new QListWidget, "lstFindings");
    lstFindings->setMaximumHeight(90);
    lblTrack = named(new QLabel(QStringLiteral("Select a track on the map to list its sectors.")),
                     "lblTrack");
    tblSectors = named(new QTableWidget(0, int(sectorColumnTitles().size())), "tblSectors");
    tblSectors->setHorizontalHeaderLabels(sectorColumnTitles());
    tblSectors->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblSectors->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblSectors->verticalHeader()->hide();
    tblSectors->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    cmdCopyText = named(new QPushButton(QStringLiteral("Copy as &Text")), "cmdCopyText");
    cmdClose = named(new QPushButton(QStringLiteral("&Close")), "cmdClose");

    m_buttons = new QHBoxLayout;
    m_buttons->addStretch();
    m_buttons->addWidget(cmdCopyText);
    m_buttons->addWidget(cmdClose);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblSummary);
    layout->addWidget(grid);
    layout->addWidget(lblLegend);
    layout->addWidget(lstFindings);
    layout->addWidget(lblTrack);
    layout->addWidget(tblSectors, 1);
    layout->addLayout(m_buttons);
    resize(900, 560);
}

void FrmImageInfo::showImage(const DiskImage &image, const QString &name)
{
    m_image = image;
    m_name = name;
    setWindowTitle(QStringLiteral("Image Information - ") + QFileInfo(name).fileName());
    lblSummary->setText(imageSummary(image, name).trimmed());
    grid->setImage(image);
    grid->setVisible(image.isImage());
    lblLegend->setVisible(image.isImage());
    lstFindings->clear();
    for (const Finding &finding : image.findings)
        lstFindings->addItem(finding.text);
    lstFindings->setVisible(!image.findings.isEmpty());
    tblSectors->setRowCount(0);
    lblTrack->setVisible(image.isImage());
    tblSectors->setVisible(image.isImage());
    if (!image.tracks.isEmpty())
        grid->select(0, 0);
    if (comparison)
        comparison->setImage(name);
}

void FrmImageInfo::showTrack(int track, int side)
{
    const TrackInfo *info = m_image.track(track, side);
    lblTrack->setText(info ? trackDescription(*info) : QString());
    const QList<SectorInfo> sectors = info ? info->sectors : QList<SectorInfo>{};
    tblSectors->setRowCount(int(sectors.size()));
    for (int row = 0; row < sectors.size(); ++row) {
        const QStringList cells = sectorColumns(sectors[row]);
        for (int column = 0; column < cells.size(); ++column) {
            auto *item = new QTableWidgetItem(cells[column]);
            if (!sectors[row].good())
                item->setForeground(TrackGrid::stateColor(TrackState::Bad));
            tblSectors->setItem(row, column, item);
        }
    }
}

QString FrmImageInfo::reportText() const
{
    return imageReport(m_image, m_name);
}

void FrmImageInfo::offerComparison(Prompts &prompts)
{
    if (comparison)
        return;
    comparison = new ImageComparePanel(prompts, *grid, this);
    comparison->setImage(m_name);
    qobject_cast<QVBoxLayout *>(layout())->insertWidget(layout()->indexOf(lblTrack), comparison);
    m_buttons->insertWidget(1, comparison->cmdCompareWith);
}

void FrmImageInfo::copyAsText()
{
    QGuiApplication::clipboard()->setText(reportText());
}

} // namespace ferncastle
