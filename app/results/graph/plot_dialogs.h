#pragma once
// The small dialogs of a graph window: the legend editor, the active-curves chooser, the graph title
// and the bitmap attributes. Each works on copies handed in and handed back; the window applies them.

#include <QDialog>
#include <QSize>
#include <QString>
#include <QStringList>
#include <optional>
#include <string>
#include <vector>

class QLineEdit;
class QListWidget;
class QRadioButton;

namespace app::widgets {
class TDataEdit;
}

namespace app::results {

inline constexpr const char* kActiveFlag = " yes : ";
inline constexpr const char* kInactiveFlag = " no  : ";
inline constexpr const char* kEmptyLegendMessage = "The line must have a name!";
inline constexpr const char* kNoMemoryMessage = "There is not enough memory to complete this task.";

/// The other flag of an active-curves entry.
[[nodiscard]] std::string ToggledFlag(const std::string& flag);
/// An entry of the active-curves list: flag, three blanks, name.
[[nodiscard]] QString ActiveEntryText(const std::string& flag, const QString& name);

/// "Legend": one text per curve; an empty text is refused.
class TfrmLineNames : public QDialog {
    Q_OBJECT
public:
    TfrmLineNames(const QStringList& names, QWidget* parent = nullptr);
    /// The texts as they stand (every entry, in curve order).
    [[nodiscard]] QStringList Names() const;
    [[nodiscard]] QListWidget* List() const { return m_list; }
    [[nodiscard]] QLineEdit* Edit() const { return m_edit; }
    /// Enter in the edit, or leaving it: the selected entry takes the text unless it is empty.
    void CommitEdit();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void selectionChanged();

    QListWidget* m_list;
    QLineEdit* m_edit;
};

/// "Active Curves": a flag per curve.
class TfrmActiveLines : public QDialog {
    Q_OBJECT
public:
    TfrmActiveLines(const QStringList& names, const std::vector<std::string>& flags,
                    QWidget* parent = nullptr);
    [[nodiscard]] const std::vector<std::string>& Flags() const { return m_flags; }
    [[nodiscard]] QListWidget* List() const { return m_list; }
    void ToggleSelected();
    void SetAll(bool active);
    void Toggle(int row);

private:
    void refresh(int row);

    QStringList m_names;
    std::vector<std::string> m_flags;
    QListWidget* m_list;
};

/// "Graph Caption": the title text and whether it stands at the top.
class TfrmGraphCaption : public QDialog {
    Q_OBJECT
public:
    TfrmGraphCaption(const QString& title, bool atTop, QWidget* parent = nullptr);
    [[nodiscard]] QString Title() const;
    [[nodiscard]] bool AtTop() const;
    [[nodiscard]] QLineEdit* Edit() const { return m_edit; }

private:
    QLineEdit* m_edit;
    QRadioButton* m_top;
};

/// "Save Attributes": the bitmap's size from inches and pixels per inch.
class TdlgFormat : public QDialog {
    Q_OBJECT
public:
    explicit TdlgFormat(QWidget* parent = nullptr);
    /// Pixels per inch × each size, rounded; 432 × 288 at the defaults.
    [[nodiscard]] QSize BitmapSize() const;
    /// Pixels per inch, as entered.
    [[nodiscard]] int Ppi() const;
    [[nodiscard]] app::widgets::TDataEdit* HeightEdit() const { return m_height; }
    [[nodiscard]] app::widgets::TDataEdit* WidthEdit() const { return m_width; }
    [[nodiscard]] app::widgets::TDataEdit* PpiEdit() const { return m_ppi; }
    void accept() override;

private:
    app::widgets::TDataEdit* m_height;
    app::widgets::TDataEdit* m_width;
    app::widgets::TDataEdit* m_ppi;
};

/// A picture file and its size, as the user chose them: the save dialog with the picture formats,
/// then Save Attributes. Nothing when either was cancelled.
struct TPictureChoice {
    QString File;
    QSize Size;
    int Ppi = 72;
};
[[nodiscard]] std::optional<TPictureChoice> ChoosePicture(QWidget* parent);

}  // namespace app::results
