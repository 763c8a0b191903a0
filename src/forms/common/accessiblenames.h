#pragma once

#include <QString>

class QLabel;
class QWidget;

namespace ferncastle {

// The tooltip, and what a screen reader gives as the control's description,
// from one text.
void setHelp(QWidget &widget, const QString &text);

// A caption as it is read out: without the '&' that mark access keys, all
// of them ("&D&MK to JV" is "DMK to JV"); "&&" stays one '&'.
QString spokenCaption(const QString &caption);

// Screen readers learn of windows, alerts and the track grid through the
// program's own accessible interfaces. Installed once; the calls below
// and the grid install them.
void installAccessibleForms();
void announceAsWindow(QWidget &window);
// The label's text is an alert: announced whenever announce() is called
// (once it has been shown with its new text), not only when it has the focus.
void announceAsAlert(QLabel &label);
void announce(QLabel &label);

} // namespace ferncastle
