#include "forms/common/accessiblenames.h"

#include "forms/grid/trackgrid.h"
#include "forms/grid/trackgridaccessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>

namespace ferncastle {

namespace {

const char *const windowRole = "ferncastleWindowRole";
const char *const alertRole = "ferncastleAlertRole";

class AlertLabelAccessible : public QAccessibleWidget
{
public:
    explicit AlertLabelAccessible(QLabel *label) : QAccessibleWidget(label, QAccessible::AlertMessage) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return static_cast<const QLabel *>(widget())->text();
        return QAccessibleWidget::text(t);
    }
};

// Asked once per object, with its own class name first: answering only
// then leaves every other class to the toolkit's own interfaces.
QAccessibleInterface *formsAccessible(const QString &key, QObject *object)
{
    if (!object || !object->isWidgetType() || key != QLatin1String(object->metaObject()->className()))
        return nullptr;
    auto *widget = static_cast<QWidget *>(object);
    if (auto *grid = qobject_cast<TrackGrid *>(widget))
        return new TrackGridAccessible(grid);
    if (widget->property(windowRole).toBool())
        return new QAccessibleWidget(widget, QAccessible::Window);
    if (auto *label = qobject_cast<QLabel *>(widget); label && label->property(alertRole).toBool())
        return new AlertLabelAccessible(label);
    return nullptr;
}

} // namespace

void installAccessibleForms()
{
    static const bool installed = [] {
        QAccessible::installFactory(formsAccessible);
        return true;
    }();
    Q_UNUSED(installed);
}

void setHelp(QWidget &widget, const QString &text)
{
    widget.setToolTip(text);
    widget.setAccessibleDescription(text);
}

QString spokenCaption(const QString &caption)
{
    QString spoken;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size())
            ++i;
        spoken += caption[i];
    }
    return spoken;
}

void announceAsWindow(QWidget &window)
{
    installAccessibleForms();
    window.setProperty(windowRole, true);
}

void announceAsAlert(QLabel &label)
{
    installAccessibleForms();
    label.setProperty(alertRole, true);
}

void announce(QLabel &label)
{
    QAccessibleEvent shown(&label, QAccessible::Alert);
    QAccessible::updateAccessibility(&shown);
    QAccessibleEvent named(&label, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&named);
}

} // namespace ferncastle
