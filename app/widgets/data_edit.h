#pragma once
// The numeric field of the data dialogs: accepts any expression, checks integrality and limits when it
// is left, labels itself with the unit of the current unit system, and keeps the focus while invalid.

#include <QLineEdit>
#include <QString>
#include <limits>

class QLabel;

namespace app::widgets {

class TDataEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TDataEdit(QWidget* parent = nullptr);

    // The label this edit drives: Caption, or Caption (unit text) with a unit label.
    void SetEditLabel(QLabel* label);
    [[nodiscard]] QLabel* EditLabel() const { return m_label; }
    void SetCaption(const QString& caption);
    [[nodiscard]] const QString& Caption() const { return m_caption; }
    void SetUnitsString(const QString& units);
    [[nodiscard]] const QString& UnitsString() const { return m_unitsString; }
    /// 1 English, 2 SI, 3 other; clamped.
    void SetUnits(int units);
    [[nodiscard]] int Units() const { return m_units; }

    /// Shows the value as "$" and at least four hexadecimal digits of its nearest whole number.
    void SetHex(bool hex);
    [[nodiscard]] bool Hex() const { return m_hex; }
    void SetIntegerOnly(bool integerOnly) { m_integerOnly = integerOnly; }
    [[nodiscard]] bool IntegerOnly() const { return m_integerOnly; }
    void SetMinVal(long double value) { m_min = value; }
    void SetMaxVal(long double value) { m_max = value; }
    [[nodiscard]] long double MinVal() const { return m_min; }
    [[nodiscard]] long double MaxVal() const { return m_max; }

    /// The last valid value.
    [[nodiscard]] long double Number() const { return m_number; }
    /// Shows `value` in general format with 18 significant digits; no check, no change signal.
    void SetNumber(long double value);

    /// Evaluates the text. On success the value is taken and the text rewritten; otherwise the message
    /// is shown, a value outside the limits is replaced by the limit, and false is returned.
    bool Validate();
    /// The text as typed differs from the value shown last.
    [[nodiscard]] bool IsPending() const { return text() != m_shown; }

    /// The label's text as it stands: "Caption (unit text)".
    [[nodiscard]] QString LabelText() const;

signals:
    /// Typed by the user: the problem has changed.
    void Modified();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void updateLabel();
    void show(long double value);

    QLabel* m_label = nullptr;
    QString m_caption;
    QString m_unitsString;
    int m_units = 1;
    bool m_integerOnly = false;
    bool m_hex = false;
    long double m_min = -std::numeric_limits<long double>::max();
    long double m_max = std::numeric_limits<long double>::max();
    long double m_number = 0.0L;
    QString m_shown;
    bool m_validating = false;
};

/// The value as the edit shows it: general format, 18 significant digits.
[[nodiscard]] QString FormatNumber(long double value);

}  // namespace app::widgets
