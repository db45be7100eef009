#include "app/widgets/data_edit.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "app/model/expression.h"
#include "app/model/graph_plot.h"
#include "app/model/number_format.h"
#include "app/model/units.h"
#include "app/widgets/messages.h"

namespace app::widgets {

QString FormatNumber(long double value) {
    return QString::fromStdString(app::model::FormatGeneral(value, 18));
}

TDataEdit::TDataEdit(QWidget* parent) : QLineEdit(parent) {
    show(0.0L);
    connect(this, &QLineEdit::textEdited, this, &TDataEdit::Modified);
}

void TDataEdit::SetEditLabel(QLabel* label) {
    m_label = label;
    if (m_label) m_label->setBuddy(this);
    updateLabel();
}

void TDataEdit::SetCaption(const QString& caption) {
    m_caption = caption;
    updateLabel();
}

void TDataEdit::SetUnitsString(const QString& units) {
    m_unitsString = units;
    updateLabel();
}

void TDataEdit::SetUnits(int units) {
    m_units = std::clamp(units, 1, 3);
    updateLabel();
}

QString TDataEdit::LabelText() const {
    if (m_unitsString.isEmpty()) return m_caption;
    const std::string unit = app::model::EditUnitText(m_unitsString.toStdString(), m_units);
    return m_caption + QStringLiteral(" (") + QString::fromStdString(unit) + QStringLiteral(")");
}

void TDataEdit::updateLabel() {
    if (m_label) m_label->setText(LabelText());
}

void TDataEdit::SetHex(bool hex) {
    m_hex = hex;
    show(m_number);
}

void TDataEdit::show(long double value) {
    m_number = value;
    m_shown = m_hex
                  ? QStringLiteral("$") +
                        QString::number(std::llround(value), 16).toUpper().rightJustified(4, QLatin1Char('0'))
                  : FormatNumber(value);
    setText(m_shown);
    setCursorPosition(0);  // a long number shows its leading digits
}

void TDataEdit::SetNumber(long double value) {
    show(value);
}

bool TDataEdit::Validate() {
    long double value = 0.0L;
    try {
        value = app::model::EvaluateEntry(text().toStdString());
    } catch (const app::model::EAssignError& e) {
        ShowInformation(
            this, m_integerOnly ? tr("Entry must be a valid integer.") : QString::fromStdString(e.what()));
        return false;
    }
    if (m_integerOnly && value != std::trunc(value)) {
        ShowInformation(this, tr("Entry must be an integer."));
        return false;
    }
    if (value < m_min) {
        show(m_min);
        ShowInformation(this, tr("Entry must be greater than or equal to ") + FormatNumber(m_min));
        return false;
    }
    if (value > m_max) {
        show(m_max);
        ShowInformation(this, tr("Entry must be less than or equal to ") + FormatNumber(m_max));
        return false;
    }
    show(value);
    return true;
}

void TDataEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        Validate();
        selectAll();
        return;
    }
    // With the whole number selected an operator extends it into an expression instead of replacing it.
    static const QString operators = QStringLiteral("+-/*^=%!");
    const QString typed = event->text();
    if (typed.size() == 1 && operators.contains(typed) && hasSelectedText() && selectedText() == text()) {
        deselect();
        end(false);
    }
    QLineEdit::keyPressEvent(event);
}

void TDataEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // Checked here only when the focus moves to another field of the same window; a window that is
    // left checks its fields itself, and a message box taking the focus is no move at all.
    if (m_validating || !IsPending()) return;
    QWidget* scope = this;
    while (scope->parentWidget() && !scope->isWindow() &&
           !qobject_cast<QMdiSubWindow*>(scope->parentWidget()))
        scope = scope->parentWidget();
    QWidget* next = QApplication::focusWidget();
    if (!next || next == this || !scope->isAncestorOf(next)) return;
    m_validating = true;
    const bool valid = Validate();
    m_validating = false;
    if (!valid) {
        QTimer::singleShot(0, this, [this] {
            setFocus(Qt::OtherFocusReason);
            selectAll();
        });
    }
}

}  // namespace app::widgets
