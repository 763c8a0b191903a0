#include "forms/imageinfo/filelookwindow.h"

#include "core/dos/doscopyout.h"
#include "core/dos/doslook.h"
#include "forms/common/appicon.h"
#include "forms/common/closekeys.h"
#include "forms/common/named.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ferncastle {

namespace {

QString kindWords(LookKind kind)
{
    switch (kind) {
    case LookKind::Text:
        return QStringLiteral("text");
    case LookKind::BasicListing:
        return QStringLiteral("a BASIC program, listed");
    case LookKind::LoadModule:
        return QStringLiteral("a load module: its load blocks and entry address");
    case LookKind::HexDump:
        break;
    }
    return QStringLiteral("bytes, in hex");
}

} // namespace

FileLookWindow::FileLookWindow(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("FileLookWindow"));
    setWindowIcon(appIcon());
    setAttribute(Qt::WA_DeleteOnClose);
    lblFileLook = named(new QLabel, "lblFileLook");
    lblFileLook->setTextFormat(Qt::PlainText);
    lblFileLook->setWordWrap(true);
    lblFileLook->setTextInteractionFlags(Qt::TextSelectableByMouse);
    txtFileLook = named(new QPlainTextEdit, "txtFileLook");
    txtFileLook->setReadOnly(true);
    txtFileLook->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtFileLook->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    txtFileLook->setAccessibleName(QStringLiteral("File contents"));
    cmdClose = named(new QPushButton(QStringLiteral("&Close")), "cmdClose");
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdClose);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblFileLook);
    layout->addWidget(txtFileLook, 1);
    layout->addLayout(buttons);
    const int lineWidth = txtFileLook->fontMetrics().horizontalAdvance(QString(80, u'0'));
    resize(lineWidth + 60, 520);
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);
    closeOnEscapeAndCtrlW(*this);
}

void FileLookWindow::showFile(const DosFile &file, const QByteArray &bytes)
{
    const FileLook look = lookInside(bytes);
    setWindowTitle(QStringLiteral("Look Inside - ") + file.dosName());
    QString line = QStringLiteral("%1, %2 bytes: %3.")
                       .arg(file.dosName())
                       .arg(bytes.size())
                       .arg(kindWords(look.kind));
    if (file.health == FileHealth::Damaged)
        line += QStringLiteral(" It is damaged: ") + file.problem;
    if (!file.badSectors.isEmpty())
        line += QStringLiteral(" Its bad sectors (cylinder/side/sector: %1) are shown as the "
                               "image holds them.")
                    .arg(sectorAddressList(file.badSectors));
    if (file.health == FileHealth::Unreadable)
        line += QStringLiteral(" It cannot be followed, so this is only part of it: ")
                + file.problem;
    lblFileLook->setText(line);
    txtFileLook->setPlainText(look.text);
}

} // namespace ferncastle
