#pragma once
// The problem being edited: wall, discretisation and solution controls, excavation geometry and water,
// analysis options and construction-stage bookkeeping. The tabular parts live in the main window's grid
// tables (TProblemTables), which a new problem resets. The model opens no windows; switching an option
// off only closes its table's editor through the table.

#include <array>
#include <functional>
#include <string>

#include "app/model/problem_tables.h"
#include "app/model/results_store.h"

namespace app::model {

/// Indices of `LegacySurcharge`.
enum TLegacySurcharge : int {
    kLegacyDistance = 0,    // length
    kLegacyPointLoad = 1,   // force
    kLegacyLineLoad = 2,    // force / length
    kLegacyStripLoad = 3,   // force / area
    kLegacyStripWidth = 4,  // length
};

/// Earth-pressure choices of the Options menu.
inline constexpr int kEarthPressureUser = 1;
inline constexpr int kEarthPressureTriangular = 2;
inline constexpr int kEarthPressureTrapezoidal = 3;

/// Load types of `SurchargeTable`'s first column.
inline constexpr int kPointLoad = 1;
inline constexpr int kLineLoad = 2;
inline constexpr int kStripLoad = 3;

/// Unit conversion factors between English and SI. The way back is not the reciprocal: a round trip
/// of lengths multiplies by 39.3701 × 0.0254 = 1.00000054.
/// The integer after a problem of the data file: the long-term problem follows, or the file ends.
inline constexpr int kLongTermFollows = 9;
inline constexpr int kEndOfProblems = 0;

inline constexpr long double kLengthToSI = 0.0254L;
inline constexpr long double kLengthToEnglish = 39.3701L;
inline constexpr long double kForceToSI = 1.0L / 224.8089L;
inline constexpr long double kForceToEnglish = 224.8089L;

class TProgramData {
public:
    /// A new problem with its defaults; resets the tables (see TProblemTables::ResetForNewProblem).
    explicit TProgramData(TProblemTables& tables);
    TProgramData(const TProgramData&) = delete;
    TProgramData& operator=(const TProgramData&) = delete;

    [[nodiscard]] TProblemTables& Tables() const { return *m_tables; }

    // Stored in the units of the data file (inches / metres, pounds / kilonewtons).
    std::string FileName = "NewWall.dn5d";
    std::string Title = "New Wall";
    int IncrementCount = 0;
    long double IncrementLength = 0.0L;
    long double MaxDeflection = 100.0L;
    long double DeflectionTolerance = 1e-5L;
    long double FreeHeight = 0.0L;
    long double ActiveWidth = 0.0L;
    long double PYWidth = 0.0L;
    long double WaterDepthBackfill = 0.0L;
    long double WaterDepthExcavation = 0.0L;
    long double ActivePressureFactor = 1.0L;
    long double BackfillSlope = 0.0L;  // degrees
    long double TopSurcharge = 0.0L;   // force / area
    int EarthPressureCount = 1;
    std::array<long double, 5> LegacySurcharge{};

    int EarthPressureChoice = kEarthPressureTriangular;
    /// The generated distribution (2 or 3) of the long-term problem when a file gave it one of its own;
    /// 0: the long-term problem follows `EarthPressureChoice`. Choosing an option resets it to 0.
    int LongTermEarthPressureChoice = 0;
    bool UserEarthPressure = false;
    bool GeneratedEarthPressureRead = false;
    int GeneratePY = 1;
    bool ApplyExternalPY = false;
    bool ApplyMomentEI = false;
    bool ApplyPYModification = false;
    bool ApplyConcentratedLoads = false;
    bool ApplySprings = false;
    bool ApplyTiebacks = false;
    bool ApplySurcharge = false;
    bool ApplyRestraints = false;
    bool LongTerm = false;
    int LongTermMarker = 0;  // kLongTermFollows or kEndOfProblems

    int StageCount = 1;  // 1: not staged; at most 5
    int CurrentStage = 1;

    // Derived from the options when writing, read back from a file.
    int EarthPressureCode = 0;
    int PYCode = 0;
    int MomentEISetCount = 0;
    int TiebackCount = 0;

    int EarthPressureValuesPerRecord = 4;
    /// Stage-file layout: false only while stage files of older formats are converted.
    bool StageFileHasMomentEICount = true;
    bool StageFileHasTiebackCount = true;

    TResultsStore Results;

    /// Called after a change of unit system so that open dialogs show the converted values.
    std::function<void()> OnUnitsChanged;

    /// Sets `IncrementCount`; stiffness records that reached the old tip (and the new problem's first
    /// record, which covers nodes 0 to 1) reach the new one, so EI covers the whole wall.
    void SetIncrementCount(int count);

    [[nodiscard]] int UnitSystem() const { return m_unitSystem; }
    /// `units` clamped to 1…3. Only English ↔ SI converts the fields, the tables and the surcharge
    /// magnitudes; every table records the new system.
    void SetUnitSystem(int units);

    // Options menu. Switching an option off closes its table's editor; the data stay in the table.
    void ToggleRestraints();
    void ToggleConcentratedLoads();
    void ToggleSprings();
    void ToggleExternalPY();
    void ToggleMomentEI();
    void TogglePYModification();
    void ToggleSurcharge();
    void ToggleTiebacks();
    /// Also sets `LongTermMarker` (kLongTermFollows on, kEndOfProblems off).
    void ToggleLongTerm();
    /// Normalises a stored value to 0…1 first.
    void ToggleGeneratePY();
    /// The choice of the Options menu, for the short-term and the long-term problem alike.
    void SetEarthPressureChoice(int choice);
    /// On opening the Options menu: `UserEarthPressure` follows `EarthPressureChoice`.
    void DeriveUserEarthPressure();
    /// On opening the earth-pressure submenu: a choice of 0 becomes 1.
    void NormaliseEarthPressureChoice();

private:
    void convertFields(long double length, long double force);
    void convertSurchargeRows(long double length, long double force);
    static void toggle(bool& flag, TGridTable* table);

    TProblemTables* m_tables;
    int m_unitSystem = 1;
};

}  // namespace app::model
