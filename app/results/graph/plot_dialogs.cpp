#include "app/results/graph/plot_dialogs.h"

#include <QFileDialog>
#include <QFileInfo>

#include "app/results/export/picture_export.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cmath>

#include "app/results/graph/plot_geometry.h"
#include "app/results/graph/plot_painter.h"
#include "app/widgets/data_edit.h"
#include "app/widgets/messages.h"

namespace app::results {

std::string ToggledFlag(const std::string& flag) {
    return flag != kActiveFlag ? kActiveFlag : kInactiveFlag;
}

QString ActiveEntryText(const std::string& flag, const QString& name) {
    return QString::fromStdString(flag) + QStringLiteral("   ") + name;
}

// ---- Legend --------------------------------------------------------------------------------------------

TfrmLineNames::TfrmLineNames(const QStringList& names, QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Legend"));
    setMinimumSize(195, 167);
    auto* layout = new QVBoxLayout(this);
    auto* first = new QLabel(tr("&Select line to modify:"), this);
    m_list = new QListWidget(this);
    first->setBuddy(m_list);
    auto* second = new QLabel(tr("&Type new legend below:"), this);
    m_edit = new QLineEdit(this);
    second->setBuddy(m_edit);
    layout->addWidget(first);
    layout->addWidget(m_list, 1);
    layout->addWidget(second);
    layout->addWidget(m_edit);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        CommitEdit();
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    for (int i = 0; i < names.size(); ++i) {
        auto* item = new QListWidgetItem(names[i], m_list);
        item->setForeground(CurveQColor(i));
    }
    connect(m_list, &QListWidget::currentRowChanged, this, &TfrmLineNames::selectionChanged);
    m_edit->installEventFilter(this);
    if (!names.isEmpty()) m_list->setCurrentRow(0);
}

QStringList TfrmLineNames::Names() const {
    QStringList names;
    for (int i = 0; i < m_list->count(); ++i)
        names << m_list->item(i)->text();
    return names;
}

void TfrmLineNames::selectionChanged() {
    const int row = m_list->currentRow();
    if (row < 0) return;
    m_edit->setText(m_list->item(row)->text());
    QPalette palette = m_edit->palette();
    palette.setColor(QPalette::Text, CurveQColor(row));
    m_edit->setPalette(palette);
}

void TfrmLineNames::CommitEdit() {
    const int row = m_list->currentRow();
    if (row < 0) return;
    if (m_edit->text().isEmpty()) {
        app::widgets::ShowInformation(this, QString::fromLatin1(kEmptyLegendMessage));
        m_edit->setText(m_list->item(row)->text());
        return;
    }
    m_list->item(row)->setText(m_edit->text());
}

bool TfrmLineNames::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_edit) {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                CommitEdit();
                return true;  // Enter edits the entry; it does not close the dialog
            }
        } else if (event->type() == QEvent::FocusOut) {
            CommitEdit();
        }
    }
    return QDialog::eventFilter(watched, event);
}

// ---- Active curves
// -----------------------------------------------------------------------------------------

TfrmActiveLines::TfrmActiveLines(const QStringList& names, const std::vector<std::string>& flags,
                                 QWidget* parent)
    : QDialog(parent), m_names(names), m_flags(flags) {
    setWindowTitle(tr("Active Curves"));
    setMinimumSize(190, 234);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Select Curve to Active/Desactive"), this));
    auto* heads = new QHBoxLayout;
    heads->addWidget(new QLabel(tr("Active :"), this));
    heads->addWidget(new QLabel(tr("Curve"), this), 1);
    layout->addLayout(heads);
    m_list = new QListWidget(this);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    layout->addWidget(m_list, 1);
    for (int i = 0; i < names.size(); ++i) {
        auto* item =
            new QListWidgetItem(ActiveEntryText(m_flags[static_cast<std::size_t>(i)], names[i]), m_list);
        item->setForeground(CurveQColor(i));
    }
    if (m_list->count() > 0) m_list->setCurrentRow(0);
    auto* toggle = new QPushButton(tr("Activate/Deactivate &Selected"), this);
    auto* all = new QPushButton(tr("Activate &All"), this);
    auto* none = new QPushButton(tr("&Deactivate All"), this);
    layout->addWidget(toggle);
    auto* row = new QHBoxLayout;
    row->addWidget(all);
    row->addStretch();
    row->addWidget(none);
    layout->addLayout(row);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(toggle, &QPushButton::clicked, this, &TfrmActiveLines::ToggleSelected);
    connect(all, &QPushButton::clicked, this, [this] { SetAll(true); });
    connect(none, &QPushButton::clicked, this, [this] { SetAll(false); });
    connect(m_list, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { Toggle(m_list->row(item)); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void TfrmActiveLines::refresh(int row) {
    m_list->item(row)->setText(ActiveEntryText(m_flags[static_cast<std::size_t>(row)], m_names[row]));
}

void TfrmActiveLines::Toggle(int row) {
    if (row < 0 || row >= static_cast<int>(m_flags.size())) return;
    m_flags[static_cast<std::size_t>(row)] = ToggledFlag(m_flags[static_cast<std::size_t>(row)]);
    refresh(row);
}

void TfrmActiveLines::ToggleSelected() {
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    if (selected.isEmpty()) {
        Toggle(m_list->currentRow());
        return;
    }
    for (QListWidgetItem* item : selected)
        Toggle(m_list->row(item));
}

void TfrmActiveLines::SetAll(bool active) {
    for (std::size_t i = 0; i < m_flags.size(); ++i) {
        m_flags[i] = active ? kActiveFlag : kInactiveFlag;
        refresh(static_cast<int>(i));
    }
}

// ---- Graph caption
// -----------------------------------------------------------------------------------------

TfrmGraphCaption::TfrmGraphCaption(const QString& title, bool atTop, QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Graph Caption"));
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(tr("&Enter Graph Caption"), this);
    m_edit = new QLineEdit(title, this);
    m_edit->setMinimumWidth(320);
    label->setBuddy(m_edit);
    layout->addWidget(label);
    layout->addWidget(m_edit);
    auto* group = new QGroupBox(tr("Caption Location"), this);
    auto* radios = new QHBoxLayout(group);
    m_top = new QRadioButton(tr("&Top"), group);
    auto* bottom = new QRadioButton(tr("&Bottom"), group);
    radios->addWidget(m_top);
    radios->addWidget(bottom);
    (atTop ? m_top : bottom)->setChecked(true);
    layout->addWidget(group);
    auto* ok = new QPushButton(tr("&OK"), this);
    ok->setDefault(true);
    layout->addWidget(ok, 0, Qt::AlignRight);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

QString TfrmGraphCaption::Title() const {
    return m_edit->text();
}

bool TfrmGraphCaption::AtTop() const {
    return m_top->isChecked();
}

// ---- Save attributes
// -----------------------------------------------------------------------------------------

TdlgFormat::TdlgFormat(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Save Attributes"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    auto field = [this, grid](const QString& caption, long double value, long double minimum,
                              long double maximum, bool integer) {
        auto* label = new QLabel(this);
        auto* edit = new app::widgets::TDataEdit(this);
        edit->SetCaption(caption);
        edit->SetEditLabel(label);
        edit->SetMinVal(minimum);
        edit->SetMaxVal(maximum);
        edit->SetIntegerOnly(integer);
        edit->SetNumber(value);
        const int row = grid->rowCount();
        grid->addWidget(label, row, 0);
        grid->addWidget(edit, row, 1);
        return edit;
    };
    constexpr long double kLargest = 1e300L;
    m_height = field(tr("&Height (in)"), 4.0L, 2.0L, kLargest, false);
    m_width = field(tr("&Width (in)"), 6.0L, 2.0L, kLargest, false);
    m_ppi = field(tr("&Pixels Per Inch"), 72, 10, 2147483647.0L, true);
    // The colour depth is offered but the bitmap is written in the display's format.
    auto* colours = new QGroupBox(tr("Colors"), this);
    auto* column = new QVBoxLayout(colours);
    for (const QString& text : {tr("Black and White"), tr("16 Colors"), tr("256 Colors"),
                                tr("High Color (16 bit)"), tr("True Color (24 bit)")}) {
        auto* radio = new QRadioButton(text, colours);
        radio->setChecked(text == tr("16 Colors"));
        column->addWidget(radio);
    }
    layout->addWidget(colours);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &TdlgFormat::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

QSize TdlgFormat::BitmapSize() const {
    const long double ppi = m_ppi->Number();
    return QSize(Nearest(ppi * m_width->Number()), Nearest(ppi * m_height->Number()));
}

int TdlgFormat::Ppi() const {
    return std::max(1, static_cast<int>(Nearest(m_ppi->Number())));
}

void TdlgFormat::accept() {
    for (app::widgets::TDataEdit* edit : {m_height, m_width, m_ppi})
        if (edit->IsPending() && !edit->Validate()) return;
    QDialog::accept();
}

std::optional<TPictureChoice> ChoosePicture(QWidget* parent) {
    const QStringList filters = PictureFilters();
    QString chosen;
    QString file = QFileDialog::getSaveFileName(parent, QObject::tr("Save To Disk"), QString(),
                                                filters.join(QStringLiteral(";;")), &chosen);
    if (file.isEmpty()) return std::nullopt;
    if (QFileInfo(file).suffix().isEmpty())
        file += PictureExtension(static_cast<int>(filters.indexOf(chosen)));
    TdlgFormat attributes(parent);
    if (attributes.exec() != QDialog::Accepted) return std::nullopt;
    return TPictureChoice{file, attributes.BitmapSize(), attributes.Ppi()};
}

}  // namespace app::results
