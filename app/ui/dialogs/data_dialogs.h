#pragma once
// The data-entry dialogs: small child windows that show the problem's scalar values when activated and
// write them back when they lose the focus or close. They hold no data of their own.

#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

#include "app/widgets/child_window.h"

class QCheckBox;
class QGridLayout;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

namespace app::widgets {
class TDataEdit;
}
namespace app::session {
class TDocumentController;
}

namespace app::ui {

/// The dialogs, one of each at a time.
enum class TDialogKind {
    Title,
    WallProperties,
    WallConfiguration,
    Surcharge,
    ConcentratedLoads,
    Springs,
    Tiebacks,
    ControlOptions
};

class TDataDialog : public QWidget, public widgets::TChildWindow {
    Q_OBJECT
public:
    TDataDialog(session::TDocumentController& document, const QString& caption, QWidget* parent = nullptr);

    /// Shows the model's values in the current unit system.
    void Reload() override;
    /// Validates the fields typed into and writes the dialog's values to the model. Throws
    /// widgets::ECommitRefused, focus in the field, when one is invalid.
    void CommitEdit() override;
    /// The numeric fields in their order, for tests and the keyboard.
    [[nodiscard]] const std::vector<widgets::TDataEdit*>& Edits() const { return m_edits; }
    [[nodiscard]] widgets::TDataEdit* Edit(int i) const { return m_edits.at(static_cast<std::size_t>(i)); }

protected:
    virtual void load() = 0;
    virtual void store() = 0;
    void closeEvent(QCloseEvent* event) override;

    /// A labelled numeric field in the next row of `grid`; limits as given.
    widgets::TDataEdit* addEdit(QGridLayout* grid, const QString& caption, const QString& units,
                                long double minimum, long double maximum, bool integerOnly = false);
    /// Lengths shown in feet while the problem is in English units (stored in inches).
    [[nodiscard]] long double feetShown(long double inches) const;
    [[nodiscard]] long double feetStored(long double shown) const;
    /// The field was typed into since the values were shown: only such fields are written back, so a
    /// dialog opened and closed changes nothing.
    [[nodiscard]] bool touched(const widgets::TDataEdit* edit) const;
    void markChanged();

    session::TDocumentController& m_document;
    QVBoxLayout* m_layout;

private:
    std::vector<widgets::TDataEdit*> m_edits;
    std::vector<const widgets::TDataEdit*> m_touched;
};

class TDlgTitle : public TDataDialog {
    Q_OBJECT
public:
    explicit TDlgTitle(session::TDocumentController& document, QWidget* parent = nullptr);
    [[nodiscard]] QLineEdit* TitleEdit() const { return m_title; }

protected:
    void load() override;
    void store() override;

private:
    QLineEdit* m_title;
};

class TDlgWallProperties : public TDataDialog {
    Q_OBJECT
public:
    explicit TDlgWallProperties(session::TDocumentController& document, QWidget* parent = nullptr);

protected:
    void load() override;
    void store() override;
};

class TDlgWallConfiguration : public TDataDialog {
    Q_OBJECT
public:
    explicit TDlgWallConfiguration(session::TDocumentController& document, QWidget* parent = nullptr);

protected:
    void load() override;
    void store() override;
};

/// The surcharge, concentrated-load, spring and tieback dialogs: a sketch, perhaps an option box, and
/// a button that opens the table.
class TDlgTableLink : public TDataDialog {
    Q_OBJECT
public:
    TDlgTableLink(session::TDocumentController& document, TDialogKind kind, QWidget* parent = nullptr);
    [[nodiscard]] QCheckBox* OptionBox() const { return m_option; }
    [[nodiscard]] QPushButton* TableButton() const { return m_button; }

protected:
    void load() override;
    void store() override {}

private:
    void optionClicked(bool checked);
    void openTable();

    TDialogKind m_kind;
    QCheckBox* m_option = nullptr;
    QPushButton* m_button = nullptr;
};

/// "Control Options": the text editor.
class TDlgControlOptions : public TDataDialog {
    Q_OBJECT
public:
    TDlgControlOptions(session::TDocumentController& document, std::function<QString()> editor,
                       std::function<void(const QString&)> setEditor, QWidget* parent = nullptr);
    [[nodiscard]] QLineEdit* EditorEdit() const { return m_editor; }

protected:
    void load() override;
    void store() override;

private:
    QLineEdit* m_editor;
    std::function<QString()> m_get;
    std::function<void(const QString&)> m_set;
};

/// The dialog of `kind`, made for the main window.
[[nodiscard]] TDataDialog* CreateDataDialog(TDialogKind kind, session::TDocumentController& document,
                                            std::function<QString()> editor,
                                            std::function<void(const QString&)> setEditor);

}  // namespace app::ui
