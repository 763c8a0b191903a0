// Drives the real Qt file dialog behind CommonDialog, the way a user would.

#include "support/modaldriver.h"
#include "core/filefilter.h"
#include "forms/common/commondialog.h"
#include "forms/common/dialogprompts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QListView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace ferncastle;

class TestCommonDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void dialogIsSetUpAsAsked();
    void patternsIgnoreCase_data();
    void patternsIgnoreCase();
    void typedNameGetsDefaultExt();
    void defaultExtComesBeforeOverwriteQuestion();
    void cancelGivesEmptyFileName();
    void openTakesAnExistingNameAsTyped_data();
    void openTakesAnExistingNameAsTyped();
    void impossibleStartFolderIsLeftOut();

private:
    // Runs action on the file dialog once it is open and modal.
    void whenDialogOpens(std::function<void(QFileDialog *)> action);
    QString showSave(const QString &filter = QLatin1String(filters::diskImages));
    QString showOpenTyping(const QString &typed);

    QTemporaryDir m_dir;
};

void TestCommonDialog::init()
{
    QVERIFY(m_dir.isValid());
    for (const char *name : {"game.dmk", "Game.Dmk", "GAME.DMK", "other.dsk", "noext", "notes.txt"}) {
        QFile file(m_dir.filePath(QLatin1String(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
}

void TestCommonDialog::whenDialogOpens(std::function<void(QFileDialog *)> action)
{
    test::whenDialogShown<QFileDialog>(std::move(action));
}

QString TestCommonDialog::showSave(const QString &filter)
{
    DialogPrompts prompts;
    CommonDialog dialog(prompts, nullptr, QStringLiteral("Select File..."));
    dialog.InitDir = m_dir.path();
    dialog.DefaultExt = QStringLiteral(".DMK");
    dialog.Filter = filter;
    dialog.ShowSave();
    return dialog.FileName;
}

void TestCommonDialog::dialogIsSetUpAsAsked()
{
    FileRequest request;
    request.mode = FileRequest::Mode::Save;
    request.title = QStringLiteral("Select File...");
    request.initialDir = m_dir.path();
    request.defaultExt = QStringLiteral(".DMK");
    request.filter = QLatin1String(filters::diskImages);
    std::unique_ptr<QFileDialog> dialog(createFileDialog(nullptr, request));
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Select File..."));
    QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
    QCOMPARE(dialog->defaultSuffix(), QStringLiteral("DMK"));
    QCOMPARE(dialog->directory().absolutePath(), QDir(m_dir.path()).absolutePath());
    QVERIFY(dialog->testOption(QFileDialog::HideNameFilterDetails));
    QCOMPARE(dialog->nameFilters().size(), 3);
}

// A stored start folder of megabytes cannot exist; the dialog spent seconds
// on it before it showed its default folder anyway.
void TestCommonDialog::impossibleStartFolderIsLeftOut()
{
    FileRequest request;
    request.initialDir = u'/' + QString(10 * 1024 * 1024, u'x') + u'/';
    request.filter = QLatin1String(filters::diskImages);
    std::unique_ptr<QFileDialog> dialog(createFileDialog(nullptr, request));
    QVERIFY(dialog->directory().absolutePath().size() < 4096);
    QVERIFY(dialog->directoryUrl().toString().size() < 4096);
}

void TestCommonDialog::patternsIgnoreCase_data()
{
    QTest::addColumn<int>("filterIndex");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("Disk Image (*.DMK)") << 0 << QStringList{"game.dmk", "Game.Dmk", "GAME.DMK"};
    QTest::newRow("Disk Image (*.DSK)") << 1 << QStringList{"other.dsk"};
    QTest::newRow("All Files") << 2
                               << QStringList{"game.dmk", "Game.Dmk", "GAME.DMK", "other.dsk",
                                              "noext", "notes.txt"};
}

void TestCommonDialog::patternsIgnoreCase()
{
    QFETCH(int, filterIndex);
    QFETCH(QStringList, shown);
    QStringList seen;
    whenDialogOpens([&](QFileDialog *dialog) {
        dialog->selectNameFilter(dialog->nameFilters().at(filterIndex));
        auto *view = dialog->findChild<QListView *>(QStringLiteral("listView"));
        auto visibleNames = [view] {
            QStringList names;
            const QModelIndex root = view->rootIndex();
            for (int row = 0; row < view->model()->rowCount(root); ++row)
                names << view->model()->index(row, 0, root).data().toString();
            names.sort(Qt::CaseSensitive);
            return names;
        };
        shown.sort(Qt::CaseSensitive);
        QTRY_COMPARE(visibleNames(), shown);
        seen = visibleNames();
        dialog->reject();
    });
    QVERIFY(showSave().isEmpty());
    shown.sort(Qt::CaseSensitive);
    QCOMPARE(seen, shown);
}

void TestCommonDialog::typedNameGetsDefaultExt()
{
    whenDialogOpens([](QFileDialog *dialog) {
        auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        QTest::keyClicks(edit, QStringLiteral("new disk"));
        QTest::keyClick(edit, Qt::Key_Return);
    });
    QCOMPARE(showSave(), QDir::toNativeSeparators(m_dir.filePath(QStringLiteral("new disk.DMK"))));
}

void TestCommonDialog::defaultExtComesBeforeOverwriteQuestion()
{
    QString question;
    whenDialogOpens([&](QFileDialog *dialog) {
        test::whenDialogShown<QMessageBox>([&](QMessageBox *box) {
            question = box->text();
            box->button(QMessageBox::Yes)->click();
        });
        auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        QTest::keyClicks(edit, QStringLiteral("GAME"));
        QTest::keyClick(edit, Qt::Key_Return);
    });
    QCOMPARE(showSave(), QDir::toNativeSeparators(m_dir.filePath(QStringLiteral("GAME.DMK"))));
    QVERIFY2(question.contains(QStringLiteral("GAME.DMK")), qPrintable(question));
}

void TestCommonDialog::cancelGivesEmptyFileName()
{
    whenDialogOpens([](QFileDialog *dialog) {
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    QVERIFY(showSave().isEmpty());
}

QString TestCommonDialog::showOpenTyping(const QString &typed)
{
    whenDialogOpens([typed](QFileDialog *dialog) {
        auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        QTest::keyClicks(edit, typed);
        // A name that does not exist gets a "File not found" box first.
        QTimer::singleShot(0, dialog, [] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
                box->accept();
        });
        QTest::keyClick(edit, Qt::Key_Return);
        if (dialog->isVisible()) // the name was refused
            dialog->reject();
    });
    DialogPrompts prompts;
    CommonDialog dialog(prompts, nullptr, QStringLiteral("Select File..."));
    dialog.InitDir = m_dir.path();
    dialog.DefaultExt = QStringLiteral(".DMK");
    dialog.Filter = QLatin1String(filters::diskImages);
    dialog.ShowOpen();
    return dialog.FileName;
}

void TestCommonDialog::openTakesAnExistingNameAsTyped_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("opened");
    QTest::newRow("a tool without extension") << "noext" << "noext";
    QTest::newRow("a name that exists only with the extension") << "GAME" << "GAME.DMK";
    QTest::newRow("a name with its extension") << "other.dsk" << "other.dsk";
    QTest::newRow("neither exists") << "missing" << "";
}

void TestCommonDialog::openTakesAnExistingNameAsTyped()
{
    QFETCH(QString, typed);
    QFETCH(QString, opened);
    const QString expected = opened.isEmpty() ? QString() : QDir::toNativeSeparators(m_dir.filePath(opened));
    QCOMPARE(showOpenTyping(typed), expected);
}

QTEST_MAIN(TestCommonDialog)
#include "tst_commondialog.moc"
