// The main window's way into "Image Information": the File menu item and a
// file dropped on the window.

#include "forms/main/moorfield.h"

#include "core/filefilter.h"
#include "core/image/sectorsource.h"
#include "forms/common/prompts.h"
#include "forms/imageinfo/imageinfowindow.h"
#include "forms/main/filechoice.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>

namespace ferncastle {

namespace {

// The first local file among the dropped URLs, or an empty string.
QString droppedFile(const QMimeData *mime)
{
    if (!mime || !mime->hasUrls())
        return {};
    for (const QUrl &url : mime->urls()) {
        if (url.isLocalFile())
            return url.toLocalFile();
    }
    return {};
}

} // namespace

void Moorfield::mnuImageInfo_Click()
{
    if (!chooseFile(CommonDialog1, FileRequest::Mode::Open, ".DMK", filters::imageFiles))
        return;
    openImageInformation(CommonDialog1.FileName);
}

ImageInfoWindow *Moorfield::openImageInformation(const QString &path)
{
    const SectorSource source = SectorSource::fromFile(path);
    const DiskImage &image = source.image();
    if (!image.isImage()) {
        m_prompts.showMessage(this, QMessageBox::Warning, QStringLiteral("Image Information"),
                              QDir::toNativeSeparators(path)
                                  + QStringLiteral(" is not a disk image Ferncastle can read.\r")
                                  + image.refusal
                                  + QStringLiteral("\rChoose a DMK, JV3 or JV1 image."));
        return nullptr;
    }
    auto *window = new ImageInfoWindow(this);
    window->showImage(source, QDir::toNativeSeparators(path));
    window->offerComparison(m_prompts);
    window->offerFileSaving(m_prompts);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

void Moorfield::dragEnterEvent(QDragEnterEvent *event)
{
    if (!droppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void Moorfield::dropEvent(QDropEvent *event)
{
    const QString path = droppedFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    openImageInformation(path);
}

} // namespace ferncastle
