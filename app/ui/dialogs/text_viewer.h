#pragma once
// The report and the run notes, read-only, inside the program: monospace text, find, and a jump to
// the first warning or error line. Used when no outside text editor is set.

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace app::ui {

class TTextViewer : public QDialog {
    Q_OBJECT
public:
    explicit TTextViewer(QWidget* parent = nullptr);

    /// Shows `path`; false (and the viewer empty) when it cannot be read. `error` says why.
    bool Load(const QString& path, QString* error = nullptr);

    /// Finds `text` after the cursor (before it when `backwards`), wrapping round once. False when it is
    /// not in the text.
    bool Find(const QString& text, bool backwards = false);
    /// Puts the cursor on the first line the engine wrote as a warning or an error; false when none.
    bool GoToFirstWarning();

    [[nodiscard]] QPlainTextEdit* Text() const { return m_text; }

private:
    void say(const QString& text);

    QPlainTextEdit* m_text;
    QLineEdit* m_find;
    QLabel* m_state;
};

}  // namespace app::ui
