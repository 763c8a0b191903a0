#include "forms/about/abouttext.h"

#include <QStringList>

namespace ferncastle::about {

namespace {

const QString lineBreak = QStringLiteral("\r");

// Placeholders until the authors' own pages are known.
const QString penwickAddress = QStringLiteral("https://penwick.example.org/");
const QString braskAddress = QStringLiteral("https://brask.example.org/");

} // namespace

QString versionText(int major, int minor, int revision)
{
    return QStringLiteral("Version %1.%2.%3").arg(major).arg(minor).arg(revision);
}

QString creditLine(const QString &name, const QString &address)
{
    return name.leftJustified(16) + QStringLiteral("- ") + address;
}

QString descriptionText()
{
    return QStringList{
        QStringLiteral("GUI interface for Penwicks excellent command line"),
        QStringLiteral("tools for reading and writing TRS80 Models I, III and 4"),
        QStringLiteral("disks and disk images using Brask's"),
        QStringLiteral("ISA and PCI CatWeasel cards."),
        QString(),
        creditLine(QStringLiteral("Penwick"), penwickAddress),
        creditLine(QStringLiteral("Brask"), braskAddress),
    }.join(lineBreak);
}

QString disclaimerText()
{
    return QStringList{
        QStringLiteral("TRS80 is a trade mark of the Tandy Corporation"),
        QStringLiteral("This application is not endorsed by, or in anyway"),
        QStringLiteral("affilated with, the Tandy Corporation."),
    }.join(lineBreak);
}

} // namespace ferncastle::about
