// The run window's side of a box of disks: the next disk or the same one
// again into the next free name, one line per disk read, and the catalog.

#include "forms/run/runwindow.h"

#include "core/batch/nextname.h"
#include "forms/common/prompts.h"
#include "jobs/jobstep.h"
#include "jobs/readrecord.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace ferncastle {

namespace {

const QString nextDiskQuestion = QStringLiteral(
    "Put the next disk in the drive, then press Continue to read it into %1.");

std::unique_ptr<JobChain> readInto(const ToolCommand &last, const QString &image,
                                   const QString &question)
{
    auto chain = std::make_unique<JobChain>();
    if (!question.isEmpty())
        chain->append(std::make_unique<QuestionStep>(question));
    chain->append(std::make_unique<RunStep>(commandForImage(last, image)));
    return chain;
}

} // namespace

void RunWindow::readNextDisk()
{
    const QString next = nextFreeName(m_lastDisk);
    m_lastDisk = next;
    runChain(readInto(command(), next,
                      nextDiskQuestion.arg(QDir::toNativeSeparators(QFileInfo(next).fileName()))));
}

void RunWindow::readAgain()
{
    runChain(readInto(command(), retryName(m_lastDisk), QString()));
}

// The ended chain stays: its jobs hold the transcripts the window names.
void RunWindow::runChain(std::unique_ptr<JobChain> chain)
{
    m_readNext->setEnabled(false);
    m_readAgain->setEnabled(false);
    m_showImageButton->hide();
    m_verdict->hide();
    m_cardFix->hide();
    m_incomplete->hide();
    disconnect(m_showImageButton, nullptr, this, nullptr);
    m_pastChains.push_back(std::exchange(m_chain, std::move(chain)));
    watchChain();
    m_chain->start();
}

void RunWindow::askQuestion(const QString &text)
{
    m_chain->answer(m_prompts.askContinueOrStop(this, windowTitle(), text));
}

// Every read started here is one line of the batch and one catalog row;
// a catalog that cannot be written is said, and the read stands.
void RunWindow::noteRead(const ToolJob &job)
{
    const CatalogRow row = catalogRowFor(job, m_stepStarted);
    m_batchLines.append(QStringLiteral("%1: %2 (%3 bad sectors)")
                            .arg(row.imageFile, job.outcome().verdict.sentence)
                            .arg(row.badSectors));
    m_batchList->addItem(m_batchLines.constLast());
    m_batchList->setVisible(m_batchLines.size() > 1);
    const QString error =
        catalog::append(QFileInfo(job.command().chosenFile).absolutePath(), row);
    m_catalogStatus->setText(error);
    m_catalogStatus->setVisible(!error.isEmpty());
}

void RunWindow::offerNextRead()
{
    if (!m_readsDisks)
        return;
    m_readNext->show();
    m_readAgain->show();
    m_readNext->setEnabled(true);
    m_readAgain->setEnabled(true);
    // With a box of disks to read, the next one is a key press away.
    m_readNext->setFocus();
}

} // namespace ferncastle
