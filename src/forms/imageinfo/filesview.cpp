#include "forms/imageinfo/filesview.h"

#include "core/dos/doscopyout.h"
#include "forms/common/named.h"
#include "forms/grid/cellmarks.h"
#include "forms/grid/gridpalette.h"
#include "forms/grid/trackgrid.h"
#include "forms/imageinfo/filelookwindow.h"
#include "forms/imageinfo/filesaving.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <set>

namespace ferncastle {

namespace {

constexpr int fileIndexRole = Qt::UserRole;
constexpr int sortKeyRole = Qt::UserRole + 1;

// Sorts by the key it was given rather than by the words shown: sizes as
// numbers, dates as dates.
class SortedItem : public QTableWidgetItem
{
public:
    SortedItem(const QString &text, const QVariant &key) : QTableWidgetItem(text)
    {
        setData(sortKeyRole, key);
    }

    bool operator<(const QTableWidgetItem &other) const override
    {
        return QVariant::compare(data(sortKeyRole), other.data(sortKeyRole))
               == QPartialOrdering::Less;
    }
};

int healthRank(FileHealth health)
{
    return health == FileHealth::Intact ? 0 : health == FileHealth::Damaged ? 1 : 2;
}

// One row of the table per column: its title and how a file fills it.
struct FileColumn
{
    const char *title;
    QTableWidgetItem *(*item)(const DosFile &file);
};

const FileColumn fileColumns[] = {
    {"File", [](const DosFile &f) -> QTableWidgetItem * {
         return new QTableWidgetItem(f.dosName());
     }},
    {"Size", [](const DosFile &f) -> QTableWidgetItem * {
         auto *item = new SortedItem(QString::number(f.size), f.size);
         item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
         return item;
     }},
    {"Date", [](const DosFile &f) -> QTableWidgetItem * {
         const int key = f.date.year * 10000 + f.date.month * 100 + f.date.day;
         return new SortedItem(f.date.text(), f.date.isValid() ? key : 0);
     }},
    {"Attributes", [](const DosFile &f) -> QTableWidgetItem * {
         return new QTableWidgetItem(fileAttributeText(f));
     }},
    {"Health", [](const DosFile &f) -> QTableWidgetItem * {
         return new SortedItem(fileHealthText(f), healthRank(f.health));
     }},
};

QString diskLineText(const DosDirectory &directory)
{
    if (!directory.found) {
        QString why = directory.whyNot;
        if (!why.isEmpty())
            why[0] = why[0].toUpper();
        return why;
    }
    const DosDisk &disk = directory.disk;
    QString line = directorySummary(directory) + QStringLiteral(".\n");
    if (!disk.formatDate.isEmpty())
        line += QStringLiteral("Formatted %1; ").arg(disk.formatDate);
    line += QStringLiteral("%1 cylinders, %2, %3 density; ")
                .arg(QString::number(disk.cylinders),
                     disk.sides == 2 ? QStringLiteral("two sides") : QStringLiteral("one side"),
                     disk.doubleDensity ? QStringLiteral("double") : QStringLiteral("single"));
    line += disk.freeBytes < 0 ? QStringLiteral("free space not known.")
                               : QStringLiteral("%1 bytes free.").arg(disk.freeBytes);
    for (const QString &finding : directory.findings)
        line += u'\n' + finding;
    return line;
}

QString nameList(const QStringList &names)
{
    if (names.size() <= 1)
        return names.value(0);
    return names.mid(0, names.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" and ")
           + names.constLast();
}

} // namespace

FilesView::~FilesView()
{
    delete fileLook; // a window of its own, so not deleted with this one
}

FilesView::FilesView(TrackGrid &grid, QWidget *parent)
    : QWidget(parent), m_grid(grid), m_marks(new CellMarks(grid))
{
    setObjectName(QStringLiteral("filesView"));
    createControls();
    connect(filesTable, &QTableWidget::itemSelectionChanged, this, &FilesView::markSelection);
    // Enter gives activated; a double click gives both, and looking twice
    // at the same file is harmless.
    connect(filesTable, &QAbstractItemView::activated, this,
            [this](const QModelIndex &index) { lookInside(index.row()); });
    connect(filesTable, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex &index) { lookInside(index.row()); });
    connect(cmdSaveFiles, &QPushButton::clicked, this, &FilesView::saveFiles);
}

void FilesView::createControls()
{
    dosDiskLine = named(new QLabel, "dosDiskLine");
    dosDiskLine->setTextFormat(Qt::PlainText);
    dosDiskLine->setWordWrap(true);
    dosDiskLine->setTextInteractionFlags(Qt::TextSelectableByMouse);
    dosDiskLine->setAccessibleName(QStringLiteral("Disk"));
    QStringList titles;
    for (const FileColumn &column : fileColumns)
        titles.append(QLatin1String(column.title));
    filesTable = named(new QTableWidget(0, int(titles.size())), "filesTable");
    filesTable->setHorizontalHeaderLabels(titles);
    filesTable->setAccessibleName(QStringLiteral("Files on the disk"));
    filesTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    filesTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    filesTable->setSelectionMode(QAbstractItemView::ExtendedSelection);
    filesTable->verticalHeader()->hide();
    filesTable->verticalHeader()->setDefaultSectionSize(filesTable->fontMetrics().height() + 6);
    filesTable->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    filesTable->horizontalHeader()->setStretchLastSection(true);
    cmdSaveFiles = named(new QPushButton(QStringLiteral("Save &Files...")), "cmdSaveFiles");
    cmdSaveFiles->setEnabled(false);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(dosDiskLine, 1);
    buttons->addWidget(cmdSaveFiles, 0, Qt::AlignTop);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(filesTable, 1);
}

void FilesView::showDirectory(const SectorSource &source, const QString &name)
{
    if (fileLook)
        fileLook->close();
    m_source = source;
    m_name = name;
    m_directory = readDosDirectory(source);
    dosDiskLine->setText(diskLineText(m_directory));
    fillTable();
    filesTable->setVisible(m_directory.found);
    cmdSaveFiles->setEnabled(canSave());
    markSelection();
}

void FilesView::fillTable()
{
    filesTable->setSortingEnabled(false);
    // A new disk opens in its directory's order, as the DOS lists it.
    filesTable->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    filesTable->clearContents();
    filesTable->setRowCount(int(m_directory.files.size()));
    for (int row = 0; row < m_directory.files.size(); ++row) {
        const DosFile &file = m_directory.files[row];
        for (int column = 0; column < int(std::size(fileColumns)); ++column) {
            QTableWidgetItem *item = fileColumns[column].item(file);
            item->setData(fileIndexRole, row);
            item->setToolTip(fileHealthText(file));
            if (file.health != FileHealth::Intact)
                item->setForeground(lookOf(CellState::Bad).fill);
            filesTable->setItem(row, column, item);
        }
    }
    filesTable->setSortingEnabled(true);
}

void FilesView::offerSaving(Prompts &prompts)
{
    m_prompts = &prompts;
    cmdSaveFiles->setEnabled(canSave());
}

bool FilesView::canSave() const
{
    return m_prompts && m_directory.found && !m_directory.files.isEmpty();
}

int FilesView::fileIndexOfRow(int row) const
{
    const QTableWidgetItem *item = filesTable->item(row, 0);
    return item ? item->data(fileIndexRole).toInt() : -1;
}

QList<DosFile> FilesView::chosenFiles() const
{
    std::set<int> rows;
    for (const QModelIndex &index : filesTable->selectionModel()->selectedRows())
        rows.insert(index.row());
    if (rows.empty()) {
        for (int row = 0; row < filesTable->rowCount(); ++row)
            rows.insert(row);
    }
    QList<DosFile> files;
    for (int row : rows) {
        const int at = fileIndexOfRow(row);
        if (at >= 0 && at < m_directory.files.size())
            files.append(m_directory.files[at]);
    }
    return files;
}

QList<QPoint> FilesView::markedCells() const
{
    return m_marks->cells();
}

void FilesView::markSelection()
{
    QList<QPoint> cells;
    for (const QModelIndex &index : filesTable->selectionModel()->selectedRows()) {
        const int at = fileIndexOfRow(index.row());
        if (at < 0 || at >= m_directory.files.size())
            continue;
        for (const SectorAddress &bad : m_directory.files[at].badSectors) {
            const QPoint cell(bad.cylinder, bad.side);
            if (bad.side >= 0 && !cells.contains(cell))
                cells.append(cell);
        }
    }
    m_marks->setCells(cells);
    if (!cells.isEmpty())
        m_grid.select(cells.first().x(), cells.first().y());
}

QString FilesView::filesOnCell(int track, int side) const
{
    const TrackInfo *info = m_directory.found ? m_source.track(track, side) : nullptr;
    if (!info)
        return {};
    QStringList names;
    for (const SectorInfo &sector : info->sectors) {
        const int at = fileAtSector(m_directory, {track, side, sector.sectorId});
        if (at >= 0 && !names.contains(m_directory.files[at].dosName()))
            names.append(m_directory.files[at].dosName());
    }
    if (names.isEmpty())
        return QStringLiteral("No file of the disk's directory lies on this track.");
    return QStringLiteral("Holds part of %1.").arg(nameList(names));
}

void FilesView::lookInside(int row)
{
    const int at = fileIndexOfRow(row);
    if (at < 0 || at >= m_directory.files.size())
        return;
    if (!fileLook) {
        // A window of its own, not a child of this one: its Escape must
        // close it alone, never Image Information behind it.
        fileLook = new FileLookWindow;
        fileLook->move(window()->geometry().topLeft() + QPoint(40, 40));
    }
    const DosFile &file = m_directory.files[at];
    fileLook->showFile(file, fileBytes(m_source, file));
    fileLook->show();
    fileLook->raise();
    fileLook->activateWindow();
}

void FilesView::saveFiles()
{
    if (!canSave())
        return;
    saveDiskFiles(*m_prompts, window(), m_source, chosenFiles(), QFileInfo(m_name).absolutePath());
}

} // namespace ferncastle
