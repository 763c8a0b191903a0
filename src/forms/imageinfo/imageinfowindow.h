#pragma once

#include "core/image/diskimage.h"
#include "core/image/sectorsource.h"

#include <QPointer>
#include <QWidget>

class QHBoxLayout;
class QIcon;
class QLabel;
class QAction;
class QPushButton;
class QTableWidget;
class QTabWidget;
class QTreeWidget;

namespace ferncastle {

class FilesView;
class ImageComparePanel;
class SectorView;
class Prompts;
class TrackGrid;

// "Image Information": what is on one disk image. The summary, the map of
// tracks and sides, the findings, and the sectors of the selected cell.
// "Copy as Text" puts the whole plain-text report on the clipboard. The
// Files tab lists the files of a TRS-80 disk beside the map.
class ImageInfoWindow : public QWidget
{
    Q_OBJECT

public:
    explicit ImageInfoWindow(QWidget *parent = nullptr);

    // name: what the report calls the file (its path), read again for the
    // files on the disk.
    void showImage(const DiskImage &image, const QString &name);
    // The image with its bytes, read once from the file at name.
    void showImage(const SectorSource &source, const QString &name);

    const DiskImage &image() const { return m_image; }
    QString reportText() const;
    void copyAsText();
    // Adds "Compare With...", which asks for the second image through prompts.
    void offerComparison(Prompts &prompts);
    // Turns on "Save Files...", which asks for the folder through prompts.
    void offerFileSaving(Prompts &prompts);

    QLabel *lblSummary = nullptr;
    TrackGrid *grid = nullptr;
    // One row per kind of finding, its instances beneath it.
    QTreeWidget *lstFindings = nullptr;
    QLabel *lblTrack = nullptr;
    QTableWidget *tblSectors = nullptr;
    // "Sectors" (the selected cell's) and "Files" (the disk's directory).
    QTabWidget *tabDetails = nullptr;
    FilesView *filesView = nullptr;
    QAction *actSaveFiles = nullptr;
    QPushButton *cmdCopyText = nullptr;
    QPushButton *cmdClose = nullptr;
    ImageComparePanel *comparison = nullptr; // once offered
    // The bytes of the sector double-clicked or entered; one at a time.
    QPointer<SectorView> sectorView;

private:
    void createControls();
    void createFilesView();
    void showTracks(const DiskImage &image, const QString &name);
    void showFiles(const SectorSource &source, const QString &name);
    QIcon faultMark() const;
    void showTrack(int track, int side);
    void showSectorBytes(int row);

    DiskImage m_image;
    QString m_name;
    int m_track = -1;
    int m_side = -1;
    QHBoxLayout *m_buttons = nullptr;
};

} // namespace ferncastle
