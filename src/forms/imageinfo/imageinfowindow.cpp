#include "forms/imageinfo/imageinfowindow.h"

#include "core/image/findinggroups.h"
#include "core/image/imagereport.h"
#include "forms/common/accessiblenames.h"
#include "forms/common/appicon.h"
#include "forms/common/closekeys.h"
#include "forms/common/named.h"
#include "forms/common/screenfit.h"
#include "forms/common/textroom.h"
#include "forms/grid/trackgrid.h"
#include "forms/imageinfo/filesview.h"
#include "forms/imageinfo/imagecomparepanel.h"
#include "forms/imageinfo/sectorview.h"

#include <QAction>
#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace ferncastle {

ImageInfoWindow::ImageInfoWindow(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("ImageInfoWindow"));
    setWindowTitle(QStringLiteral("Image Information"));
    setWindowIcon(appIcon());
    setAttribute(Qt::WA_DeleteOnClose);
    createControls();
    announceAsWindow(*this);
    closeOnEscapeAndCtrlW(*this);
    openOver(*this, parent ? parent->window() : nullptr);
    connect(grid, &TrackGrid::cellSelected, this, &ImageInfoWindow::showTrack);
    connect(cmdCopyText, &QPushButton::clicked, this, &ImageInfoWindow::copyAsText);
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);
    // Enter gives activated; a double click gives both signals, and showing
    // the same sector twice is harmless.
    connect(tblSectors, &QAbstractItemView::activated, this,
            [this](const QModelIndex &index) { showSectorBytes(index.row()); });
    connect(tblSectors, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex &index) { showSectorBytes(index.row()); });
}

void ImageInfoWindow::createControls()
{
    lblSummary = named(new QLabel, "lblSummary");
    lblSummary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblSummary->setTextFormat(Qt::PlainText);
    grid = new TrackGrid;
    grid->setSelectable(true);
    lstFindings = named(new QTreeWidget, "lstFindings");
    lstFindings->setHeaderHidden(true);
    lstFindings->setWordWrap(true);
    lstFindings->setAccessibleName(QStringLiteral("Findings"));
    lstFindings->setMaximumHeight(roomForText(*lstFindings, 0, 6).height());
    lblTrack = named(new QLabel(QStringLiteral("Select a track on the map to list its sectors.")),
                     "lblTrack");
    lblTrack->setTextFormat(Qt::PlainText);
    tblSectors = named(new QTableWidget(0, int(sectorColumnTitles().size())), "tblSectors");
    tblSectors->setHorizontalHeaderLabels(sectorColumnTitles());
    tblSectors->setAccessibleName(QStringLiteral("Sectors of the selected track"));
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
    layout->addWidget(lstFindings);
    layout->addWidget(lblTrack);
    layout->addWidget(tblSectors, 1);
    layout->addLayout(m_buttons);
    createFilesView();
    resize(roomForText(*this, 130, 36));
}

// A bad row's mark, which stays when the row is selected: the selection's
// colours replace the row's red.
QIcon ImageInfoWindow::faultMark() const
{
    return stateIcon(CellState::Bad, fontMetrics().height() - 2);
}

// The sector list and the files share the room below the map: both are
// read against it, and the map stays in view whichever is open.
void ImageInfoWindow::createFilesView()
{
    filesView = new FilesView(*grid);
    tabDetails = named(new QTabWidget, "tabDetails");
    tabDetails->setAccessibleName(QStringLiteral("Sectors and files"));
    delete layout()->replaceWidget(tblSectors, tabDetails); // the layout item is ours to free
    tabDetails->addTab(tblSectors, QStringLiteral("&Sectors"));
    tabDetails->addTab(filesView, QStringLiteral("F&iles"));
    actSaveFiles = new QAction(QStringLiteral("Save &Files..."), this);
    actSaveFiles->setObjectName(QStringLiteral("actSaveFiles"));
    actSaveFiles->setShortcut(QKeySequence::Save);
    actSaveFiles->setEnabled(false);
    addAction(actSaveFiles);
    connect(actSaveFiles, &QAction::triggered, filesView, &FilesView::saveFiles);
}

void ImageInfoWindow::showImage(const DiskImage &image, const QString &name)
{
    // The files first: the cell selected on the map names its files.
    showFiles(SectorSource::fromFile(name), name);
    showTracks(image, name);
}

void ImageInfoWindow::showImage(const SectorSource &source, const QString &name)
{
    showFiles(source, name);
    showTracks(source.image(), name);
}

void ImageInfoWindow::showFiles(const SectorSource &source, const QString &name)
{
    filesView->showDirectory(source, name);
    actSaveFiles->setEnabled(filesView->canSave());
    // Which programs came through is what a disk with files is read for.
    tabDetails->setCurrentWidget(filesView->directory().found ? static_cast<QWidget *>(filesView)
                                                              : tblSectors);
}

void ImageInfoWindow::showTracks(const DiskImage &image, const QString &name)
{
    if (sectorView)
        sectorView->close();
    m_image = image;
    m_name = name;
    setWindowTitle(QStringLiteral("Image Information - ") + QFileInfo(name).fileName());
    lblSummary->setText(imageSummary(image, name).trimmed());
    grid->setModel(gridModelOf(image));
    grid->setVisible(image.isImage());
    lstFindings->clear();
    for (const FindingGroup &group : groupFindings(image.findings)) {
        auto *item = new QTreeWidgetItem(lstFindings, {findingGroupLine(group)});
        item->setIcon(0, faultMark());
        if (group.instances.size() > 1) {
            for (const Finding &finding : group.instances)
                new QTreeWidgetItem(item, {finding.text});
        }
    }
    lstFindings->setVisible(!image.findings.isEmpty());
    tblSectors->setRowCount(0);
    lblTrack->setVisible(image.isImage());
    tabDetails->setVisible(image.isImage());
    if (!image.tracks.isEmpty())
        grid->select(0, 0);
    if (comparison)
        comparison->setImage(name);
}

void ImageInfoWindow::showTrack(int track, int side)
{
    m_track = track;
    m_side = side;
    const TrackInfo *info = m_image.track(track, side);
    const QString files = filesView->filesOnCell(track, side);
    lblTrack->setText((info ? trackDescription(*info) : QString())
                      + (files.isEmpty() ? QString() : u'\n' + files));
    const QList<SectorInfo> sectors = info ? info->sectors : QList<SectorInfo>{};
    tblSectors->setRowCount(int(sectors.size()));
    for (int row = 0; row < sectors.size(); ++row) {
        const QStringList cells = sectorColumns(sectors[row]);
        for (int column = 0; column < cells.size(); ++column) {
            auto *item = new QTableWidgetItem(cells[column]);
            if (!sectors[row].good()) {
                item->setForeground(lookOf(CellState::Bad).fill);
                if (column == 0)
                    item->setIcon(faultMark());
            }
            tblSectors->setItem(row, column, item);
        }
    }
}

// The file is read again for the bytes: the window keeps only what the
// reader found, and the bytes are wanted for a sector now and then.
void ImageInfoWindow::showSectorBytes(int row)
{
    if (row < 0 || m_track < 0)
        return;
    if (!sectorView) {
        sectorView = new SectorView(SectorSource::fromFile(m_name), m_name, this);
    }
    if (!sectorView->showSector(m_track, m_side, row)) {
        sectorView->close();
        lblTrack->setText(QStringLiteral("The file no longer holds this sector: it has changed "
                                         "since it was read. Open it again to see its sectors."));
        return;
    }
    sectorView->show();
    sectorView->raise();
    sectorView->activateWindow();
}

QString ImageInfoWindow::reportText() const
{
    return imageReport(m_image, m_name);
}

void ImageInfoWindow::offerComparison(Prompts &prompts)
{
    if (comparison)
        return;
    comparison = new ImageComparePanel(prompts, *grid, this);
    comparison->setImage(m_name);
    qobject_cast<QVBoxLayout *>(layout())->insertWidget(layout()->indexOf(lblTrack), comparison);
    m_buttons->insertWidget(1, comparison->cmdCompareWith);
}

void ImageInfoWindow::offerFileSaving(Prompts &prompts)
{
    filesView->offerSaving(prompts);
    actSaveFiles->setEnabled(filesView->canSave());
}

void ImageInfoWindow::copyAsText()
{
    QGuiApplication::clipboard()->setText(reportText());
}

} // namespace ferncastle
