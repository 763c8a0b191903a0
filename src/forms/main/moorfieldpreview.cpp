// The live command line in the main window's status bar.

#include "forms/main/moorfield.h"

#include "forms/common/optioncheckbox.h"
#include "forms/main/commandpreview.h"
#include "forms/main/moorfieldlayout.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace ferncastle {

// Every keystroke, tick and list choice rebuilds the line.
void Moorfield::connectPreview()
{
    std::vector<std::pair<QPushButton *, ToolActionId>> buttons;
    for (const ToolButton &tool : toolButtons())
        buttons.emplace_back(this->*tool.button, tool.action);
    m_preview = new CommandPreview(this, [this] { return runInputs(); }, std::move(buttons));
    const auto changed = [this] {
        if (m_preview)
            m_preview->optionsChanged();
    };
    for (int i = 0; i < GroupCount; ++i) {
        connect(checkBox(GroupIndex(i)), &QCheckBox::stateChanged, this, changed);
        if (QComboBox *values = list(GroupIndex(i)))
            connect(values, &QComboBox::currentIndexChanged, this, changed);
        else
            connect(textBox(GroupIndex(i)), &QLineEdit::textChanged, this, changed);
    }
    connect(txtExtraParms, &QLineEdit::textChanged, this, changed);
    connect(txtOptionalParms, &QLineEdit::textChanged, this, changed);
    m_preview->optionsChanged();
}

} // namespace ferncastle
