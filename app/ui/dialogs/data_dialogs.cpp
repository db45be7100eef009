#include "app/ui/dialogs/data_dialogs.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>

#include "app/model/units.h"
#include "app/session/document_controller.h"
#include "app/ui/dialogs/sketches.h"
#include "app/widgets/data_edit.h"

namespace app::ui {

namespace {

constexpr long double kNoLimit = std::numeric_limits<long double>::max();
// The uniform load is stored per square inch and shown per square foot in English units.
constexpr long double kSquareInchesPerFoot = 144.0L;

QLabel* note(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    QFont font = label->font();
    font.setItalic(true);
    label->setFont(font);
    return label;
}

}  // namespace

// ---- Base ---------------------------------------------------------------------------------------------

TDataDialog::TDataDialog(session::TDocumentController& document, const QString& caption, QWidget* parent)
    : QWidget(parent), m_document(document), m_layout(new QVBoxLayout(this)) {
    setWindowTitle(caption);
}

widgets::TDataEdit* TDataDialog::addEdit(QGridLayout* grid, const QString& caption, const QString& units,
                                         long double minimum, long double maximum, bool integerOnly) {
    auto* label = new QLabel(this);
    label->setWordWrap(true);
    auto* edit = new widgets::TDataEdit(this);
    edit->SetCaption(caption);
    edit->SetUnitsString(units);
    edit->SetEditLabel(label);
    edit->SetMinVal(minimum);
    edit->SetMaxVal(maximum);
    edit->SetIntegerOnly(integerOnly);
    edit->setMinimumWidth(140);
    const int row = grid->rowCount();
    grid->addWidget(label, row, 0);
    grid->addWidget(edit, row, 1);
    connect(edit, &widgets::TDataEdit::Modified, this, [this, edit] {
        if (std::find(m_touched.begin(), m_touched.end(), edit) == m_touched.end()) m_touched.push_back(edit);
        markChanged();
    });
    m_edits.push_back(edit);
    return edit;
}

bool TDataDialog::touched(const widgets::TDataEdit* edit) const {
    return std::find(m_touched.begin(), m_touched.end(), edit) != m_touched.end();
}

void TDataDialog::markChanged() {
    m_document.SetChanged();
}

long double TDataDialog::feetShown(long double inches) const {
    return app::model::ShownLength(inches, m_document.Model().UnitSystem());
}

long double TDataDialog::feetStored(long double shown) const {
    return app::model::StoredLength(shown, m_document.Model().UnitSystem());
}

void TDataDialog::Reload() {
    for (widgets::TDataEdit* edit : m_edits)
        edit->SetUnits(m_document.Model().UnitSystem());
    m_touched.clear();
    load();
}

void TDataDialog::CommitEdit() {
    // The focused field first, so its message comes before any other's.
    std::vector<widgets::TDataEdit*> order = m_edits;
    if (auto* focused = qobject_cast<widgets::TDataEdit*>(focusWidget())) {
        order.erase(std::find(order.begin(), order.end(), focused));
        order.insert(order.begin(), focused);
    }
    for (widgets::TDataEdit* edit : order) {
        if (!edit->IsPending()) continue;
        if (!edit->Validate()) {
            edit->setFocus(Qt::OtherFocusReason);
            edit->selectAll();
            throw widgets::ECommitRefused();
        }
    }
    store();
}

void TDataDialog::closeEvent(QCloseEvent* event) {
    try {
        CommitEdit();
    } catch (const widgets::ECommitRefused&) {
        event->ignore();
        return;
    }
    event->accept();
}

// ---- Title ---------------------------------------------------------------------------------------------

TDlgTitle::TDlgTitle(session::TDocumentController& document, QWidget* parent)
    : TDataDialog(document, tr("Project Title"), parent) {
    setObjectName(QStringLiteral("DlgTitle"));
    auto* label = new QLabel(tr("&Enter text line for project description:"), this);
    m_title = new QLineEdit(this);
    m_title->setMaxLength(80);
    m_title->setMinimumWidth(480);
    label->setBuddy(m_title);
    m_layout->addWidget(label);
    m_layout->addWidget(m_title);
    m_layout->addStretch();
    connect(m_title, &QLineEdit::textEdited, this, [this] { markChanged(); });
    Reload();
}

void TDlgTitle::load() {
    m_title->setText(QString::fromStdString(m_document.Model().Title));
}

void TDlgTitle::store() {
    const std::string text = m_title->text().toStdString();
    if (text == m_document.Model().Title) return;
    m_document.Model().Title = text;
    markChanged();
}

// ---- Wall properties -------------------------------------------------------------------------------------

TDlgWallProperties::TDlgWallProperties(session::TDocumentController& document, QWidget* parent)
    : TDataDialog(document, tr("Wall Properties"), parent) {
    setObjectName(QStringLiteral("DlgWallProperties"));
    auto* grid = new QGridLayout;
    m_layout->addLayout(grid);
    addEdit(grid, tr("&Increments (nodes)"), QString(), 1, 300, true);
    addEdit(grid, tr("Increment Length"), QStringLiteral("L"), -kNoLimit, kNoLimit);
    addEdit(grid, tr("Maximum Allowable Deflection for computation iteration"), QStringLiteral("L"),
            -kNoLimit, kNoLimit);
    grid->addWidget(note(tr("(Approx.10% of the wall height)  "), this), grid->rowCount(), 0, 1, 2);
    addEdit(grid, tr("Deflection Closure Tolerance"), QStringLiteral("L"), -kNoLimit, kNoLimit);
    addEdit(grid, tr("Free Height of Wall"), QStringLiteral("L2"), -kNoLimit, kNoLimit);
    auto* stiffness = new QLabel(tr("Wall Stiffness (EI)"), this);
    auto* button = new QPushButton(tr("Enter &Section Data"), this);
    button->setObjectName(QStringLiteral("SectionData"));
    const int row = grid->rowCount();
    grid->addWidget(stiffness, row, 0);
    grid->addWidget(button, row, 1);
    connect(button, &QPushButton::clicked, this, [this] {
        try {
            CommitEdit();
        } catch (const widgets::ECommitRefused&) {
            return;
        }
        m_document.Tables().PileSect.ShowEditor();
    });
    m_layout->addStretch();
    Reload();
}

void TDlgWallProperties::load() {
    const auto& m = m_document.Model();
    Edit(0)->SetNumber(m.IncrementCount);
    Edit(1)->SetNumber(m.IncrementLength);
    Edit(2)->SetNumber(m.MaxDeflection);
    Edit(3)->SetNumber(m.DeflectionTolerance);
    Edit(4)->SetNumber(feetShown(m.FreeHeight));
}

void TDlgWallProperties::store() {
    auto& m = m_document.Model();
    if (touched(Edit(0))) m.SetIncrementCount(static_cast<int>(Edit(0)->Number()));
    if (touched(Edit(1))) m.IncrementLength = Edit(1)->Number();
    if (touched(Edit(2))) m.MaxDeflection = Edit(2)->Number();
    if (touched(Edit(3))) m.DeflectionTolerance = Edit(3)->Number();
    if (touched(Edit(4))) m.FreeHeight = feetStored(Edit(4)->Number());
}

// ---- Wall configuration
// ------------------------------------------------------------------------------------

TDlgWallConfiguration::TDlgWallConfiguration(session::TDocumentController& document, QWidget* parent)
    : TDataDialog(document, tr("Wall Configuration"), parent) {
    setObjectName(QStringLiteral("DlgWallConfiguration"));
    auto* row = new QHBoxLayout;
    m_layout->addLayout(row);
    row->addWidget(new TSketch(DrawWallConfiguration, this));
    auto* group = new QGroupBox(tr("Wall Configuration"), this);
    row->addWidget(group, 1);
    auto* grid = new QGridLayout(group);
    addEdit(grid, tr("&Free Height of Wall, H"), QStringLiteral("L2"), -1000000, 1000000);
    addEdit(grid, tr("&Width for Active Earth Press. Calculation, Wa"), QStringLiteral("L"), -kNoLimit, 1200);
    addEdit(grid, tr("Width for Generating &p-y Soil Resistance, Wp"), QStringLiteral("L"), -kNoLimit, 120);
    addEdit(grid, tr("&Depth to the Water Table in backfill side, DWb"), QStringLiteral("L2"), -kNoLimit,
            1000000);
    addEdit(grid, tr("D&epth to the Water Table in excavation side, DWe"), QStringLiteral("L2"), -kNoLimit,
            1000000);
    const int notes = grid->rowCount();
    grid->addWidget(note(tr("Typically Wa is the center-to-center spacing of wall units.\n"
                            "Typically Wp is the selected width (diameter) of each wall unit.\n"
                            "DRENOK automatically calculates soil resistance (p) multipliers\n"
                            "as group reduction factors when Wa<=3Wp."),
                         this),
                    notes, 0, 1, 2);
    addEdit(grid, tr("&Modification Factor for Active Earth Pressure"), QString(), -kNoLimit, 1000);
    grid->addWidget(
        note(tr("Note:  DRENOK uses this factor as multiplier to the active earth pressure internally\n"
                "generated by DRENOK from the soil behind the wall and from the surcharge."),
             this),
        grid->rowCount(), 0, 1, 2);
    addEdit(grid, tr("&Slope of the backfill, Beta"), QStringLiteral("deg."), -45, 45);
    addEdit(grid, tr("&Uniform Distributed Load at the top of backfill side "), QStringLiteral("F/L2^2"),
            -kNoLimit, 10000000);
    Reload();
}

void TDlgWallConfiguration::load() {
    const auto& m = m_document.Model();
    const bool english = m.UnitSystem() == app::model::kUnitsEnglish;
    Edit(0)->SetNumber(feetShown(m.FreeHeight));
    Edit(1)->SetNumber(m.ActiveWidth);
    Edit(2)->SetNumber(m.PYWidth);
    Edit(3)->SetNumber(feetShown(m.WaterDepthBackfill));
    Edit(4)->SetNumber(feetShown(m.WaterDepthExcavation));
    Edit(5)->SetNumber(m.ActivePressureFactor);
    Edit(6)->SetNumber(m.BackfillSlope);
    Edit(7)->SetNumber(english ? m.TopSurcharge * kSquareInchesPerFoot : m.TopSurcharge);
}

void TDlgWallConfiguration::store() {
    auto& m = m_document.Model();
    const bool english = m.UnitSystem() == app::model::kUnitsEnglish;
    if (touched(Edit(0))) m.FreeHeight = feetStored(Edit(0)->Number());
    if (touched(Edit(1))) m.ActiveWidth = Edit(1)->Number();
    if (touched(Edit(2))) m.PYWidth = Edit(2)->Number();
    if (touched(Edit(3))) m.WaterDepthBackfill = feetStored(Edit(3)->Number());
    if (touched(Edit(4))) m.WaterDepthExcavation = feetStored(Edit(4)->Number());
    if (touched(Edit(5))) m.ActivePressureFactor = Edit(5)->Number();
    if (touched(Edit(6))) m.BackfillSlope = Edit(6)->Number();
    if (touched(Edit(7)))
        m.TopSurcharge = english ? Edit(7)->Number() / kSquareInchesPerFoot : Edit(7)->Number();
}

// ---- Dialogs that lead to a table
// --------------------------------------------------------------------------

TDlgTableLink::TDlgTableLink(session::TDocumentController& document, TDialogKind kind, QWidget* parent)
    : TDataDialog(document, QString(), parent), m_kind(kind) {
    std::function<void(QPainter&, const QRectF&)> sketch;
    QString option, button;
    switch (kind) {
        case TDialogKind::Surcharge:
            setWindowTitle(tr("Additional Surcharge"));
            sketch = DrawSurcharge;
            button = tr("&Edit Surcharge Loads");
            break;
        case TDialogKind::ConcentratedLoads:
            setWindowTitle(tr("Concentrated Loads"));
            sketch = DrawConcentratedLoads;
            option = tr("Apply &Concentrated Loads");
            button = tr("&Edit Concentrated Loads");
            break;
        case TDialogKind::Springs:
            setWindowTitle(tr("Lateral & Rotational Springs"));
            sketch = DrawSprings;
            option = tr("&Lateral and Rotational Springs");
            button = tr("&Edit Spring Stiffness");
            break;
        default:
            setWindowTitle(tr("Tieback (Ground Anchor)"));
            sketch = DrawTieback;
            button = tr("&Enter Tieback data");
            break;
    }
    setObjectName(QStringLiteral("DlgTableLink%1").arg(static_cast<int>(kind)));
    m_layout->addWidget(new TSketch(sketch, this), 1);
    auto* row = new QHBoxLayout;
    m_layout->addLayout(row);
    if (!option.isEmpty()) {
        m_option = new QCheckBox(option, this);
        row->addWidget(m_option);
        connect(m_option, &QCheckBox::clicked, this, &TDlgTableLink::optionClicked);
    }
    row->addStretch();
    m_button = new QPushButton(button, this);
    row->addWidget(m_button);
    connect(m_button, &QPushButton::clicked, this, &TDlgTableLink::openTable);
    Reload();
}

void TDlgTableLink::load() {
    const auto& m = m_document.Model();
    if (!m_option) return;
    const bool on = m_kind == TDialogKind::ConcentratedLoads ? m.ApplyConcentratedLoads : m.ApplySprings;
    m_option->setChecked(on);
    m_button->setEnabled(on);
}

void TDlgTableLink::optionClicked(bool checked) {
    auto& m = m_document.Model();
    // The model's toggles also close the table's editor when the option goes off.
    if (m_kind == TDialogKind::ConcentratedLoads) {
        if (m.ApplyConcentratedLoads != checked) m.ToggleConcentratedLoads();
    } else if (m.ApplySprings != checked) {
        m.ToggleSprings();
    }
    m_button->setEnabled(checked);
    m_document.OptionChanged();
}

void TDlgTableLink::openTable() {
    auto& t = m_document.Tables();
    switch (m_kind) {
        case TDialogKind::Surcharge:
            t.SurchargeTable.ShowEditor();
            break;
        case TDialogKind::ConcentratedLoads:
            t.BoundCond.ShowEditor();
            break;
        case TDialogKind::Springs:
            t.SoilStrength.ShowEditor();
            break;
        default:
            t.TiebackTable1.ShowEditor();
            break;
    }
}

// ---- Control options -----------------------------------------------------------------------------------

TDlgControlOptions::TDlgControlOptions(session::TDocumentController& document,
                                       std::function<QString()> editor,
                                       std::function<void(const QString&)> setEditor, QWidget* parent)
    : TDataDialog(document, tr("Control Options"), parent),
      m_get(std::move(editor)),
      m_set(std::move(setEditor)) {
    setObjectName(QStringLiteral("DlgControlOptions"));
    auto* row = new QHBoxLayout;
    m_layout->addLayout(row);
    auto* label = new QLabel(tr("&Text Editor:"), this);
    m_editor = new QLineEdit(this);
    m_editor->setMinimumWidth(360);
    m_editor->setPlaceholderText(tr("the desktop's handler (xdg-open)"));
    label->setBuddy(m_editor);
    auto* browse = new QPushButton(tr("&Browse..."), this);
    row->addWidget(label);
    row->addWidget(m_editor, 1);
    row->addWidget(browse);
    m_layout->addStretch();
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString file = QFileDialog::getOpenFileName(this, tr("Text Editor"), m_editor->text(),
                                                          tr("Programs (*);;All Files (*)"));
        if (!file.isEmpty()) m_editor->setText(file);
    });
    Reload();
}

void TDlgControlOptions::load() {
    m_editor->setText(m_get());
}

void TDlgControlOptions::store() {
    if (m_editor->text() != m_get()) m_set(m_editor->text().trimmed());
}

TDataDialog* CreateDataDialog(TDialogKind kind, session::TDocumentController& document,
                              std::function<QString()> editor,
                              std::function<void(const QString&)> setEditor) {
    switch (kind) {
        case TDialogKind::Title:
            return new TDlgTitle(document);
        case TDialogKind::WallProperties:
            return new TDlgWallProperties(document);
        case TDialogKind::WallConfiguration:
            return new TDlgWallConfiguration(document);
        case TDialogKind::ControlOptions:
            return new TDlgControlOptions(document, std::move(editor), std::move(setEditor));
        default:
            return new TDlgTableLink(document, kind);
    }
}

}  // namespace app::ui
