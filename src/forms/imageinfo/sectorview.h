#pragma once

#include "core/image/sectorsource.h"

#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace ferncastle {

// "Sector": one sector's bytes in hex and ASCII under its address and how
// it read. Page Down or N steps to the next sector the head would meet,
// Page Up or P to the previous one, across tracks and sides.
class SectorView : public QWidget
{
    Q_OBJECT

public:
    // source: the image whose sectors are shown, read from its file.
    SectorView(SectorSource source, const QString &name, QWidget *parent = nullptr);

    // Shows sector number index (in the order the head meets them) of the
    // track at track/side; false where the image has no such sector.
    bool showSector(int track, int side, int index);
    void step(int by);

    QLabel *lblSector = nullptr;
    QPlainTextEdit *txtBytes = nullptr;
    QPushButton *cmdPrevious = nullptr;
    QPushButton *cmdNext = nullptr;
    QPushButton *cmdClose = nullptr;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    struct Place
    {
        int track = 0;  // index into the image's tracks
        int sector = 0; // index into that track's sectors
    };

    void createControls();
    void showPlace(qsizetype at);

    SectorSource m_source;
    QList<Place> m_places;
    qsizetype m_at = -1;
};

} // namespace ferncastle
