#pragma once

#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace ferncastle {

struct DosFile;

// "Look Inside": one file of a TRS-80 disk as text, a BASIC listing, a
// load module's blocks or a hex dump, whichever its bytes bear out.
// Escape closes it.
class FileLookWindow : public QWidget
{
    Q_OBJECT

public:
    explicit FileLookWindow(QWidget *parent = nullptr);

    // bytes: the file's, as the image holds them.
    void showFile(const DosFile &file, const QByteArray &bytes);

    QLabel *lblFileLook = nullptr;
    QPlainTextEdit *txtFileLook = nullptr;
    QPushButton *cmdClose = nullptr;
};

} // namespace ferncastle
