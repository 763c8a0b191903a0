// The toolkit's floor for the start-up benchmark: a Qt Widgets main window
// with a menu bar and a handful of controls, and nothing of Ferncastle.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

void createMenus(QMainWindow &window)
{
    QMenu *file = window.menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("E&xit"), &window, &QMainWindow::close);
    QMenu *help = window.menuBar()->addMenu(QStringLiteral("&Help"));
    help->addAction(QStringLiteral("&About"));
}

QWidget *createControls()
{
    auto *group = new QGroupBox(QStringLiteral("Options"));
    auto *layout = new QVBoxLayout(group);
    layout->addWidget(new QCheckBox(QStringLiteral("&Drive")));
    auto *list = new QComboBox;
    list->addItems({QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2")});
    layout->addWidget(list);
    layout->addWidget(new QLineEdit);
    layout->addWidget(new QPushButton(QStringLiteral("&Run")));
    return group;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Ferncastle Floor"));
    createMenus(window);
    window.setCentralWidget(createControls());
    window.show();
    return app.exec();
}
