#include "app/ui/dialogs/dlg_staged.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "app/model/stages.h"

namespace app::ui {

namespace {

// The box holds 1 (not staged) to 5, but its arrows step only between 2 and 5.
class TStageCountBox : public QSpinBox {
public:
    using QSpinBox::QSpinBox;
    void stepBy(int steps) override { setValue(std::clamp(value() + steps, 2, app::model::kMaxStages)); }

protected:
    StepEnabled stepEnabled() const override {
        StepEnabled enabled = StepNone;
        if (value() < app::model::kMaxStages) enabled |= StepUpEnabled;
        if (value() > 2) enabled |= StepDownEnabled;
        return enabled;
    }
};

const char* const kExplanation =
    "The staged-construction analysis compares the deflection, bending moment and shear predicted at "
    "successive stages of construction by a simplified approach. It does not follow the stress history "
    "of the soil and the wall: each stage starts from its own earth pressure, restrained boundary "
    "conditions and p-y curves, and the p-y curves of a stage are generated from its own excavation "
    "depth, wall height and water table. The approach is not rigorous; its results call for the "
    "engineer's judgement.";

}  // namespace

TDlgStaged::TDlgStaged(int stageCount, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromLatin1(app::model::kStagedDialogCaption));
    setObjectName(QStringLiteral("DlgStaged"));
    auto* layout = new QVBoxLayout(this);

    m_check = new QCheckBox(tr("Conduct &Staged-Construction Analysis"), this);
    layout->addWidget(m_check);

    auto* label = new QLabel(tr("&Enter the total number of stages (Max. = 5, Min =2)"), this);
    m_count = new TStageCountBox(this);
    m_count->setRange(1, app::model::kMaxStages);
    label->setBuddy(m_count);
    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(m_count);
    layout->addLayout(row);

    auto* text = new QPlainTextEdit(QString::fromLatin1(kExplanation), this);
    text->setReadOnly(true);
    text->setMinimumSize(380, 120);
    layout->addWidget(text);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    const int count = std::clamp(stageCount, 1, app::model::kMaxStages);
    m_count->setValue(count);
    m_check->setChecked(count > 1);
    m_count->setEnabled(count > 1);
    connect(m_check, &QCheckBox::toggled, this, &TDlgStaged::CheckClick);
}

void TDlgStaged::CheckClick(bool checked) {
    if (checked) {
        if (m_count->value() == 1) m_count->setValue(2);
    } else {
        m_count->setValue(1);
    }
    m_count->setEnabled(checked);
}

int TDlgStaged::StageCount() const {
    return std::clamp(m_count->value(), 1, app::model::kMaxStages);
}

}  // namespace app::ui
