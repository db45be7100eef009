#include "app/model/program_data.h"

#include <algorithm>

#include "app/model/units.h"

namespace app::model {

TProgramData::TProgramData(TProblemTables& tables) : m_tables(&tables) {
    tables.ResetForNewProblem();
}

void TProgramData::SetUnitSystem(int units) {
    units = std::clamp(units, kUnitsEnglish, kUnitsOther);
    const bool converts = (m_unitSystem == kUnitsEnglish && units == kUnitsSI) ||
                          (m_unitSystem == kUnitsSI && units == kUnitsEnglish);
    const long double length = units == kUnitsSI ? kLengthToSI : kLengthToEnglish;
    const long double force = units == kUnitsSI ? kForceToSI : kForceToEnglish;
    if (converts) convertFields(length, force);
    m_unitSystem = units;
    m_tables->SetUnits(units);
    if (converts) convertSurchargeRows(length, force);
    if (OnUnitsChanged) OnUnitsChanged();
}

void TProgramData::convertSurchargeRows(long double length, long double force) {
    // The magnitude column's label converts by 1: the factor depends on each row's load type.
    TGridTable& surcharges = m_tables->SurchargeTable;
    for (int row = 0; row < surcharges.RowCount(); ++row) {
        TData& magnitude = surcharges.Cell(1, row);
        switch (surcharges.Cell(0, row).AsInt()) {
            case kPointLoad:
                magnitude.SetFloat(magnitude.AsFloat() * force);
                break;
            case kLineLoad:
                magnitude.SetFloat(magnitude.AsFloat() * force / length);
                break;
            case kStripLoad:
                magnitude.SetFloat(magnitude.AsFloat() * force / (length * length));
                break;
            default:
                break;
        }
    }
}

void TProgramData::convertFields(long double length, long double force) {
    for (long double* value : {&IncrementLength, &MaxDeflection, &DeflectionTolerance, &FreeHeight,
                               &ActiveWidth, &PYWidth, &WaterDepthBackfill, &WaterDepthExcavation,
                               &LegacySurcharge[kLegacyDistance], &LegacySurcharge[kLegacyStripWidth]})
        *value *= length;
    TopSurcharge *= force / (length * length);
    LegacySurcharge[kLegacyPointLoad] *= force;
    LegacySurcharge[kLegacyLineLoad] *= force / length;
    LegacySurcharge[kLegacyStripLoad] *= force / (length * length);
}

void TProgramData::toggle(bool& flag, TGridTable* table) {
    flag = !flag;
    if (!flag && table != nullptr) table->CloseEditor();
}

void TProgramData::ToggleRestraints() {
    toggle(ApplyRestraints, &m_tables->Soillayer);
}

void TProgramData::ToggleConcentratedLoads() {
    toggle(ApplyConcentratedLoads, &m_tables->BoundCond);
}

void TProgramData::ToggleSprings() {
    toggle(ApplySprings, &m_tables->SoilStrength);
}

void TProgramData::ToggleExternalPY() {
    toggle(ApplyExternalPY, &m_tables->PYCurves2);
}

void TProgramData::ToggleMomentEI() {
    toggle(ApplyMomentEI, &m_tables->MEICurves2);
}

void TProgramData::TogglePYModification() {
    toggle(ApplyPYModification, &m_tables->PYMod);
}

void TProgramData::ToggleSurcharge() {
    toggle(ApplySurcharge, &m_tables->SurchargeTable);
}

void TProgramData::ToggleTiebacks() {
    toggle(ApplyTiebacks, nullptr);
}

void TProgramData::ToggleLongTerm() {
    toggle(LongTerm, nullptr);
    LongTermMarker = LongTerm ? kLongTermFollows : kEndOfProblems;
}

void TProgramData::ToggleGeneratePY() {
    GeneratePY = std::clamp(GeneratePY, 0, 1);
    GeneratePY = 1 - GeneratePY;
}

void TProgramData::SetEarthPressureChoice(int choice) {
    EarthPressureChoice = choice;
    LongTermEarthPressureChoice = 0;
    UserEarthPressure = choice == kEarthPressureUser;
}

void TProgramData::DeriveUserEarthPressure() {
    UserEarthPressure = EarthPressureChoice == kEarthPressureUser;
}

void TProgramData::NormaliseEarthPressureChoice() {
    if (EarthPressureChoice == 0) EarthPressureChoice = kEarthPressureUser;
}

void TProgramData::SetIncrementCount(int count) {
    TGridTable& stiffness = m_tables->PileSect;
    const int old = IncrementCount;
    IncrementCount = count;
    if (count == old) return;
    for (int r = 0; r < stiffness.RowCount(); ++r) {
        TData& to = stiffness.Cell(1, r);
        const bool atTip = old > 0 && to.AsInt() == old;
        const bool newProblemRow = old == 0 && stiffness.RowCount() == 1 && to.AsInt() <= 1;
        if (atTip || newProblemRow) to.SetInt(count);
    }
}

}  // namespace app::model
