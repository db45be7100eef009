#include "app/model/grid_table.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "app/model/expression.h"
#include "app/model/graph_plot.h"
#include "app/model/number_format.h"
#include "app/model/units.h"

namespace app::model {

namespace {

// Deep enough for every table of the program; stops templates that (indirectly) nest themselves.
constexpr int kMaxNesting = 8;

const char* const kFloatColumnMark = "FLOATCOLUMN2";
const char* const kTableColumnMark = "FLEXCOLUMN2";

int inches(double pixelsPerInch, long double count) {
    return static_cast<int>(std::lround(static_cast<double>(count) * pixelsPerInch));
}

// Builds the range message; the only format used is "%d ... %d".
std::string formatted(const char* format, int a, int b) {
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, format, a, b);
    return buffer;
}

std::string columnError(int column, const char* inner) {
    return std::string("Error occured when creating column ")
        .append(std::to_string(column))
        .append(": ")
        .append(inner);
}

}  // namespace

// ---------------------------------------------------------------------------------------------------
// Registry and template list

TGridTableRegistry& TGridTableRegistry::ProcessDefault() {
    static TGridTableRegistry registry;
    return registry;
}

TGridTableRegistry& TGridTableRegistry::ChartDefault() {
    static TGridTableRegistry registry;
    return registry;
}

TGridTable* TGridTableRegistry::At(int position) const {
    if (position < 0 || position >= Count()) return nullptr;
    return m_tables[static_cast<size_t>(position)];
}

int TGridTableRegistry::PositionOf(const TGridTable& table) const {
    const auto it = std::find(m_tables.begin(), m_tables.end(), &table);
    return it == m_tables.end() ? -1 : static_cast<int>(it - m_tables.begin());
}

TGridTable* TGridTableRegistry::Find(int identifier) const {
    for (TGridTable* table : m_tables)
        if (table->Identifier() == identifier) return table;
    return nullptr;
}

int TGridTableRegistry::nextIdentifier() {
    // Values already given away by SetIdentifier are skipped, so identifiers stay unique.
    while (Find(m_counter) != nullptr)
        ++m_counter;
    return m_counter++;
}

void TGridTableRegistry::remove(TGridTable* table) {
    const auto it = std::find(m_tables.begin(), m_tables.end(), table);
    if (it != m_tables.end()) m_tables.erase(it);
}

void TGridTableList::Resize(int count) {
    m_entries.resize(static_cast<size_t>(std::max(count, 0)));
}

TGridTable* TGridTableList::Resolve(int i, const TGridTableRegistry& registry) const {
    if (i < 0 || i >= Count()) return nullptr;
    const TIntWrapper& entry = m_entries[static_cast<size_t>(i)];
    if (entry.value < 0) return nullptr;
    return entry.kind == TIntWrapper::Kind::Position ? registry.At(entry.value) : registry.Find(entry.value);
}

int TGridTableList::IdentifierOf(int i, const TGridTableRegistry& registry) const {
    if (const TGridTable* table = Resolve(i, registry)) return table->Identifier();
    // An identifier whose table does not exist yet is kept for when it does.
    const TIntWrapper& entry = Entry(i);
    return entry.kind == TIntWrapper::Kind::Identifier && entry.value >= 0 ? entry.value : -1;
}

// ---------------------------------------------------------------------------------------------------
// Cells

int TData::Row() const {
    return m_column->RowOf(*this);
}
long double TData::AsFloat() const {
    return m_column->FloatAt(Row());
}
void TData::SetFloat(long double value) {
    m_column->SetFloat(Row(), value);
}
int TData::AsInt() const {
    return m_column->IntAt(Row());
}
void TData::SetInt(int value) {
    m_column->SetInt(Row(), value);
}
std::string TData::AsText() const {
    return m_column->TextAt(Row());
}
void TData::SetText(std::string_view text) {
    m_column->SetText(Row(), text);
}
TGridTable* TData::AsTable() const {
    return m_column->TableAt(Row());
}

// ---------------------------------------------------------------------------------------------------
// Column base

TColumn::~TColumn() = default;

void TColumn::wrongType() {
    throw EGridTableError("Data of wrong type");
}

void TColumn::checkRow(int row) const {
    if (row < 0 || row >= RowCount()) throw EGridTableError("Row index out of range");
}

TData& TColumn::Cell(int row) const {
    checkRow(row);
    return *m_cells[static_cast<size_t>(row)];
}

int TColumn::RowOf(const TData& cell) const {
    for (size_t i = 0; i < m_cells.size(); ++i)
        if (m_cells[i].get() == &cell) return static_cast<int>(i);
    return -1;
}

std::string TColumn::CaptionLine(int i) const {
    if (i < 0 || i >= CaptionLineCount()) return {};
    return m_captions[static_cast<size_t>(i)];
}

int TColumn::RowGroupSize() const {
    return m_owner->RowGroup();
}

void TColumn::groupRange(int row, int& first, int& last) const {
    checkRow(row);
    first = last = row;
    if (!m_rowGroupShared) return;
    const int size = RowGroupSize();
    first = row / size * size;
    last = std::min(first + size, RowCount()) - 1;
}

int TColumn::captionWidth(const TTextWidth& textWidth) const {
    int width = 0;
    if (!textWidth) return width;
    for (int i = 0; i < CaptionLineCount(); ++i)
        width = std::max(width, textWidth(CaptionLine(i)));
    return width;
}

void TColumn::InsertRows(int at, int count) {
    if (count <= 0) return;
    at = std::clamp(at, 0, RowCount());
    std::vector<std::unique_ptr<TData>> cells;
    for (int i = 0; i < count; ++i)
        cells.push_back(std::make_unique<TData>(*this));
    m_cells.insert(m_cells.begin() + at, std::make_move_iterator(cells.begin()),
                   std::make_move_iterator(cells.end()));
    insertStorage(at, count);
}

void TColumn::DeleteRow(int index) {
    checkRow(index);
    m_cells.erase(m_cells.begin() + index);
    deleteStorage(index);
}

TGridTable* TColumn::TableAt(int) const {
    wrongType();
}
long double TColumn::FloatAt(int) const {
    wrongType();
}
void TColumn::SetFloat(int, long double) {
    wrongType();
}
int TColumn::IntAt(int) const {
    wrongType();
}
void TColumn::SetInt(int, int) {
    wrongType();
}
std::string TColumn::TextAt(int) const {
    wrongType();
}
void TColumn::SetText(int, std::string_view) {
    wrongType();
}

int TColumn::MinWidth(double, const TTextWidth& textWidth) const {
    return captionWidth(textWidth);
}

void TColumn::SetUnits(int, int) {}

void TColumn::WriteDefinition(TTypedWriter& writer) const {
    writer.WriteInteger(Kind());
    writer.WriteListBegin();
    for (const std::string& line : m_captions)
        writer.WriteString(line);
    writer.WriteListEnd();
    writer.WriteBoolean(m_visible);
    writer.WriteBoolean(m_rowGroupShared);
    writeKindDefinition(writer);
}

void TColumn::ReadDefinition(TTypedReader& reader, const TColumn* firstColumn) {
    m_captions = reader.ReadStringList();
    m_visible = reader.ReadBoolean();
    m_rowGroupShared = reader.ReadBoolean();
    readKindDefinition(reader, firstColumn);
}

std::unique_ptr<TColumn> TColumn::Clone(TGridTable& owner) const {
    std::unique_ptr<TColumn> copy = owner.CreateColumn(Kind());
    if (!copy) throw EGridTableError("Error Column Class not defined");
    copy->m_captions = m_captions;
    copy->m_visible = m_visible;
    copy->m_rowGroupShared = m_rowGroupShared;
    copy->copyKindDefinition(*this);
    return copy;
}

// ---------------------------------------------------------------------------------------------------
// Enumeration column

void TEnumColumn::SetChoices(std::vector<std::string> choices) {
    m_choices = std::move(choices);
    if (Owner().ColumnIndex(*this) == 0) Owner().SyncTemplates();
}

int TEnumColumn::IntAt(int row) const {
    checkRow(row);
    return m_values[static_cast<size_t>(row)].value;
}

void TEnumColumn::SetInt(int row, int value) {
    int first = 0, last = 0;
    groupRange(row, first, last);
    for (int r = first; r <= last; ++r) {
        TIntStorage& cell = m_values[static_cast<size_t>(r)];
        const bool choiceChanged = cell.value != value;
        cell = {value, true};
        Owner().ValueChanged(*this, r, choiceChanged);
    }
}

std::string TEnumColumn::TextAt(int row) const {
    return std::to_string(IntAt(row));
}

void TEnumColumn::SetText(int row, std::string_view text) {
    checkRow(row);
    const long double value = EvaluateEntry(text);
    if (value != std::trunc(value) || value < std::numeric_limits<int>::min() ||
        value > std::numeric_limits<int>::max())
        throw EAssignError("Value must be an integer.");
    // A number that names no choice (a soil type 9, say) would be written to a data file that no
    // reader takes back.
    const int choices = static_cast<int>(m_choices.size());
    if (choices > 0 && (value < 1 || value > choices)) {
        char message[64];
        std::snprintf(message, sizeof message, "Entry must be between %d and %d.", 1, choices);
        throw EAssignError(message);
    }
    SetInt(row, static_cast<int>(value));
}

bool TEnumColumn::IsChanged() const {
    return std::any_of(m_values.begin(), m_values.end(), [](const TIntStorage& s) { return s.changed; });
}

void TEnumColumn::ResetChanged() {
    for (TIntStorage& s : m_values)
        s.changed = false;
}

int TEnumColumn::MinWidth(double pixelsPerInch, const TTextWidth& textWidth) const {
    return std::max(captionWidth(textWidth), inches(pixelsPerInch, 1.5L));
}

void TEnumColumn::insertStorage(int at, int count) {
    m_values.insert(m_values.begin() + at, static_cast<size_t>(count), TIntStorage{1, false});
}

void TEnumColumn::deleteStorage(int index) {
    m_values.erase(m_values.begin() + index);
}

void TEnumColumn::writeKindDefinition(TTypedWriter& writer) const {
    writer.WriteListBegin();
    for (const std::string& choice : m_choices)
        writer.WriteString(choice);
    writer.WriteListEnd();
}

void TEnumColumn::readKindDefinition(TTypedReader& reader, const TColumn*) {
    m_choices = reader.ReadStringList();
}

void TEnumColumn::copyKindDefinition(const TColumn& source) {
    m_choices = dynamic_cast<const TEnumColumn&>(source).m_choices;
}

// ---------------------------------------------------------------------------------------------------
// Integer column

int TIntColumn::IntAt(int row) const {
    checkRow(row);
    return m_values[static_cast<size_t>(row)].value;
}

void TIntColumn::SetInt(int row, int value) {
    int first = 0, last = 0;
    groupRange(row, first, last);
    for (int r = first; r <= last; ++r) {
        m_values[static_cast<size_t>(r)] = {value, true};
        Owner().ValueChanged(*this, r, false);
    }
}

std::string TIntColumn::TextAt(int row) const {
    return std::to_string(IntAt(row));
}

void TIntColumn::SetText(int row, std::string_view text) {
    checkRow(row);
    const long double value = EvaluateEntry(text);
    const long double whole = std::round(value);
    const std::string rangeMessage = formatted("Entry must be between %d and %d.", m_minimum, m_maximum);
    if (Owner().IsEditorOpen()) {
        if (std::fabs(value - std::trunc(value)) > 1e-10L) throw EAssignError("Entry must be an integer.");
        if (whole < m_minimum || whole > m_maximum) throw EAssignError(rangeMessage);
    }
    // Without an editor the limits are not checked, but a value no integer can hold is still refused.
    if (whole < std::numeric_limits<int>::min() || whole > std::numeric_limits<int>::max())
        throw EAssignError(rangeMessage);
    SetInt(row, static_cast<int>(whole));
}

bool TIntColumn::IsChanged() const {
    return std::any_of(m_values.begin(), m_values.end(), [](const TIntStorage& s) { return s.changed; });
}

void TIntColumn::ResetChanged() {
    for (TIntStorage& s : m_values)
        s.changed = false;
}

int TIntColumn::MinWidth(double pixelsPerInch, const TTextWidth& textWidth) const {
    return std::max(captionWidth(textWidth), inches(pixelsPerInch, 0.5L));
}

void TIntColumn::insertStorage(int at, int count) {
    m_values.insert(m_values.begin() + at, static_cast<size_t>(count), TIntStorage{m_default, false});
}

void TIntColumn::deleteStorage(int index) {
    m_values.erase(m_values.begin() + index);
}

void TIntColumn::writeKindDefinition(TTypedWriter& writer) const {
    writer.WriteInteger(m_default);
    writer.WriteInteger(m_minimum);
    writer.WriteInteger(m_maximum);
}

void TIntColumn::readKindDefinition(TTypedReader& reader, const TColumn*) {
    const int defaultValue = reader.ReadInteger();
    const int minimum = reader.ReadInteger();
    const int maximum = reader.ReadInteger();
    m_default = defaultValue;
    m_minimum = minimum;
    m_maximum = maximum;
}

void TIntColumn::copyKindDefinition(const TColumn& source) {
    const auto& other = dynamic_cast<const TIntColumn&>(source);
    m_default = other.m_default;
    m_minimum = other.m_minimum;
    m_maximum = other.m_maximum;
}

// ---------------------------------------------------------------------------------------------------
// Real column

std::string TFloatColumn::CaptionLine(int i) const {
    std::string line = TColumn::CaptionLine(i);
    if (i != CaptionLineCount() - 1 || m_unitLabel.empty()) return line;
    return line.append(" (").append(UnitText(m_unitLabel, Owner().Units())).append(")  ");
}

long double TFloatColumn::FloatAt(int row) const {
    checkRow(row);
    return m_values[static_cast<size_t>(row)].value;
}

void TFloatColumn::StoreRaw(int row, long double value) {
    checkRow(row);
    m_values[static_cast<size_t>(row)] = {value, true};
}

void TFloatColumn::SetFloat(int row, long double value) {
    int first = 0, last = 0;
    groupRange(row, first, last);
    const TGridTable& table = Owner();
    const int index = table.ColumnIndex(*this);
    // Partners of a top/bottom depth pair, which keeps the layers contiguous.
    TFloatColumn* bottoms = nullptr;
    TFloatColumn* tops = nullptr;
    if (m_topDepth && index >= 0 && index + 1 < table.ColumnCount())
        bottoms = dynamic_cast<TFloatColumn*>(&table.Column(index + 1));
    if (index > 0) {
        tops = dynamic_cast<TFloatColumn*>(&table.Column(index - 1));
        if (tops && !tops->TopDepth()) tops = nullptr;
    }
    for (int r = first; r <= last; ++r) {
        StoreRaw(r, value);
        if (bottoms && r > 0) bottoms->StoreRaw(r - 1, value);
        if (tops && r + 1 < RowCount()) tops->StoreRaw(r + 1, value);
        Owner().ValueChanged(*this, r, false);
    }
}

std::string TFloatColumn::TextAt(int row) const {
    return FormatGeneral(FloatAt(row), 8);
}

void TFloatColumn::SetText(int row, std::string_view text) {
    checkRow(row);
    SetFloat(row, EvaluateEntry(text));
}

bool TFloatColumn::IsChanged() const {
    return std::any_of(m_values.begin(), m_values.end(), [](const TFloatStorage& s) { return s.changed; });
}

void TFloatColumn::ResetChanged() {
    for (TFloatStorage& s : m_values)
        s.changed = false;
}

int TFloatColumn::MinWidth(double pixelsPerInch, const TTextWidth& textWidth) const {
    return std::max(captionWidth(textWidth), inches(pixelsPerInch, 0.5L));
}

void TFloatColumn::SetUnits(int from, int to) {
    const bool converts =
        (from == kUnitsEnglish && to == kUnitsSI) || (from == kUnitsSI && to == kUnitsEnglish);
    if (!converts) return;
    for (TFloatStorage& s : m_values)
        s = {ConvertUnits(s.value, m_unitLabel, from, to), true};
}

void TFloatColumn::insertStorage(int at, int count) {
    m_values.insert(m_values.begin() + at, static_cast<size_t>(count), TFloatStorage{m_default, false});
}

void TFloatColumn::deleteStorage(int index) {
    m_values.erase(m_values.begin() + index);
}

void TFloatColumn::writeKindDefinition(TTypedWriter& writer) const {
    writer.WriteBoolean(m_topDepth);
    writer.WriteString(kFloatColumnMark);
    writer.WriteString(m_unitLabel);
    writer.WriteFloat(m_default);
}

void TFloatColumn::readKindDefinition(TTypedReader& reader, const TColumn*) {
    const bool topDepth = reader.ReadBoolean();
    std::string text = reader.ReadString();
    long double defaultValue = 0.0L;
    // Older definitions hold the unit label here and no default.
    if (text == kFloatColumnMark) {
        text = reader.ReadString();
        defaultValue = reader.ReadFloat();
    }
    m_topDepth = topDepth;
    m_unitLabel = std::move(text);
    m_default = defaultValue;
}

void TFloatColumn::copyKindDefinition(const TColumn& source) {
    const auto& other = dynamic_cast<const TFloatColumn&>(source);
    m_topDepth = other.m_topDepth;
    m_unitLabel = other.m_unitLabel;
    m_default = other.m_default;
}

// ---------------------------------------------------------------------------------------------------
// Nested-table column

TTableColumn::~TTableColumn() = default;

void TTableColumn::SyncTemplates() {
    const TGridTable& table = Owner();
    if (table.ColumnCount() == 0 || &table.Column(0) == this) return;
    if (const auto* choices = dynamic_cast<const TEnumColumn*>(&table.Column(0)))
        m_templates.Resize(static_cast<int>(choices->Choices().size()));
}

std::unique_ptr<TGridTable> TTableColumn::makeTable(int row) const {
    TGridTable& table = Owner();
    int entry = 0;
    if (table.ColumnCount() > 0 && &table.Column(0) != this && table.Column(0).Kind() == kEnumColumn)
        entry = table.Column(0).IntAt(row) - 1;
    const TGridTable* source = m_templates.Resolve(entry, table.Registry());
    if (source == nullptr || source->IsChart() != table.IsChart() || table.m_depth >= kMaxNesting)
        return nullptr;
    return source->CloneInto(table, row + 1);
}

void TTableColumn::renumber(int from) {
    for (size_t r = static_cast<size_t>(std::max(from, 0)); r < m_tables.size(); ++r)
        if (m_tables[r]) m_tables[r]->m_parentRow = static_cast<int>(r) + 1;
}

void TTableColumn::Rebuild(int row) {
    checkRow(row);
    std::unique_ptr<TGridTable>& slot = m_tables[static_cast<size_t>(row)];
    if (slot) slot->CloseEditor();
    slot = makeTable(row);
}

std::string TTableColumn::ButtonCaption(int row) const {
    const TGridTable* table = TableAt(row);
    return std::to_string(row + 1).append(": ").append(table ? table->Caption() : std::string());
}

bool TTableColumn::OpenEditor(int row) {
    TGridTable* table = TableAt(row);
    if (table == nullptr) return false;
    return Owner().IsEditorModal() ? table->ShowEditorModal() : table->ShowEditor();
}

TGridTable* TTableColumn::TableAt(int row) const {
    checkRow(row);
    return m_tables[static_cast<size_t>(row)].get();
}

bool TTableColumn::IsChanged() const {
    return std::any_of(m_tables.begin(), m_tables.end(),
                       [](const std::unique_ptr<TGridTable>& t) { return t && t->IsChanged(); });
}

void TTableColumn::ResetChanged() {
    for (auto& table : m_tables)
        if (table) table->ResetChanged();
}

int TTableColumn::MinWidth(double pixelsPerInch, const TTextWidth&) const {
    return inches(pixelsPerInch, 2.0L);
}

void TTableColumn::SetUnits(int, int to) {
    for (auto& table : m_tables)
        if (table) table->SetUnits(to);
}

void TTableColumn::CloseEditors() {
    for (auto& table : m_tables)
        if (table) table->CloseEditor();
}

void TTableColumn::insertStorage(int at, int count) {
    for (int r = at; r < at + count; ++r)
        m_tables.insert(m_tables.begin() + r, makeTable(r));
    renumber(at + count);
}

void TTableColumn::deleteStorage(int index) {
    m_tables.erase(m_tables.begin() + index);
    renumber(index);
}

void TTableColumn::writeKindDefinition(TTypedWriter& writer) const {
    writer.WriteString(kTableColumnMark);
    writer.WriteListBegin();
    for (int i = 0; i < m_templates.Count(); ++i)
        writer.WriteInteger(m_templates.IdentifierOf(i, Owner().Registry()));
    writer.WriteListEnd();
}

void TTableColumn::readKindDefinition(TTypedReader& reader, const TColumn* firstColumn) {
    TGridTableList templates;
    if (reader.ReadString() == kTableColumnMark) {
        reader.ReadListBegin();
        while (!reader.EndOfList())
            templates.Add(TIntWrapper::Identifier(reader.ReadInteger()));
        reader.ReadListEnd();
    } else {
        // Older definitions name one registry position; a table led by a choice column took either that
        // position for every choice or the identifier equal to the choice number.
        const int position = reader.ReadInteger();
        const auto* choices = dynamic_cast<const TEnumColumn*>(firstColumn);
        if (choices != nullptr) {
            const int count = static_cast<int>(choices->Choices().size());
            for (int choice = 1; choice <= count; ++choice)
                templates.Add(Owner().HardwiredButton() ? TIntWrapper::Position(position)
                                                        : TIntWrapper::Identifier(choice));
        } else {
            templates.Add(TIntWrapper::Position(position));
        }
    }
    m_templates = std::move(templates);
}

void TTableColumn::copyKindDefinition(const TColumn& source) {
    m_templates = dynamic_cast<const TTableColumn&>(source).m_templates;
}

// ---------------------------------------------------------------------------------------------------
// Text column

std::string TStringColumn::TextAt(int row) const {
    checkRow(row);
    return m_texts[static_cast<size_t>(row)];
}

void TStringColumn::SetText(int row, std::string_view text) {
    int first = 0, last = 0;
    groupRange(row, first, last);
    for (int r = first; r <= last; ++r) {
        m_texts[static_cast<size_t>(r)] = std::string(text);
        m_changed = true;
        Owner().ValueChanged(*this, r, false);
    }
}

int TStringColumn::MinWidth(double pixelsPerInch, const TTextWidth& textWidth) const {
    return std::max(captionWidth(textWidth), inches(pixelsPerInch, m_width));
}

void TStringColumn::insertStorage(int at, int count) {
    m_texts.insert(m_texts.begin() + at, static_cast<size_t>(count), m_default);
}

void TStringColumn::deleteStorage(int index) {
    m_texts.erase(m_texts.begin() + index);
}

void TStringColumn::writeKindDefinition(TTypedWriter& writer) const {
    writer.WriteString(m_default);
    writer.WriteFloat(m_width);
}

void TStringColumn::readKindDefinition(TTypedReader& reader, const TColumn*) {
    std::string text = reader.ReadString();
    const long double width = reader.ReadFloat();
    m_default = std::move(text);
    m_width = width;
}

void TStringColumn::copyKindDefinition(const TColumn& source) {
    const auto& other = dynamic_cast<const TStringColumn&>(source);
    m_default = other.m_default;
    m_width = other.m_width;
}

// ---------------------------------------------------------------------------------------------------
// Grid table

TGridTable::TGridTable(TGridTableRegistry& registry)
    : m_registry(&registry), m_identifier(registry.nextIdentifier()) {
    registry.add(this);
}

TGridTable::TGridTable(TGridTable& parent, int rowNumber)
    : m_registry(parent.m_registry),
      m_identifier(parent.m_registry->nextIdentifier()),
      m_units(parent.m_units),
      m_parent(&parent),
      m_parentRow(rowNumber),
      m_depth(parent.m_depth + 1) {
    m_registry->add(this);
}

TGridTable::~TGridTable() {
    if (m_editor) {
        std::unique_ptr<TTableEditor> editor = std::move(m_editor);
        editor->Close();
    }
    m_columns.clear();  // nested tables leave the registry before this one
    m_registry->remove(this);
}

void TGridTable::SetIdentifier(int identifier) {
    if (identifier < 0 || identifier == m_identifier) return;
    if (TGridTable* holder = m_registry->Find(identifier)) holder->m_identifier = m_identifier;
    m_identifier = identifier;
}

void TGridTable::SetMinRows(int minRows) {
    if (minRows <= 0) {
        if (!m_loading) throw EGridTableError("Value must be greater than 0");
        minRows = 1;
    }
    m_minRows = minRows;
}

TColumn& TGridTable::Column(int index) const {
    if (index < 0 || index >= ColumnCount()) throw EGridTableError("Column index out of range");
    return *m_columns[static_cast<size_t>(index)];
}

int TGridTable::ColumnIndex(const TColumn& column) const {
    for (size_t i = 0; i < m_columns.size(); ++i)
        if (m_columns[i].get() == &column) return static_cast<int>(i);
    return -1;
}

std::unique_ptr<TColumn> TGridTable::CreateColumn(int kind) {
    switch (kind) {
        case kEnumColumn:
            return std::make_unique<TEnumColumn>(*this);
        case kIntColumn:
            return std::make_unique<TIntColumn>(*this);
        case kFloatColumn:
            return std::make_unique<TFloatColumn>(*this);
        case kTableColumn:
            return std::make_unique<TTableColumn>(*this);
        case kStringColumn:
            return std::make_unique<TStringColumn>(*this);
        default:
            return nullptr;
    }
}

TColumn& TGridTable::AddColumn(int kind) {
    std::unique_ptr<TColumn> column = CreateColumn(kind);
    if (!column) throw EGridTableError("Error Column Class not defined");
    TColumn& added = *column;
    m_columns.push_back(std::move(column));
    if (auto* nested = dynamic_cast<TTableColumn*>(&added)) nested->SyncTemplates();
    added.InsertRows(0, m_rowCount);
    return added;
}

TData& TGridTable::Cell(int column, int row) const {
    return Column(column).Cell(row);
}

void TGridTable::checkDepthPairs() const {
    for (int i = 0; i < ColumnCount(); ++i) {
        const auto* top = dynamic_cast<const TFloatColumn*>(&Column(i));
        if (top && top->TopDepth() && (i + 1 >= ColumnCount() || Column(i + 1).Kind() != kFloatColumn))
            throw EGridTableError("If column if a topdepth then the next column must be a float column");
    }
}

void TGridTable::insertRowsAt(int at, int count) {
    if (count <= 0) return;
    checkDepthPairs();
    for (auto& column : m_columns)
        column->InsertRows(at, count);
    m_rowCount += count;
    const int after = at + count;
    for (int i = 0; i + 1 < ColumnCount(); ++i) {
        auto* top = dynamic_cast<TFloatColumn*>(&Column(i));
        if (!top || !top->TopDepth()) continue;
        auto& bottom = dynamic_cast<TFloatColumn&>(Column(i + 1));
        for (int r = at; r < after; ++r) {
            if (r > 0) top->StoreRaw(r, bottom.FloatAt(r - 1));
            if (after < m_rowCount) bottom.StoreRaw(r, top->FloatAt(after));
        }
    }
    m_changed = true;
}

void TGridTable::deleteRowsAt(int at, int count) {
    for (int r = at + count - 1; r >= at; --r) {
        for (int i = 0; i + 1 < ColumnCount(); ++i) {
            auto* top = dynamic_cast<TFloatColumn*>(&Column(i));
            auto* bottom = dynamic_cast<TFloatColumn*>(&Column(i + 1));
            if (top && bottom && top->TopDepth() && r > 0 && r + 1 < m_rowCount)
                top->StoreRaw(r + 1, bottom->FloatAt(r - 1));
        }
        for (auto& column : m_columns)
            column->DeleteRow(r);
        --m_rowCount;
    }
    m_changed = true;
}

void TGridTable::SetRowCount(int count) {
    count = std::max(count, 0);
    while (m_rowCount > count)
        deleteRowsAt(m_rowCount - 1, 1);
    while (m_rowCount < count)
        insertRowsAt(m_rowCount, std::min(m_rowGroup, count - m_rowCount));
}

void TGridTable::AddRows() {
    insertRowsAt(m_rowCount, m_rowGroup);
}

void TGridTable::InsertRows(int row) {
    if (row < 0 || row >= m_rowCount) throw EGridTableError("Row index out of range");
    insertRowsAt(row / m_rowGroup * m_rowGroup, m_rowGroup);
}

void TGridTable::DeleteRows(int row) {
    if (row < 0 || row >= m_rowCount) throw EGridTableError("Row index out of range");
    const int at = row / m_rowGroup * m_rowGroup;
    deleteRowsAt(at, std::min(m_rowGroup, m_rowCount - at));
}

void TGridTable::SetUnits(int units) {
    if (units == m_units) return;
    for (auto& column : m_columns)
        column->SetUnits(m_units, units);
    m_units = units;
}

bool TGridTable::IsChanged() const {
    return m_changed || std::any_of(m_columns.begin(), m_columns.end(),
                                    [](const std::unique_ptr<TColumn>& c) { return c->IsChanged(); });
}

void TGridTable::ResetChanged() {
    m_changed = false;
    for (auto& column : m_columns)
        column->ResetChanged();
}

void TGridTable::ValueChanged(const TColumn& column, int row, bool choiceChanged) {
    m_changed = true;
    if (!choiceChanged || ColumnIndex(column) != 0) return;
    for (auto& other : m_columns)
        if (auto* nested = dynamic_cast<TTableColumn*>(other.get())) nested->Rebuild(row);
}

void TGridTable::SyncTemplates() {
    for (auto& column : m_columns)
        if (auto* nested = dynamic_cast<TTableColumn*>(column.get())) nested->SyncTemplates();
}

std::string TGridTable::EditorTitle() const {
    std::vector<int> rows;
    for (const TGridTable* t = this; t->m_parent != nullptr; t = t->m_parent)
        rows.push_back(t->m_parentRow);
    std::string title = m_caption;
    for (auto it = rows.rbegin(); it != rows.rend(); ++it)
        title.append(" ").append(std::to_string(*it));
    return title;
}

std::unique_ptr<TGridTable> TGridTable::newNested(TGridTable& parent, int rowNumber) const {
    return std::unique_ptr<TGridTable>(new TGridTable(parent, rowNumber));
}

void TGridTable::copyDefinition(const TGridTable& source) {
    m_caption = source.m_caption;
    m_comments = source.m_comments;
    m_topLeft = source.m_topLeft;
    m_helpPicture = source.m_helpPicture;
    m_minRows = source.m_minRows;
    m_maxRows = source.m_maxRows;
    m_columns.clear();
    for (const auto& column : source.m_columns)
        m_columns.push_back(column->Clone(*this));
}

std::unique_ptr<TGridTable> TGridTable::CloneInto(TGridTable& parent, int rowNumber) const {
    std::unique_ptr<TGridTable> clone = newNested(parent, rowNumber);
    clone->copyDefinition(*this);
    clone->SetRowCount(clone->m_minRows);
    clone->ResetChanged();
    return clone;
}

bool TGridTable::openEditor(TEditorMode mode) {
    const bool anyVisible = std::any_of(m_columns.begin(), m_columns.end(),
                                        [](const std::unique_ptr<TColumn>& c) { return c->Visible(); });
    const TEditorFactory& factory = m_registry->EditorFactory();
    if (!anyVisible || !factory) return false;
    if (m_editor) {
        m_editor->Activate();
        return true;
    }
    if (m_modalRunning) return true;
    if (m_rowCount < m_minRows) SetRowCount(m_minRows);
    if (mode != TEditorMode::Modal) {
        std::unique_ptr<TTableEditor> editor = factory(*this, mode);
        if (!editor) return false;
        m_editor = std::move(editor);
        m_editorModal = false;
        return true;
    }
    m_modalRunning = true;
    std::unique_ptr<TTableEditor> editor;
    try {
        editor = factory(*this, mode);
    } catch (...) {
        m_modalRunning = false;
        throw;
    }
    m_modalRunning = false;
    if (editor) {
        m_editor = std::move(editor);
        m_editorModal = true;
    }
    return true;
}

bool TGridTable::ShowEditor() {
    return openEditor(m_formParent != nullptr ? TEditorMode::Embedded : TEditorMode::Child);
}

bool TGridTable::ShowEditorModal() {
    return openEditor(TEditorMode::Modal);
}

void TGridTable::CloseEditor() {
    for (auto& column : m_columns)
        column->CloseEditors();
    if (m_editor) {
        std::unique_ptr<TTableEditor> editor = std::move(m_editor);
        m_editorModal = false;
        editor->Close();
    }
}

void TGridTable::EditorClosed() {
    m_editor.reset();
    m_editorModal = false;
}

void TGridTable::WriteCol(TTypedWriter& writer) const {
    writer.WriteInteger(ColumnCount());
    for (const auto& column : m_columns)
        column->WriteDefinition(writer);
    writeColExtra(writer);
}

void TGridTable::ReadCol(TTypedReader& reader) {
    int count = 0;
    try {
        count = reader.ReadInteger();
    } catch (const EReadError&) {
        throw EReadError("Error reading column count");
    }
    if (count < 0) throw EReadError("Error reading column count");
    std::vector<std::unique_ptr<TColumn>> columns;
    for (int i = 0; i < count; ++i) {
        std::unique_ptr<TColumn> column;
        try {
            column = CreateColumn(reader.ReadInteger());
        } catch (const EReadError& e) {
            throw EReadError(columnError(i, e.what()));
        }
        if (!column) throw EReadError("Error Column Class not defined");
        try {
            column->ReadDefinition(reader, columns.empty() ? nullptr : columns.front().get());
        } catch (const EReadError& e) {
            throw EReadError(columnError(i, e.what()));
        }
        columns.push_back(std::move(column));
    }
    readColExtra(reader);
    m_columns = std::move(columns);
    for (auto& column : m_columns)
        column->InsertRows(0, m_rowCount);
    SyncTemplates();
}

std::vector<std::uint8_t> TGridTable::Col() const {
    TTypedWriter writer;
    WriteCol(writer);
    return writer.Bytes();
}

void TGridTable::SetCol(std::span<const std::uint8_t> bytes) {
    TTypedReader reader(bytes);
    ReadCol(reader);
}

void TGridTable::writeColExtra(TTypedWriter&) const {}
void TGridTable::readColExtra(TTypedReader&) {}

long double NumberAt(const TGridTable& table, int column, int row) {
    if (column < 0 || column >= table.ColumnCount() || row < 0 || row >= table.RowCount()) return 0;
    const TColumn& c = table.Column(column);
    switch (c.Kind()) {
        case kFloatColumn:
            return c.FloatAt(row);
        case kIntColumn:
        case kEnumColumn:
            return c.IntAt(row);
        default:
            return 0;
    }
}

}  // namespace app::model
