#pragma once

#include "core/options/optionset.h"

#include <QByteArray>
#include <QStringList>
#include <QTest>

namespace ferncastle {

// Shown by QCOMPARE when two option sets differ.
inline char *toString(const OptionSet &options)
{
    QStringList parts;
    for (const GroupState &group : options.groups)
        parts.append(QStringLiteral("%1/%2/\"%3\"")
                         .arg(group.checkState)
                         .arg(group.listIndex)
                         .arg(group.text));
    parts.append(u'"' + options.extraParms + u'"');
    return QTest::toString(parts.join(QLatin1String(", ")));
}

namespace test {

// Every box unticked, every list at its first entry but sides at 2,
// port "0", tracks "86", retries "4", no additional parameters.
inline OptionSet firstRunOptions()
{
    OptionSet options;
    for (int i = 0; i < GroupCount; ++i) {
        if (optionGroups()[i].kind == ValueKind::List)
            options.groups[i].listIndex = 0;
    }
    options.groups[Port].text = QStringLiteral("0");
    options.groups[Sides].listIndex = 1;
    options.groups[Tracks].text = QStringLiteral("86");
    options.groups[Retries].text = QStringLiteral("4");
    return options;
}

// firstRunOptions() as an options file.
inline QByteArray firstRunFile()
{
    return QByteArrayLiteral("0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n"
                             "0\r\n0\r\n0\r\n0\r\n86\r\n1\r\n0\r\n4\r\n\r\n");
}

// Lines of a file, each given its CR LF.
inline QByteArray crlfLines(const QList<QByteArray> &lines)
{
    QByteArray bytes;
    for (const QByteArray &line : lines)
        bytes += line + "\r\n";
    return bytes;
}

// firstRunFile() with one line (1-based) replaced.
inline QByteArray firstRunFileWith(int line, const QByteArray &text)
{
    QList<QByteArray> lines = firstRunFile().split('\n');
    lines[line - 1] = text + '\r';
    return lines.join('\n');
}

} // namespace test
} // namespace ferncastle
