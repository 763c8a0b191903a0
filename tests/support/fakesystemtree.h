#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace ferncastle::test {

// A folder standing in for "/" with just the files the card check reads:
// sysfs PCI devices, /proc and /boot. Files are real; an unreadable one is
// a link to nowhere, which stays unreadable even for root.
class FakeSystemTree
{
public:
    QString root() const { return m_dir.path(); }

    void write(const QString &relative, const QByteArray &contents) const
    {
        const QString path = m_dir.filePath(relative);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size())
            qFatal("cannot write %s", qPrintable(path));
    }

    void makeUnreadable(const QString &relative) const
    {
        const QString path = m_dir.filePath(relative);
        QDir().mkpath(QFileInfo(path).path());
        QFile::remove(path);
        QFile::link(m_dir.filePath(QStringLiteral("nowhere")), path);
    }

    // One PCI function as sysfs shows it: "0xe159\n" in each file.
    void addDevice(const QString &address, unsigned vendor, unsigned device,
                   unsigned subsystemVendor, unsigned subsystemDevice) const
    {
        const QString folder = QStringLiteral("sys/bus/pci/devices/") + address + u'/';
        const auto id = [](unsigned value) {
            QByteArray text("0x");
            text.append(QByteArray::number(value, 16).rightJustified(4, '0'));
            text.append('\n');
            return text;
        };
        write(folder + QStringLiteral("vendor"), id(vendor));
        write(folder + QStringLiteral("device"), id(device));
        write(folder + QStringLiteral("subsystem_vendor"), id(subsystemVendor));
        write(folder + QStringLiteral("subsystem_device"), id(subsystemDevice));
    }

    void addPciFolder() const { QDir(root()).mkpath(QStringLiteral("sys/bus/pci/devices")); }

    void setRelease(const QByteArray &release) const
    {
        write(QStringLiteral("proc/sys/kernel/osrelease"), QByteArray(release).append('\n'));
    }

    void writeGzipped(const QString &relative, const QByteArray &contents) const
    {
        QProcess gzip;
        gzip.start(QStringLiteral("gzip"), {QStringLiteral("-c")});
        gzip.write(contents);
        gzip.closeWriteChannel();
        if (!gzip.waitForFinished() || gzip.exitCode() != 0)
            qFatal("gzip failed");
        write(relative, gzip.readAllStandardOutput());
    }

private:
    QTemporaryDir m_dir;
};

} // namespace ferncastle::test
