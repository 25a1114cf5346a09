#include "platform/qt/AccessibleNames.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSlider>

namespace bw::qt {

namespace {

// "&Volume:" and "Preferences…" are read as "Volume" and "Preferences".
QString spoken(QString text)
{
    text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    text.remove(QChar(0x2026));
    text = text.trimmed();
    while (text.endsWith(QLatin1Char(':')))
        text.chop(1);
    return text.trimmed();
}

bool hasLetter(const QString& text)
{
    for (const QChar c : text)
        if (c.isLetter())
            return true;
    return false;
}

} // namespace

bool isControl(const QWidget& widget)
{
    // The line edit and the list of a combo box are parts of the box, which has the name.
    for (const QWidget* up = widget.parentWidget(); up; up = up->parentWidget())
        if (qobject_cast<const QComboBox*>(up))
            return false;
    return qobject_cast<const QAbstractButton*>(&widget) || qobject_cast<const QComboBox*>(&widget) ||
           qobject_cast<const QLineEdit*>(&widget) || qobject_cast<const QAbstractSpinBox*>(&widget) ||
           qobject_cast<const QAbstractItemView*>(&widget) || qobject_cast<const QSlider*>(&widget);
}

void giveAccessibleNames(QWidget& window)
{
    // A field is named by the label that points at it.
    for (QLabel* label : window.findChildren<QLabel*>())
        if (QWidget* buddy = label->buddy(); buddy && buddy->accessibleName().isEmpty())
            buddy->setAccessibleName(spoken(label->text()));
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        if (!isControl(*widget) || !widget->accessibleName().isEmpty())
            continue;
        QString name;
        if (auto* button = qobject_cast<QAbstractButton*>(widget); button && hasLetter(button->text()))
            name = spoken(button->text());
        else if (auto* field = qobject_cast<QLineEdit*>(widget); field && !field->placeholderText().isEmpty())
            name = spoken(field->placeholderText());
        if (name.isEmpty())
            name = spoken(widget->toolTip());
        if (!name.isEmpty())
            widget->setAccessibleName(name);
    }
}

} // namespace bw::qt
