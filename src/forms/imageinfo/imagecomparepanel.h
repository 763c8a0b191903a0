#pragma once

#include "core/image/imagecompare.h"

#include <QList>
#include <QPoint>
#include <QWidget>

class QLabel;
class QListWidget;
class QPushButton;

namespace ferncastle {

class CellMarks;
class Prompts;
class TrackGrid;

// "Compare With..." for the image shown in Image Information: picks a
// second image, lists the sectors that differ and marks their tracks on
// the window's map. Choosing a line selects its track on the map.
class ImageComparePanel : public QWidget
{
    Q_OBJECT

public:
    // grid: the window's map, marked over without being changed.
    ImageComparePanel(Prompts &prompts, TrackGrid &grid, QWidget *parent = nullptr);

    // The image the window shows; a comparison reads it again from path.
    void setImage(const QString &path);
    void compareWith();
    // Compares with the image at path; false when either is no image (the
    // user has been told why).
    bool compareWithFile(const QString &path);

    // Tracks (x) and sides (y) holding a differing sector.
    QList<QPoint> markedCells() const { return m_marked; }

    QPushButton *cmdCompareWith = nullptr;
    QLabel *lblComparison = nullptr;
    QListWidget *lstDifferences = nullptr;

private:
    void showComparison(const ImageComparison &comparison, const QString &other);
    void selectDifference(int row);

    Prompts &m_prompts;
    TrackGrid &m_grid;
    CellMarks *m_marks = nullptr;
    QString m_path;
    QList<QPoint> m_marked;
    QList<SectorAddress> m_rows; // the address of each line of the list
};

} // namespace ferncastle
