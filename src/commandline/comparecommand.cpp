#include "commandline/comparecommand.h"

#include "core/image/imagecompare.h"
#include "core/terminaltext.h"

#include <cstdio>

namespace ferncastle {

namespace {

void write(std::FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
}

QString closingLine(const ImageComparison &comparison, const QString &first,
                    const QString &second)
{
    if (comparison.equal())
        return QStringLiteral("Equal: %1 and %2 hold the same %3 sectors.\n")
            .arg(first, second, QString::number(comparison.sameSectors));
    const qsizetype count = comparison.differences.size();
    return QStringLiteral("Different: %1 %2, %3 %4 the same.\n")
        .arg(QString::number(count),
             count == 1 ? QStringLiteral("sector differs") : QStringLiteral("sectors differ"),
             QString::number(comparison.sameSectors),
             comparison.sameSectors == 1 ? QStringLiteral("is") : QStringLiteral("are"));
}

// True when the source is an image; says why not otherwise.
bool isReadable(const SectorSource &source, const QString &name)
{
    if (source.image().isImage())
        return true;
    write(stderr, QStringLiteral("ferncastle: %1: not a disk image I know. %2\n")
                      .arg(name, source.image().refusal));
    return false;
}

} // namespace

int printImageComparison(const QStringList &files)
{
    if (files.size() != 2) {
        write(stderr, QStringLiteral("ferncastle: --compare needs the names of two image "
                                     "files.\n"));
        return 2;
    }
    const QString first = escapedForTerminal(files[0]);
    const QString second = escapedForTerminal(files[1]);
    const SectorSource a = SectorSource::fromFile(files[0]);
    const SectorSource b = SectorSource::fromFile(files[1]);
    const bool readable = isReadable(a, first);
    if (!isReadable(b, second) || !readable)
        return 2;
    const ImageComparison comparison = compareImages(a, b);
    for (const SectorDifference &difference : comparison.differences)
        write(stdout, describeDifference(difference, first, second) + u'\n');
    write(stdout, closingLine(comparison, first, second));
    std::fflush(stdout);
    return comparison.equal() ? 0 : 1;
}

} // namespace ferncastle
