#include "forms/imageinfo/imagecomparepanel.h"

#include "core/filefilter.h"
#include "forms/common/named.h"
#include "forms/common/textroom.h"
#include "forms/common/prompts.h"
#include "forms/grid/cellmarks.h"
#include "forms/grid/trackgrid.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace ferncastle {

namespace {

const QString title = QStringLiteral("Compare With");

QString sameText(int count)
{
    return count == 1 ? QStringLiteral("1 is") : QStringLiteral("%1 are").arg(count);
}

} // namespace

ImageComparePanel::ImageComparePanel(Prompts &prompts, TrackGrid &grid, QWidget *parent)
    : QWidget(parent), m_prompts(prompts), m_grid(grid), m_marks(new CellMarks(grid))
{
    setObjectName(QStringLiteral("imageComparePanel"));
    cmdCompareWith = named(new QPushButton(QStringLiteral("Co&mpare With...")), "cmdCompareWith");
    lblComparison = named(new QLabel, "lblComparison");
    lblComparison->setTextFormat(Qt::PlainText);
    lblComparison->setWordWrap(true);
    lstDifferences = named(new QListWidget, "lstDifferences");
    lstDifferences->setAccessibleName(QStringLiteral("Differing sectors"));
    lstDifferences->setMaximumHeight(roomForText(*lstDifferences, 0, 7).height());
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(lblComparison);
    layout->addWidget(lstDifferences);
    setVisible(false);
    connect(cmdCompareWith, &QPushButton::clicked, this, &ImageComparePanel::compareWith);
    connect(lstDifferences, &QListWidget::currentRowChanged, this,
            &ImageComparePanel::selectDifference);
}

void ImageComparePanel::setImage(const QString &path)
{
    m_path = path;
    m_marked.clear();
    m_marks->setCells({});
    setVisible(false);
}

void ImageComparePanel::compareWith()
{
    FileRequest request;
    request.title = title;
    request.initialDir = QFileInfo(m_path).absolutePath();
    request.defaultExt = QStringLiteral(".DMK");
    request.filter = QLatin1String(filters::imageFiles);
    const QString chosen = m_prompts.chooseFile(window(), request);
    if (!chosen.isEmpty())
        compareWithFile(chosen);
}

bool ImageComparePanel::compareWithFile(const QString &path)
{
    const SectorSource shown = SectorSource::fromFile(m_path);
    const SectorSource other = SectorSource::fromFile(path);
    for (const auto &[source, name] : {std::pair{&shown, m_path}, std::pair{&other, path}}) {
        if (!source->image().isImage()) {
            m_prompts.showMessage(window(), QMessageBox::Warning, title,
                                  QDir::toNativeSeparators(name)
                                      + QStringLiteral(" is not a disk image Ferncastle can "
                                                       "read.\r")
                                      + source->image().refusal);
            return false;
        }
    }
    showComparison(compareImages(shown, other), QFileInfo(path).fileName());
    return true;
}

void ImageComparePanel::showComparison(const ImageComparison &comparison, const QString &other)
{
    const QString shown = QFileInfo(m_path).fileName();
    lblComparison->setText(
        comparison.equal()
            ? QStringLiteral("Equal: %1 holds the same %2 sectors as %3.")
                  .arg(other, QString::number(comparison.sameSectors), shown)
            : QStringLiteral("%1 %2 from %3 (marked on the map); %4 the same.")
                  .arg(QString::number(comparison.differences.size()),
                       comparison.differences.size() == 1 ? QStringLiteral("sector differs")
                                                          : QStringLiteral("sectors differ"),
                       other, sameText(comparison.sameSectors)));
    lstDifferences->clear();
    m_rows.clear();
    m_marked.clear();
    for (const SectorDifference &difference : comparison.differences) {
        lstDifferences->addItem(describeDifference(difference, shown, other));
        m_rows.append(difference.address);
        const QPoint cell(difference.address.cylinder, difference.address.side);
        if (m_marked.isEmpty() || m_marked.constLast() != cell)
            m_marked.append(cell);
    }
    lstDifferences->setVisible(!comparison.equal());
    m_marks->setCells(m_marked);
    setVisible(true);
}

void ImageComparePanel::selectDifference(int row)
{
    if (row >= 0 && row < m_rows.size())
        m_grid.select(m_rows[row].cylinder, m_rows[row].side);
}

} // namespace ferncastle
