// Reader of the data file in its four layouts. The file is read into a private model whose tables live
// in private registries; the caller's model is replaced only after the whole file has been read.

#include <algorithm>
#include <string>

#include "app/model/data_file.h"
#include "app/model/data_file_soil.h"
#include "app/model/units.h"
#include "app/model/word_reader.h"

namespace app::model {

namespace {

constexpr const char* kInvalid = "This file either invalid or incomplete.";

class TReader {
public:
    TReader(TWordReader& words, TProgramData& model, TDataFileFormat format, bool keepTables = false,
            bool stageFile = false)
        : m_in(words),
          m_model(model),
          m_tables(model.Tables()),
          m_format(format),
          m_keepTables(keepTables),
          m_stageFile(stageFile),
          m_records(format == TDataFileFormat::Current) {}

    void Read() {
        if (!m_keepTables) {
            m_model.SetUnitSystem(kUnitsEnglish);
            for (TGridTable* table : m_tables.All())
                table->SetRowCount(0);
        }
        readProblem(m_tables.DistLoad, m_tables.NewSoil);
        if (m_format == TDataFileFormat::Version20) return;
        record();
        const int marker = m_in.ReadInteger();
        if (m_stageFile) {
            // A stage file holds one problem: its last integer only says whether a long-term case
            // belongs to the problem.
            m_model.LongTerm = marker == kLongTermFollows;
            m_model.LongTermMarker = marker == kLongTermFollows ? kLongTermFollows : kEndOfProblems;
            return;
        }
        if (marker != kLongTermFollows) return;
        m_in.BeginRecord();  // the rest of the marker line
        // The model describes the short-term problem's pressure; the long-term one keeps its own
        // generated distribution only where it differs.
        const int shortTermCode = m_model.EarthPressureCode;
        const int shortTermChoice = m_model.EarthPressureChoice;
        const bool shortTermUser = m_model.UserEarthPressure;
        const bool shortTermGenerated = m_model.GeneratedEarthPressureRead;
        readProblem(m_tables.LongDist, m_tables.LongSoil);
        const int longTermCode = m_model.EarthPressureCode;
        m_model.EarthPressureCode = shortTermCode;
        m_model.EarthPressureChoice = shortTermChoice;
        m_model.UserEarthPressure = shortTermUser;
        m_model.GeneratedEarthPressureRead = shortTermGenerated;
        const bool generated =
            longTermCode == kEarthPressureTriangular || longTermCode == kEarthPressureTrapezoidal;
        m_model.LongTermEarthPressureChoice = generated && longTermCode != shortTermChoice ? longTermCode : 0;
        m_model.LongTerm = true;
        m_model.LongTermMarker = kLongTermFollows;
    }

private:
    [[nodiscard]] bool modern() const {
        return m_format == TDataFileFormat::Current || m_format == TDataFileFormat::Previous;
    }

    // A count of rows to come; negative counts read as none.
    int count() { return std::max(m_in.ReadInteger(), 0); }
    // A count record of its own.
    int countRecord() {
        record();
        return count();
    }

    // The current layout is the engine's input and is read as the engine reads it: every record
    // starts on a new line and whatever follows it on its line is ignored. Older layouts are read as
    // a stream of words.
    void record() {
        if (m_records) m_in.BeginRecord();
    }

    // Rows are added one at a time, so a huge count in a short file ends at the missing words.
    static int appendRow(TGridTable& table) {
        table.SetRowCount(table.RowCount() + 1);
        return table.RowCount() - 1;
    }
    void readInt(TGridTable& table, int column, int row) {
        table.Cell(column, row).SetInt(m_in.ReadInteger());
    }
    void readReal(TGridTable& table, int column, int row, long double factor = 1.0L) {
        table.Cell(column, row).SetFloat(m_in.ReadReal() * factor);
    }
    static bool english(const TGridTable& table) { return table.Units() == kUnitsEnglish; }

    void readProblem(TGridTable& distributed, TGridTable& soil) {
        TProgramData& m = m_model;
        TProblemTables& t = m_tables;
        m.Title = m_in.ReadLine();

        record();
        m.SetUnitSystem(m_in.ReadInteger());
        const int restraints = count();
        const int stiffness = count();
        const int modifications = count();
        m.EarthPressureCode = m_in.ReadInteger();
        m.PYCode = m_in.ReadInteger();
        const int externalSets = count();
        m.StageCount = std::clamp(m_in.ReadInteger(), 1, 5);
        m.CurrentStage = 1;
        m.MomentEISetCount = modern() ? count() : 0;
        m.TiebackCount = m_format == TDataFileFormat::Current ? count() : 0;

        m.EarthPressureChoice = m.EarthPressureCode;
        m.GeneratedEarthPressureRead = m.EarthPressureCode > 1;
        m.GeneratePY = m.PYCode == 2 && m.EarthPressureCode != 0 ? 1 : 0;
        m.UserEarthPressure = m.EarthPressureCode == kEarthPressureUser;
        m.ApplyExternalPY = m.PYCode == 1 || externalSets > 0;
        m.ApplyPYModification = modifications > 0;
        m.ApplyMomentEI = m.MomentEISetCount > 0;
        m.ApplyTiebacks = m.TiebackCount > 0;
        m.ApplyRestraints = restraints > 0;
        m.LongTerm = false;
        m.LongTermMarker = kEndOfProblems;

        record();
        m.IncrementCount = m_in.ReadInteger();
        m.IncrementLength = m_in.ReadReal();
        m.MaxDeflection = m_in.ReadReal();
        m.DeflectionTolerance = m_in.ReadReal();
        m.FreeHeight = m_in.ReadReal();
        // The wall and water record overrides it; without that record this is the only copy.
        if (m_format == TDataFileFormat::Current) m.ActiveWidth = m_in.ReadReal();

        t.Soillayer.SetRowCount(0);
        for (int i = 0; i < restraints; ++i) {
            record();
            const int r = appendRow(t.Soillayer);
            readInt(t.Soillayer, 0, r);
            readInt(t.Soillayer, 1, r);
            readReal(t.Soillayer, 2, r);
            readReal(t.Soillayer, 3, r);
        }
        t.PileSect.SetRowCount(0);
        for (int i = 0; i < stiffness; ++i) {
            record();
            const int r = appendRow(t.PileSect);
            for (int c = 0; c < 3; ++c)
                readInt(t.PileSect, c, r);
            readReal(t.PileSect, 3, r);
        }
        const int loads = countRecord();
        m.ApplyConcentratedLoads = loads > 0;
        t.BoundCond.SetRowCount(0);
        for (int i = 0; i < loads; ++i) {
            record();
            const int r = appendRow(t.BoundCond);
            for (int c = 0; c < 3; ++c)
                readInt(t.BoundCond, c, r);
            for (int c = 3; c < 6; ++c)
                readReal(t.BoundCond, c, r);
        }
        const int springs = countRecord();
        m.ApplySprings = springs > 0;
        t.SoilStrength.SetRowCount(0);
        for (int i = 0; i < springs; ++i) {
            record();
            const int r = appendRow(t.SoilStrength);
            readInt(t.SoilStrength, 1, r);
            readInt(t.SoilStrength, 2, r);
            readInt(t.SoilStrength, 0, r);
            readReal(t.SoilStrength, 3, r);
            readReal(t.SoilStrength, 4, r);
        }
        t.TiebackTable1.SetRowCount(0);
        for (int i = 0; i < m.TiebackCount; ++i) {
            record();
            const int r = appendRow(t.TiebackTable1);
            for (int c = 0; c < 6; ++c)
                readReal(t.TiebackTable1, c, r);
        }
        t.PYMod.SetRowCount(0);
        for (int i = 0; i < modifications; ++i) {
            record();
            const int r = appendRow(t.PYMod);
            readReal(t.PYMod, 0, r, english(t.PYMod) ? 1.0L / 12.0L : 1.0L);
            readReal(t.PYMod, 1, r);
            readReal(t.PYMod, 2, r);
        }
        if (m.EarthPressureCode == kEarthPressureUser) {
            const int rows = countRecord();
            const bool inEnglish = english(distributed);
            distributed.SetRowCount(0);
            for (int i = 0; i < rows; ++i) {
                record();
                const int r = appendRow(distributed);
                readReal(distributed, 0, r, inEnglish ? 1.0L / 12.0L : 1.0L);
                readReal(distributed, 1, r, inEnglish ? 12.0L : 1.0L);
            }
            m.UserEarthPressure = rows > 0;
            m.EarthPressureChoice = kEarthPressureUser;
        }
        if (m.EarthPressureCode > 1 || m.PYCode > 1) readSoilBlock(soil);
        readExternalCurves(externalSets);
        if (m.ApplyMomentEI) readMomentEI();
    }

    void readSoilBlock(TGridTable& soil) {
        TProgramData& m = m_model;
        TGridTable& surcharges = m_tables.SurchargeTable;
        record();
        m.FreeHeight = m_in.ReadReal();
        m.ActiveWidth = m_in.ReadReal();
        m.PYWidth = m_in.ReadReal();
        m.WaterDepthBackfill = m_in.ReadReal();
        m.WaterDepthExcavation = m_in.ReadReal();
        m.ActivePressureFactor = m_in.ReadReal();
        // The old default factor 0.036 stands for "unmodified".
        if (static_cast<double>(m.ActivePressureFactor) == 0.036) m.ActivePressureFactor = 1.0L;
        m.EarthPressureCount = m_in.ReadInteger();
        m.BackfillSlope = m_in.ReadReal();
        record();
        m.TopSurcharge = m_in.ReadReal();
        for (long double& value : m.LegacySurcharge)
            value = m_in.ReadReal();

        surcharges.SetRowCount(0);
        if (modern()) {
            const int rows = countRecord();
            for (int i = 0; i < rows; ++i) {
                record();
                const int r = appendRow(surcharges);
                readInt(surcharges, 0, r);
                for (int c = 1; c < 4; ++c)
                    readReal(surcharges, c, r);
            }
            m.ApplySurcharge = rows > 0;
        } else if (m.LegacySurcharge[kLegacyDistance] > 0.0L) {
            const int types[] = {kPointLoad, kLineLoad, kStripLoad};
            const int magnitudes[] = {kLegacyPointLoad, kLegacyLineLoad, kLegacyStripLoad};
            for (int k = 0; k < 3; ++k) {
                const int r = appendRow(surcharges);
                surcharges.Cell(0, r).SetInt(types[k]);
                surcharges.Cell(1, r).SetFloat(m.LegacySurcharge[static_cast<std::size_t>(magnitudes[k])]);
                surcharges.Cell(2, r).SetFloat(m.LegacySurcharge[kLegacyDistance]);
                surcharges.Cell(3, r).SetFloat(m.LegacySurcharge[kLegacyStripWidth]);
            }
        }

        const int layers = countRecord();
        const bool inEnglish = english(soil);
        const bool twoZero = m_format == TDataFileFormat::Version20;
        long double bottom = 0.0L;
        soil.SetRowCount(0);
        for (int i = 0; i < layers; ++i) {
            record();
            const int type = m_in.ReadInteger();
            if (type < 1 || type > soil_slots::kLayerTypes) throw EInOutError(kInvalid);
            const int r = appendRow(soil);
            soil.Cell(0, r).SetInt(type);
            if (twoZero) {
                bottom += m_in.ReadReal();  // thicknesses, in the file's units
                soil.Cell(1, r).SetFloat(bottom);
            } else {
                readReal(soil, 1, r, inEnglish ? 1.0L / 12.0L : 1.0L);
            }
            TGridTable* parameters = soil.Column(2).TableAt(r);
            if (parameters == nullptr) throw EInOutError(kInvalid);
            parameters->SetRowCount(2);
            if (twoZero) {
                readLayerRow(*parameters, type, 0, 5);
                for (int c = 0; c < parameters->ColumnCount(); ++c)
                    parameters->Cell(c, 1).SetFloat(parameters->Cell(c, 0).AsFloat());
            } else {
                readLayerRow(*parameters, type, 0, 6);
                readLayerRow(*parameters, type, 1, 6);
            }
        }
    }

    void readLayerRow(TGridTable& parameters, int type, int row, int slots) {
        const bool inEnglish = english(parameters);
        const soil_slots::TSlots& layout = soil_slots::ForType(type);
        record();
        for (int k = 0; k < slots; ++k) {
            const long double value = m_in.ReadReal();
            const soil_slots::TSlot& slot = layout[static_cast<std::size_t>(k)];
            if (slot.column < 0 || slot.column >= parameters.ColumnCount()) continue;
            const long double factor = inEnglish ? soil_slots::Divisor(slot.conversion) : 1.0L;
            parameters.Cell(slot.column, row).SetFloat(value * factor);
        }
    }

    void readExternalCurves(int sets) {
        TGridTable& table = m_tables.PYCurves2;
        table.SetRowCount(0);
        for (int i = 0; i < sets; ++i) {
            record();
            const int r = appendRow(table);
            readInt(table, 0, r);
            const int points = count();
            if (modern()) {
                readReal(table, 2, r);
                readReal(table, 3, r);
            } else {
                table.Cell(2, r).SetFloat(1.0L);
                table.Cell(3, r).SetFloat(1.0L);
            }
            readPoints(table.Column(1).TableAt(r), points);
        }
    }

    void readMomentEI() {
        TGridTable& table = m_tables.MEICurves2;
        table.SetRowCount(0);
        for (int i = 0; i < m_model.MomentEISetCount; ++i) {
            record();
            const int r = appendRow(table);
            readInt(table, 0, r);
            readInt(table, 1, r);
            const int points = count();
            readPoints(table.Column(2).TableAt(r), points);
        }
    }

    void readPoints(TGridTable* curve, int points) {
        if (curve == nullptr) throw EInOutError(kInvalid);
        curve->SetRowCount(0);
        for (int p = 0; p < points; ++p) {
            record();
            const int r = appendRow(*curve);
            readReal(*curve, 0, r);
            readReal(*curve, 1, r);
        }
    }

    TWordReader& m_in;
    TProgramData& m_model;
    TProblemTables& m_tables;
    TDataFileFormat m_format;
    bool m_keepTables;
    bool m_stageFile;
    bool m_records;
};

// Rows and cell values of `from` into `to`, which has the same definition; nested tables too.
void copyTable(const TGridTable& from, TGridTable& to) {
    to.SetRowCount(0);
    to.SetUnits(from.Units());
    to.SetRowCount(from.RowCount());
    const int columns = std::min(from.ColumnCount(), to.ColumnCount());
    for (int c = 0; c < columns; ++c) {
        const TColumn& source = from.Column(c);
        TColumn& target = to.Column(c);
        if (source.Kind() != target.Kind()) continue;
        for (int r = 0; r < from.RowCount(); ++r) {
            switch (source.Kind()) {
                case kEnumColumn:
                case kIntColumn:
                    target.SetInt(r, source.IntAt(r));
                    break;
                case kFloatColumn:
                    dynamic_cast<TFloatColumn&>(target).StoreRaw(r, source.FloatAt(r));
                    break;
                case kTableColumn: {
                    const TGridTable* nestedFrom = source.TableAt(r);
                    TGridTable* nestedTo = target.TableAt(r);
                    if (nestedFrom != nullptr && nestedTo != nullptr) copyTable(*nestedFrom, *nestedTo);
                    break;
                }
                default:
                    target.SetText(r, source.TextAt(r));
                    break;
            }
        }
    }
}

void moveInto(const TProgramData& from, TProgramData& to) {
    // The unit system first: it converts, and everything converted is overwritten below.
    to.SetUnitSystem(from.UnitSystem());
    to.FileName = from.FileName;
    to.Title = from.Title;
    to.IncrementCount = from.IncrementCount;
    to.IncrementLength = from.IncrementLength;
    to.MaxDeflection = from.MaxDeflection;
    to.DeflectionTolerance = from.DeflectionTolerance;
    to.FreeHeight = from.FreeHeight;
    to.ActiveWidth = from.ActiveWidth;
    to.PYWidth = from.PYWidth;
    to.WaterDepthBackfill = from.WaterDepthBackfill;
    to.WaterDepthExcavation = from.WaterDepthExcavation;
    to.ActivePressureFactor = from.ActivePressureFactor;
    to.BackfillSlope = from.BackfillSlope;
    to.TopSurcharge = from.TopSurcharge;
    to.EarthPressureCount = from.EarthPressureCount;
    to.LegacySurcharge = from.LegacySurcharge;
    to.EarthPressureChoice = from.EarthPressureChoice;
    to.LongTermEarthPressureChoice = from.LongTermEarthPressureChoice;
    to.UserEarthPressure = from.UserEarthPressure;
    to.GeneratedEarthPressureRead = from.GeneratedEarthPressureRead;
    to.GeneratePY = from.GeneratePY;
    to.ApplyExternalPY = from.ApplyExternalPY;
    to.ApplyMomentEI = from.ApplyMomentEI;
    to.ApplyPYModification = from.ApplyPYModification;
    to.ApplyConcentratedLoads = from.ApplyConcentratedLoads;
    to.ApplySprings = from.ApplySprings;
    to.ApplyTiebacks = from.ApplyTiebacks;
    to.ApplySurcharge = from.ApplySurcharge;
    to.ApplyRestraints = from.ApplyRestraints;
    to.LongTerm = from.LongTerm;
    to.LongTermMarker = from.LongTermMarker;
    to.StageCount = from.StageCount;
    to.CurrentStage = from.CurrentStage;
    to.EarthPressureCode = from.EarthPressureCode;
    to.PYCode = from.PYCode;
    to.MomentEISetCount = from.MomentEISetCount;
    to.TiebackCount = from.TiebackCount;
    to.EarthPressureValuesPerRecord = from.EarthPressureValuesPerRecord;
    to.StageFileHasMomentEICount = from.StageFileHasMomentEICount;
    to.StageFileHasTiebackCount = from.StageFileHasTiebackCount;
    to.Results = TResultsStore{};

    const auto source = from.Tables().All();
    const auto target = to.Tables().All();
    for (std::size_t i = 0; i < source.size(); ++i) {
        copyTable(*source[i], *target[i]);
        target[i]->ResetChanged();
    }
}

void readWords(TProgramData& model, TWordReader& words, TDataFileFormat format, const std::string& fileName) {
    // Registries before the tables: they must outlive them.
    TGridTableRegistry plain;
    TGridTableRegistry chart;
    TProblemTables tables(plain, chart);
    TProgramData fresh(tables);
    fresh.FileName = fileName;
    try {
        TReader(words, fresh, format).Read();
    } catch (const EGridTableError&) {
        throw EInOutError(kInvalid);
    }
    moveInto(fresh, model);
}

}  // namespace

void ReadStageText(TProgramData& model, std::string_view text) {
    const TDataFileFormat format = model.StageFileHasTiebackCount    ? TDataFileFormat::Current
                                   : model.StageFileHasMomentEICount ? TDataFileFormat::Previous
                                                                     : TDataFileFormat::Version30;
    TWordReader words(text);
    words.LimitToDouble();
    TGridTableRegistry plain;
    TGridTableRegistry chart;
    TProblemTables tables(plain, chart);
    TProgramData fresh(tables);
    // Start from the caller's problem so that tables without records keep their rows.
    fresh.SetUnitSystem(model.UnitSystem());
    const auto source = model.Tables().All();
    const auto target = tables.All();
    for (std::size_t i = 0; i < source.size(); ++i)
        copyTable(*source[i], *target[i]);
    try {
        TReader(words, fresh, format, true, true).Read();
    } catch (const EGridTableError&) {
        throw EInOutError(kInvalid);
    }
    for (TGridTable* table : target)
        if (table->RowCount() < table->MinRows()) table->SetRowCount(table->MinRows());
    fresh.FileName = model.FileName;
    fresh.CurrentStage = model.CurrentStage;
    fresh.StageFileHasMomentEICount = model.StageFileHasMomentEICount;
    fresh.StageFileHasTiebackCount = model.StageFileHasTiebackCount;
    TResultsStore results = std::move(model.Results);
    moveInto(fresh, model);
    model.Results = std::move(results);
}

void ReadDataText(TProgramData& model, std::string_view text, TDataFileFormat format,
                  const std::string& fileName) {
    TWordReader words(text);
    words.LimitToDouble();
    readWords(model, words, format, fileName);
}

void CreateFromFile(TProgramData& model, const std::filesystem::path& path, TDataFileFormat format) {
    TWordReader words = TWordReader::FromFile(path);
    words.LimitToDouble();
    readWords(model, words, format, path.string());
}

void CopyProblem(const TProgramData& from, TProgramData& to) {
    moveInto(from, to);
}

}  // namespace app::model
