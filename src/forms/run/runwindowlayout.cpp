#include "forms/common/accessiblenames.h"
#include "forms/common/named.h"
#include "forms/common/textroom.h"
#include "forms/grid/trackgrid.h"
#include "forms/run/outputview.h"
#include "forms/run/runwindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace ferncastle {

namespace {

QLabel *wrappingLabel(const char *name)
{
    auto *label = named(new QLabel, name);
    // Paths and tool output are shown as they are, never read as markup.
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->hide();
    return label;
}

} // namespace

void RunWindow::buildLayout()
{
    auto *layout = new QVBoxLayout(this);
    m_commandLine = named(new QLineEdit(command().commandLine), "commandLine");
    m_commandLine->setReadOnly(true);
    m_commandLine->setCursorPosition(0);
    m_commandLine->setAccessibleName(QStringLiteral("Command line"));
    layout->addWidget(m_commandLine);

    m_output = named(new OutputView, "outputView");
    m_output->setAccessibleName(QStringLiteral("Tool output"));
    layout->addWidget(m_output, 1);

    auto *inputRow = new QHBoxLayout;
    auto *inputLabel = new QLabel(QStringLiteral("Send to the tool:"));
    inputRow->addWidget(inputLabel);
    m_input = named(new QLineEdit, "inputLine");
    inputLabel->setBuddy(m_input);
    m_input->setPlaceholderText(QStringLiteral("Type an answer and press Enter"));
    inputRow->addWidget(m_input, 1);
    layout->addLayout(inputRow);

    m_progress = named(new QProgressBar, "progressBar");
    m_progress->setRange(0, 0);
    m_progress->setAccessibleName(QStringLiteral("Progress over the disk"));
    layout->addWidget(m_progress);
    m_progressWords = wrappingLabel("progressWords");
    layout->addWidget(m_progressWords);
    m_grid = named(new TrackGrid, "trackGrid");
    layout->addWidget(m_grid);
    m_planChanges = wrappingLabel("planChanges");
    layout->addWidget(m_planChanges);

    m_status = wrappingLabel("stopStatus");
    layout->addWidget(m_status);
    m_verdict = wrappingLabel("verdictLabel");
    announceAsAlert(*m_verdict);
    layout->addWidget(m_verdict);
    m_cardFix = wrappingLabel("cardFixLabel");
    layout->addWidget(m_cardFix);
    m_incomplete = wrappingLabel("incompleteImage");
    layout->addWidget(m_incomplete);
    m_catalogStatus = wrappingLabel("catalogStatus");
    layout->addWidget(m_catalogStatus);
    m_batchList = named(new QListWidget, "batchList");
    m_batchList->setAccessibleName(QStringLiteral("Disks read"));
    m_batchList->setMaximumHeight(roomForText(*m_batchList, 0, 7).height());
    m_batchList->hide();
    layout->addWidget(m_batchList);
    layout->addWidget(buildBatchRow());
    layout->addWidget(buildBottomRow());
    resize(roomForText(*this, 110, 34));
}

// Offered when a read has ended: the next disk of a box, or the same disk
// once more for a marginal one.
QWidget *RunWindow::buildBatchRow()
{
    auto *row = new QWidget;
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    m_readNext = named(new QPushButton(QStringLiteral("Read Next Disk")), "readNextDisk");
    m_readNext->hide();
    connect(m_readNext, &QPushButton::clicked, this, &RunWindow::readNextDisk);
    layout->addWidget(m_readNext);
    m_readAgain = named(new QPushButton(QStringLiteral("Read Again")), "readAgain");
    m_readAgain->hide();
    connect(m_readAgain, &QPushButton::clicked, this, &RunWindow::readAgain);
    layout->addWidget(m_readAgain);
    layout->addStretch(1);
    return row;
}

QWidget *RunWindow::buildBottomRow()
{
    auto *row = new QWidget;
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    m_transcriptName = named(new QLabel, "transcriptName");
    m_transcriptName->setTextFormat(Qt::PlainText);
    m_transcriptName->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_transcriptName->setWordWrap(true);
    layout->addWidget(m_transcriptName, 1);
    m_openFolder = named(new QPushButton(QStringLiteral("Open &Folder")), "openTranscriptFolder");
    m_openFolder->setEnabled(false);
    layout->addWidget(m_openFolder);
    m_showImageButton = named(new QPushButton(QStringLiteral("Show &Image")), "showImageButton");
    m_showImageButton->hide();
    layout->addWidget(m_showImageButton);
    m_elapsed = named(new QLabel(QStringLiteral("0:00")), "elapsedTime");
    layout->addWidget(m_elapsed);
    m_stop = named(new QPushButton(QStringLiteral("&Stop")), "stopButton");
    layout->addWidget(m_stop);
    // Closing asks first while the tool runs, as the close box does.
    auto *closeButton = named(new QPushButton(QStringLiteral("&Close")), "closeButton");
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    layout->addWidget(closeButton);
    return row;
}

} // namespace ferncastle
