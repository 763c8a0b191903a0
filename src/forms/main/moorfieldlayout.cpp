// The main window's controls, laid out at the fixed positions the window has
// always had.

#include "forms/main/moorfield.h"
#include "forms/main/moorfieldlayout.h"

#include "core/options/optionhelp.h"
#include "forms/common/accessiblenames.h"
#include "forms/common/formbutton.h"
#include "forms/common/optioncheckbox.h"
#include "forms/common/screenfit.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>

namespace ferncastle {

namespace {

// QLineEdit cuts a text at 32,767 characters; typed parameters may be longer
// and must reach the command line whole. 128 KiB is the most Linux hands to a
// program as one argument (MAX_ARG_STRLEN), and a line edit holding
// megabytes takes seconds to lay out, so this is where the boxes stop.
constexpr int parameterTextLimit = 128 * 1024;

constexpr int buttonWidth = 1335;
constexpr int buttonHeight = 375;
constexpr int firstRowTop = 360;
constexpr int rowSpacing = 480;

template<typename Widget>
Widget *place(Widget *widget, const char *name, QRect geometry)
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(geometry);
    return widget;
}

// Enter presses nothing in this window: no button is ever the default.
QPushButton *button(QWidget *parent, const char *name, const char *caption, int left, int top)
{
    QPushButton *made = formButton(parent, name, caption, twipsRect(left, top, buttonWidth, buttonHeight));
    made->setAccessibleName(spokenCaption(made->text()));
    return made;
}

const ToolButton buttons[] = {
    {ToolActionId::DiskToImage, &Moorfield::cmdRead, &Moorfield::cmdRead_Click, "cmdRead",
     "&Disk to Image", false, 240, 5400},
    {ToolActionId::ImageToDisk, &Moorfield::cmdWrite, &Moorfield::cmdWrite_Click, "cmdWrite",
     "&Image to Disk", false, 1680, 5400},
    {ToolActionId::DmkToJv, &Moorfield::cmdDMK, &Moorfield::cmdDMK_Click, "cmdDMK",
     "&D&MK to JV", true, 1680, 960},
    {ToolActionId::JvToDmk, &Moorfield::cmdJV3, &Moorfield::cmdJV3_Click, "cmdJV3",
     "&JV to DMK", true, 240, 960},
};
static_assert(std::size(buttons) == ToolActionCount);

QWidget *valueControl(QWidget *parent, const OptionGroup &group, int top)
{
    if (group.kind == ValueKind::Text)
        return place(new QLineEdit(parent), group.valueName, twipsRect(2040, top, 1455, 285));
    auto *list = new QComboBox(parent);
    for (const char *entry : group.entries)
        list->addItem(QString::fromUtf8(entry), 0);
    list->setCurrentIndex(-1);
    const int width = qstrcmp(group.valueName, "cboKind") == 0 ? 2775 : 1455;
    return place(list, group.valueName, twipsRect(2040, top, width, 315));
}

} // namespace

std::span<const ToolButton> toolButtons()
{
    return buttons;
}

void Moorfield::createControls()
{
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(moorfieldClientSize);
    setCentralWidget(client);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    fraOptions = place(new QGroupBox(QStringLiteral("CatWeasel Options"), client), "fraOptions",
                       twipsRect(120, 120, 4935, 6015));
    createOptionGroups();
    lblExtraParms = place(new QLabel(QStringLiteral("Additional parameters"), fraOptions),
                          "lblExtraParms", twipsRect(240, 4080, 1695, 255));
    txtExtraParms = place(new QLineEdit(fraOptions), "txtExtraParms", twipsRect(240, 4320, 4455, 285));
    txtExtraParms->setMaxLength(parameterTextLimit);
    setHelp(*txtExtraParms, additionalParametersToolTip());
    lblExtraParms->setBuddy(txtExtraParms);

    fraJVOptions = place(new QGroupBox(QStringLiteral("Conversion Options"), client), "fraJVOptions",
                         twipsRect(120, 6240, 4935, 1575));
    lblOptionalParms = place(new QLabel(QStringLiteral("Optional parameters"), fraJVOptions),
                             "lblOptionalParms", twipsRect(240, 240, 1695, 255));
    txtOptionalParms = place(new QLineEdit(fraJVOptions), "txtOptionalParms",
                             twipsRect(240, 480, 4455, 285));
    txtOptionalParms->setMaxLength(parameterTextLimit);
    setHelp(*txtOptionalParms, optionalParametersToolTip());
    lblOptionalParms->setBuddy(txtOptionalParms);
    createButtons();
    keepReachableOnSmallScreens(*this);
}

void Moorfield::createOptionGroups()
{
    const auto &groups = optionGroups();
    for (int i = 0; i < GroupCount; ++i) {
        const OptionGroup &group = groups[i];
        const int top = firstRowTop + i * rowSpacing;
        auto *box = new OptionCheckBox(QString::fromUtf8(group.caption), fraOptions);
        m_groups[i].checkBox = place(box, group.checkBoxName, twipsRect(240, top, 1695, 255));
        m_groups[i].value = valueControl(fraOptions, group, top);
        setHelp(*box, optionToolTip(GroupIndex(i)));
        setHelp(*m_groups[i].value, optionToolTip(GroupIndex(i)));
        // Else a box would be read by the frame's title, a list by its value.
        m_groups[i].value->setAccessibleName(box->text());
    }
}

void Moorfield::createButtons()
{
    cmdLoadSettings = button(fraOptions, "cmdLoadSettings", "&Load Options", 240, 4800);
    cmdSaveSettings = button(fraOptions, "cmdSaveSettings", "&Save Options", 1680, 4800);
    for (const ToolButton &tool : buttons) {
        QWidget *frame = tool.inConversionFrame ? fraJVOptions : fraOptions;
        this->*tool.button = button(frame, tool.name, tool.caption, tool.left, tool.top);
    }
    cmdExit = button(centralWidget(), "cmdExit", "E&xit", 3720, 8040);
    // A button takes only the first access key of its caption; "&D&MK to JV"
    // marks M as well, which no other control uses, so Alt+M presses it.
    auto *altM = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_M), this);
    altM->setObjectName(QStringLiteral("cmdDMKAltM"));
    connect(altM, &QShortcut::activated, cmdDMK, &QPushButton::click);
}

void Moorfield::createMenus()
{
    auto addMenu = [this](const char *name, const char *title) {
        QMenu *menu = menuBar()->addMenu(QString::fromUtf8(title));
        menu->setObjectName(QLatin1String(name));
        return menu;
    };
    auto addItem = [](QMenu *menu, const char *name, const char *caption) {
        QAction *action = menu->addAction(QString::fromUtf8(caption));
        action->setObjectName(QLatin1String(name));
        return action;
    };
    mnuFile = addMenu("mnuFile", "&File");
    mnuImageInfo = addItem(mnuFile, "mnuImageInfo", "Image &Information...");
    mnuExit = addItem(mnuFile, "mnuExit", "E&xit");
    mnuOptions = addMenu("mnuOptions", "&Options");
    mnuLoadOptions = addItem(mnuOptions, "mnuLoadOptions", "&Load CatWeasel Options");
    mnuSaveOptions = addItem(mnuOptions, "mnuSaveOptions", "&Save CatWeasel Options");
    mnuPreferences = addItem(mnuOptions, "mnuPreferences", "&Preferences");
    mnuRunInTerminal = addItem(mnuOptions, "mnuRunInTerminal", "Run Tools in a &Terminal");
    mnuRunInTerminal->setCheckable(true);
    mnuVerifyAfterWriting = addItem(mnuOptions, "mnuVerifyAfterWriting", "&Verify After Writing");
    mnuVerifyAfterWriting->setCheckable(true);
    mnuCheckCard = addItem(mnuOptions, "mnuCheckCard", "&Check CatWeasel Card");
    mnuPresets = mnuOptions->addMenu(QStringLiteral("P&resets"));
    mnuPresets->setObjectName(QStringLiteral("mnuPresets"));
    mnuPresets->menuAction()->setObjectName(QStringLiteral("mnuPresets"));
    mnuPresets->setToolTipsVisible(true); // each preset says why it is set so
    mnuHelp = addMenu("mnuHelp", "&Help");
    mnuAbout = addItem(mnuHelp, "mnuAbout", "&About");
}

void Moorfield::setTabOrder()
{
    QList<QWidget *> order;
    for (const GroupWidgets &group : m_groups)
        order << group.checkBox << group.value;
    order << txtExtraParms << cmdLoadSettings << cmdSaveSettings << cmdRead << cmdWrite
          << txtOptionalParms << cmdJV3 << cmdDMK << cmdExit;
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

} // namespace ferncastle
