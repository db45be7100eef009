#include "app/model/data_file.h"

#include "app/model/model_checks.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <system_error>
#include <vector>

#include "app/model/data_file_soil.h"
#include "app/model/number_format.h"
#include "app/model/run_files.h"
#include "app/model/units.h"
#include "app/model/word_reader.h"

namespace app::model {

namespace fs = std::filesystem;

namespace {

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

// One record: fields joined by a blank.
class TRecord {
public:
    TRecord& Int(int value) { return Text(std::to_string(value)); }
    TRecord& Real(long double value) { return Text(FormatReal(value)); }
    TRecord& Text(const std::string& text) {
        if (!m_line.empty()) m_line.push_back(' ');
        m_line.append(text);
        return *this;
    }
    [[nodiscard]] const std::string& Line() const { return m_line; }

private:
    std::string m_line;
};

class TWriter {
public:
    TWriter(TProgramData& model) : m_model(model), m_tables(model.Tables()) {}

    // Writes the short-term (or only) problem; `stage` 0 for a data file, else the stage number.
    std::string Write(int stage) {
        normalise();
        const bool staged = stage > 0;
        // Every stage and both cases of a long-term analysis keep the distribution chosen for them.
        m_model.EarthPressureCode = earthPressureCode(m_model.EarthPressureChoice);
        line(staged && stage > 1 ? std::string(" Stage No : ").append(std::to_string(stage)) : m_model.Title);
        writeProblem(m_tables.DistLoad, m_tables.NewSoil);
        if (staged) {
            line(std::to_string(stage));
            return m_text;
        }
        m_model.LongTermMarker = m_model.LongTerm ? kLongTermFollows : kEndOfProblems;
        line(std::to_string(m_model.LongTermMarker));
        if (m_model.LongTerm) {
            const int shortTermCode = m_model.EarthPressureCode;
            m_model.EarthPressureCode = earthPressureCode(longTermChoice());
            line(m_model.Title);
            writeProblem(m_tables.LongDist, m_tables.LongSoil);
            line(std::to_string(kEndOfProblems));
            // The model keeps the code of the problem it describes first.
            m_model.EarthPressureCode = shortTermCode;
        }
        return m_text;
    }

private:
    void line(const std::string& text) { m_text.append(text).push_back('\n'); }
    void record(const TRecord& r) { line(r.Line()); }

    static void emptyUnless(bool option, TGridTable& table) {
        if (!option) table.SetRowCount(0);
    }

    void normalise() {
        TProgramData& m = m_model;
        emptyUnless(m.ApplyConcentratedLoads, m_tables.BoundCond);
        emptyUnless(m.ApplyRestraints, m_tables.Soillayer);
        emptyUnless(m.ApplyExternalPY, m_tables.PYCurves2);
        emptyUnless(m.ApplyPYModification, m_tables.PYMod);
        emptyUnless(m.ApplySurcharge, m_tables.SurchargeTable);
        if (m.UserEarthPressure) m.GeneratedEarthPressureRead = false;
        m.PYCode = m.GeneratePY > 0 ? 2 : (m.ApplyExternalPY ? 1 : 0);
        m.MomentEISetCount = m.ApplyMomentEI ? m_tables.MEICurves2.RowCount() : 0;
        m.TiebackCount = m.ApplyTiebacks ? m_tables.TiebackTable1.RowCount() : 0;
        TGridTable& stiffness = m_tables.PileSect;
        if (stiffness.RowCount() > 0) {
            TData& last = stiffness.Cell(2, stiffness.RowCount() - 1);
            if (last.AsInt() != 1) last.SetInt(1);  // unchanged cells keep the changed state as it is
        }
    }

    // The long-term problem's generated distribution: its own when a file gave it one, else the
    // short-term choice when that is a generated one, else triangular.
    int longTermChoice() const {
        const TProgramData& m = m_model;
        if (m.LongTermEarthPressureChoice == kEarthPressureTriangular ||
            m.LongTermEarthPressureChoice == kEarthPressureTrapezoidal)
            return m.LongTermEarthPressureChoice;
        return m.EarthPressureChoice == kEarthPressureTrapezoidal ? kEarthPressureTrapezoidal
                                                                  : kEarthPressureTriangular;
    }

    int earthPressureCode(int choice) const {
        const TProgramData& m = m_model;
        if (m.UserEarthPressure) return kEarthPressureUser;
        // A file read with generated pressure keeps it even when p-y generation is off.
        if (m.GeneratePY <= 0 && !m.GeneratedEarthPressureRead) return 0;
        return choice;
    }

    static long double real(const TGridTable& table, int column, int row) {
        return table.Cell(column, row).AsFloat();
    }
    static int integer(const TGridTable& table, int column, int row) {
        return table.Cell(column, row).AsInt();
    }
    static bool english(const TGridTable& table) { return table.Units() == kUnitsEnglish; }

    void writeProblem(const TGridTable& distributed, const TGridTable& soil) {
        const TProgramData& m = m_model;
        const TProblemTables& t = m_tables;
        record(TRecord()
                   .Int(m.UnitSystem())
                   .Int(t.Soillayer.RowCount())
                   .Int(t.PileSect.RowCount())
                   .Int(t.PYMod.RowCount())
                   .Int(m.EarthPressureCode)
                   .Int(m.PYCode)
                   .Int(t.PYCurves2.RowCount())
                   .Int(m.StageCount)
                   .Int(m.MomentEISetCount)
                   .Int(m.TiebackCount));
        record(TRecord()
                   .Int(m.IncrementCount)
                   .Real(m.IncrementLength)
                   .Real(m.MaxDeflection)
                   .Real(m.DeflectionTolerance)
                   .Real(m.FreeHeight)
                   .Real(m.ActiveWidth));
        for (int r = 0; r < t.Soillayer.RowCount(); ++r)
            record(TRecord()
                       .Int(integer(t.Soillayer, 0, r))
                       .Int(integer(t.Soillayer, 1, r))
                       .Real(real(t.Soillayer, 2, r))
                       .Real(real(t.Soillayer, 3, r)));
        for (int r = 0; r < t.PileSect.RowCount(); ++r)
            record(TRecord()
                       .Int(integer(t.PileSect, 0, r))
                       .Int(integer(t.PileSect, 1, r))
                       .Int(integer(t.PileSect, 2, r))
                       .Real(real(t.PileSect, 3, r)));
        line(std::to_string(t.BoundCond.RowCount()));
        for (int r = 0; r < t.BoundCond.RowCount(); ++r) {
            TRecord rec;
            for (int c = 0; c < 3; ++c)
                rec.Int(integer(t.BoundCond, c, r));
            for (int c = 3; c < 6; ++c)
                rec.Real(real(t.BoundCond, c, r));
            record(rec);
        }
        // Springs of a switched-off option must not act in the engine, but their rows stay in the
        // table, so switching the option on again brings them back.
        const int springs = m.ApplySprings ? t.SoilStrength.RowCount() : 0;
        line(std::to_string(springs));
        for (int r = 0; r < springs; ++r)
            record(TRecord()
                       .Int(integer(t.SoilStrength, 1, r))
                       .Int(integer(t.SoilStrength, 2, r))
                       .Int(integer(t.SoilStrength, 0, r))
                       .Real(real(t.SoilStrength, 3, r))
                       .Real(real(t.SoilStrength, 4, r)));
        for (int r = 0; r < m.TiebackCount; ++r) {
            TRecord rec;
            for (int c = 0; c < 6; ++c)
                rec.Real(real(t.TiebackTable1, c, r));
            record(rec);
        }
        const long double pyFeet = english(t.PYMod) ? 12.0L : 1.0L;
        for (int r = 0; r < t.PYMod.RowCount(); ++r)
            record(TRecord()
                       .Real(real(t.PYMod, 0, r) * pyFeet)
                       .Real(real(t.PYMod, 1, r))
                       .Real(real(t.PYMod, 2, r)));
        if (m.EarthPressureCode == kEarthPressureUser) {
            const long double feet = english(distributed) ? 12.0L : 1.0L;
            line(std::to_string(distributed.RowCount()));
            for (int r = 0; r < distributed.RowCount(); ++r)
                record(TRecord().Real(real(distributed, 0, r) * feet).Real(real(distributed, 1, r) / feet));
        }
        // Any generated pressure code (2 or 3) needs the soil block, as the engine reads it.
        if (m.EarthPressureCode >= 2 || m.PYCode == 2) writeSoilBlock(soil);
        writeExternalCurves();
        writeMomentEI();
    }

    void writeSoilBlock(const TGridTable& soil) {
        const TProgramData& m = m_model;
        const TGridTable& surcharges = m_tables.SurchargeTable;
        record(TRecord()
                   .Real(m.FreeHeight)
                   .Real(m.ActiveWidth)
                   .Real(m.PYWidth)
                   .Real(m.WaterDepthBackfill)
                   .Real(m.WaterDepthExcavation)
                   .Real(m.ActivePressureFactor)
                   .Int(m.EarthPressureCount)
                   .Real(m.BackfillSlope));
        TRecord surface;
        surface.Real(m.TopSurcharge);
        for (const long double value : m.LegacySurcharge)
            surface.Real(value);
        record(surface);
        line(std::to_string(surcharges.RowCount()));
        for (int r = 0; r < surcharges.RowCount(); ++r)
            record(TRecord()
                       .Int(integer(surcharges, 0, r))
                       .Real(real(surcharges, 1, r))
                       .Real(real(surcharges, 2, r))
                       .Real(real(surcharges, 3, r)));
        line(std::to_string(soil.RowCount()));
        const long double feet = english(soil) ? 12.0L : 1.0L;
        for (int r = 0; r < soil.RowCount(); ++r) {
            const int type = integer(soil, 0, r);
            record(TRecord().Int(type).Real(real(soil, 1, r) * feet));
            const TGridTable* parameters = soil.Column(2).TableAt(r);
            for (int row = 0; row < 2; ++row)
                record(layerRecord(type, parameters, row));
        }
    }

    static TRecord layerRecord(int type, const TGridTable* parameters, int row) {
        TRecord rec;
        const bool known = type >= 1 && type <= soil_slots::kLayerTypes && parameters != nullptr &&
                           row < parameters->RowCount();
        if (!known) {
            for (int k = 0; k < 6; ++k)
                rec.Text("0.0");
            return rec;
        }
        const bool inEnglish = english(*parameters);
        for (const soil_slots::TSlot& slot : soil_slots::ForType(type)) {
            if (slot.column < 0 || slot.column >= parameters->ColumnCount()) {
                rec.Text("0.0");
                continue;
            }
            const long double divisor = inEnglish ? soil_slots::Divisor(slot.conversion) : 1.0L;
            rec.Real(real(*parameters, slot.column, row) / divisor);
        }
        return rec;
    }

    void writeExternalCurves() {
        const TGridTable& sets = m_tables.PYCurves2;
        if (!m_model.ApplyExternalPY) return;
        for (int r = 0; r < sets.RowCount(); ++r) {
            const TGridTable* curve = sets.Column(1).TableAt(r);
            const int points = curve ? curve->RowCount() : 0;
            record(
                TRecord().Int(integer(sets, 0, r)).Int(points).Real(real(sets, 2, r)).Real(real(sets, 3, r)));
            for (int p = 0; p < points; ++p)
                record(TRecord().Real(real(*curve, 0, p)).Real(real(*curve, 1, p)));
        }
    }

    void writeMomentEI() {
        const TGridTable& sets = m_tables.MEICurves2;
        for (int r = 0; r < m_model.MomentEISetCount; ++r) {
            const TGridTable* curve = sets.Column(2).TableAt(r);
            const int points = curve ? curve->RowCount() : 0;
            record(TRecord().Int(integer(sets, 0, r)).Int(integer(sets, 1, r)).Int(points));
            for (int p = 0; p < points; ++p)
                record(TRecord().Real(real(*curve, 0, p)).Real(real(*curve, 1, p)));
        }
    }

    TProgramData& m_model;
    TProblemTables& m_tables;
    std::string m_text;
};

std::string temporaryName(const fs::path& path) {
    std::random_device random;
    std::ostringstream name;
    // A name of up to 255 bytes must still be saved: the temporary name keeps only its start.
    name << '.' << path.filename().string().substr(0, 64) << '.' << std::hex << random() << random()
         << ".tmp";
    return name.str();
}

[[noreturn]] void writeFailed(const fs::path& path, int error = errno) {
    // A full disk is the everyday case; say it in the user's words. The file on disk is unchanged.
    std::string message = std::string("Cannot write file ").append(path.string());
    if (error == ENOSPC)
        message.append(": the disk is full");
    else if (error != 0)
        message.append(": ").append(std::strerror(error));
    throw EInOutError(message.append(". The file on disk is kept as it was."));
}

// The whole of `from` over `to` in place; false (and `to` possibly cut) when it could not be done,
// and the caller then renames `from` over it, so the text is never lost.
bool copyInPlace(const fs::path& from, const fs::path& to) {
    std::ifstream in(from, std::ios::binary);
    std::ofstream out(to, std::ios::binary | std::ios::trunc);
    if (!in || !out) return false;
    out << in.rdbuf();
    out.flush();
    out.close();
    return !out.fail();
}

}  // namespace

TDataFileFormat FormatFromFilterIndex(int index) {
    switch (index) {
        case 1:
            return TDataFileFormat::Current;
        case 2:
            return TDataFileFormat::Previous;
        case 3:
            return TDataFileFormat::Version30;
        default:
            return TDataFileFormat::Version20;
    }
}

TDataFileFormat FormatFromExtension(const fs::path& path) {
    const std::string extension = lower(path.extension().string());
    if (extension == ".dn4d") return TDataFileFormat::Previous;
    if (extension == ".dnd") return TDataFileFormat::Version30;
    return TDataFileFormat::Current;
}

std::string DisplayName(const std::string& path) {
    const fs::path p(path);
    std::string name = p.filename().string();
    if (upper(p.extension().string()) == upper(std::string(".").append(kDefaultExtension)))
        name = p.stem().string();
    if (name.size() > 1) name[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
    return name;
}

std::string WindowTitle(const std::string& path) {
    return std::string("DRENOK ").append(kProgramVersion).append(" - ").append(DisplayName(path));
}

std::string ReadMessage(const std::string& path) {
    return std::string("Data file: ").append(DisplayName(path)).append(", has been read by DRENOK 2015");
}

std::string SaveAsDialogTitle(const std::string& path) {
    return std::string("Save ").append(DisplayName(path)).append(" As");
}

std::string SaveAsInitialName(const std::string& path) {
    return fs::path(path).replace_extension(".dn5d").string();
}

bool NeedsSaveAs(const std::string& fileName) {
    return fileName == kNewFileName || lower(fs::path(fileName).extension().string()) != ".dn5d";
}

std::string CommandLineDataFile(const std::string& argument) {
    if (argument.find('.') != std::string::npos) return argument;
    return std::string(argument).append(".dn4d");
}

std::string FormatReal(long double value) {
    // The last guard: a file holding INF or NAN could not be opened again.
    if (!IsFileNumber(value))
        throw EInOutError("The problem holds a number that is not finite (" + FormatGeneral(value, 8) +
                          "); the file was not saved.");
    return FormatGeneral(static_cast<long double>(static_cast<double>(value)), 8);
}

std::string FormatDataFile(TProgramData& model) {
    return TWriter(model).Write(0);
}

std::string FormatStageFile(TProgramData& model, int stage) {
    return TWriter(model).Write(std::max(stage, 1));
}

void WriteFileAtomically(const fs::path& link, const std::function<void(std::ostream&)>& produce) {
    std::error_code ignored;
    // Through a symbolic link to the file it names, so the link stays and its target gets the save;
    // the replacement keeps the mode of the file it replaces (a 0600 file stays private).
    fs::path path = link;
    if (fs::is_symlink(link, ignored)) {
        std::error_code error;
        const fs::path target = fs::canonical(link, error);
        if (!error) path = target;
    }
    const fs::path folder = path.parent_path();
    const fs::path temporary = folder / temporaryName(path);
    std::error_code statError;
    const fs::file_status previous = fs::status(path, statError);
    try {
        {
            errno = 0;
            std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
            if (!out) writeFailed(path);
            produce(out);
            out.flush();
            if (!out) writeFailed(path);
            out.close();
            if (out.fail()) writeFailed(path);
        }
        std::error_code error;
        if (!statError && fs::is_regular_file(previous) && fs::hard_link_count(path, error) > 1 && !error &&
            copyInPlace(temporary, path)) {
            // A file with other names keeps them: it is rewritten in place, from the whole copy
            // made first, so the disk had room for it.
            fs::remove(temporary, ignored);
            return;
        }
        if (!statError && fs::is_regular_file(previous))
            fs::permissions(temporary, previous.permissions(), fs::perm_options::replace, ignored);
        fs::rename(temporary, path, error);
        if (error) writeFailed(path, error.value());
    } catch (...) {
        fs::remove(temporary, ignored);
        throw;
    }
}

void SaveDataFile(TProgramData& model, const fs::path& path) {
    // Where a non-finite value sits, so the user can mend it; the file on disk stays as it was.
    if (const auto found = NonFiniteValues(model); !found.empty())
        throw EInOutError("The problem cannot be saved: " + found.front().where + ": " +
                          found.front().message);
    const std::string text = FormatDataFile(model);
    WriteFileAtomically(path, [&text](std::ostream& out) { out << text; });
    for (TGridTable* table : model.Tables().All())
        table->ResetChanged();
    model.StageFileHasMomentEICount = true;
    model.StageFileHasTiebackCount = true;
}

bool IsProblemChanged(bool windowChanged, const TProblemTables& tables) {
    if (windowChanged) return true;
    const auto all = tables.All();
    return std::any_of(all.begin(), all.end(),
                       [](const TGridTable* table) { return !table->IsChart() && table->IsChanged(); });
}

bool SavePrompt(const TProgramData& model, bool windowChanged,
                const std::function<TPromptAnswer(const std::string& question)>& ask,
                const std::function<bool()>& save) {
    if (!IsProblemChanged(windowChanged, model.Tables())) return true;
    switch (ask(kSaveQuestion)) {
        case TPromptAnswer::Cancel:
            return false;
        case TPromptAnswer::No:
            return true;
        case TPromptAnswer::Yes:
            break;
    }
    // A save that kept the file on disk keeps the problem open: its edits are not saved.
    if (!save()) return false;
    return model.FileName != kNewFileName;
}

}  // namespace app::model
