#pragma once

#include "core/cardcheck/cardverdict.h"

#include <QDialog>

class QCheckBox;
class QPushButton;
class QTextBrowser;

namespace ferncastle {

// Asked before a read or write when the card check found something that
// will certainly stop the tool. Cancel is the default: the user has to
// choose to start a run that is expected to fail.
class CardCheckQuestion : public QDialog
{
    Q_OBJECT

public:
    CardCheckQuestion(const QString &tool, const CardQuestion &question, QWidget *parent);

    // After exec(): Accepted means "Start Anyway".
    bool dontCheckAgain() const;

    QTextBrowser *txtFindings = nullptr;
    QCheckBox *chkDontCheckAgain = nullptr;
    QPushButton *cmdStartAnyway = nullptr;
    QPushButton *cmdCancel = nullptr;
};

} // namespace ferncastle
