#pragma once

#include "core/image/diskimage.h"

#include <QPointer>
#include <QWidget>

class QHBoxLayout;
class QIcon;
class QLabel;
class QPushButton;
class QTableWidget;
class QTreeWidget;

namespace ferncastle {

class ImageComparePanel;
class SectorView;
class Prompts;
class TrackGrid;

// "Image Information": what is on one disk image. The summary, the map of
// tracks and sides, the findings, and the sectors of the selected cell.
// "Copy as Text" puts the whole plain-text report on the clipboard.
class ImageInfoWindow : public QWidget
{
    Q_OBJECT

public:
    explicit ImageInfoWindow(QWidget *parent = nullptr);

    // name: what the report calls the file (its path).
    void showImage(const DiskImage &image, const QString &name);

    const DiskImage &image() const { return m_image; }
    QString reportText() const;
    void copyAsText();
    // Adds "Compare With...", which asks for the second image through prompts.
    void offerComparison(Prompts &prompts);

    QLabel *lblSummary = nullptr;
    TrackGrid *grid = nullptr;
    // One row per kind of finding, its instances beneath it.
    QTreeWidget *lstFindings = nullptr;
    QLabel *lblTrack = nullptr;
    QTableWidget *tblSectors = nullptr;
    QPushButton *cmdCopyText = nullptr;
    QPushButton *cmdClose = nullptr;
    ImageComparePanel *comparison = nullptr; // once offered
    // The bytes of the sector double-clicked or entered; one at a time.
    QPointer<SectorView> sectorView;

private:
    void createControls();
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
