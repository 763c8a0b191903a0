#pragma once

#include "core/dos/dosdirectory.h"

#include <QList>
#include <QPoint>
#include <QPointer>
#include <QWidget>

class QLabel;
class QPushButton;
class QTableWidget;

namespace ferncastle {

class CellMarks;
class FileLookWindow;
class Prompts;
class TrackGrid;

// The files of the TRS-80 disk in an image: the disk line and a sortable
// table of the files with their health. Selecting damaged files marks
// their bad sectors' tracks on the window's map; Enter or a double click
// looks inside a file; "Save Files..." copies the selected ones (or all)
// into a folder. An image without a directory says why instead.
class FilesView : public QWidget
{
    Q_OBJECT

public:
    // grid: the window's map, marked over without being changed.
    explicit FilesView(TrackGrid &grid, QWidget *parent = nullptr);
    ~FilesView() override;

    // The image the window shows, with the name its file has.
    void showDirectory(const SectorSource &source, const QString &name);
    const DosDirectory &directory() const { return m_directory; }
    // Saving needs somewhere to ask; until then the button stays disabled.
    void offerSaving(Prompts &prompts);
    bool canSave() const;

    // "Holds part of BOOT/SYS and SYS0/SYS.", or empty where no file is.
    QString filesOnCell(int track, int side) const;
    // Tracks (x) and sides (y) holding a bad sector of a selected file.
    QList<QPoint> markedCells() const;
    // The files of the selected rows, in the table's order; all when none.
    QList<DosFile> chosenFiles() const;
    void saveFiles();
    void lookInside(int row);

    QLabel *dosDiskLine = nullptr;
    QTableWidget *filesTable = nullptr;
    QPushButton *cmdSaveFiles = nullptr;
    QPointer<FileLookWindow> fileLook;

private:
    void createControls();
    void fillTable();
    void markSelection();
    int fileIndexOfRow(int row) const;

    TrackGrid &m_grid;
    CellMarks *m_marks = nullptr;
    Prompts *m_prompts = nullptr;
    SectorSource m_source;
    QString m_name;
    DosDirectory m_directory;
};

} // namespace ferncastle
