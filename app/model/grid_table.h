#pragma once
// Grid tables: named, non-visual tables of typed columns that hold every tabular input of a problem.
// A table knows its row limits and row groups, converts its real values between unit systems, nests
// tables cloned from template tables, and writes and reads its column definitions (`Col`).
//
// The model never opens a window: ShowEditor calls the editor factory that the user interface installs
// in the table's registry.

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "app/model/typed_stream.h"

namespace app::model {

class TColumn;
class TGridTable;

/// A misuse of a table: a wrong accessor for a column kind, a bad row limit, a broken depth pair.
class EGridTableError : public std::runtime_error {
public:
    explicit EGridTableError(const std::string& message) : std::runtime_error(message) {}
};

/// An editor window made by the user interface; owned by its table while open.
class TTableEditor {
public:
    virtual ~TTableEditor() = default;
    /// The table closes its editor (CloseEditor); the window goes without asking.
    virtual void Close() = 0;
    /// ShowEditor on a table whose editor is already open brings it forward.
    virtual void Activate() {}
};

enum class TEditorMode {
    Child,     // a multiple-document child window
    Embedded,  // inside the table's FormParent, without border, at 0,0
    Modal,
};

/// Installed by the user interface. A factory that runs a modal editor to its end returns nullptr; the
/// table counts as having a modal editor open while the factory runs. Otherwise the returned editor stays
/// with the table until the interface calls TGridTable::EditorClosed or the table closes it.
using TEditorFactory = std::function<std::unique_ptr<TTableEditor>(TGridTable& table, TEditorMode mode)>;

/// Measures a caption line on the screen [pixels].
using TTextWidth = std::function<int(std::string_view text)>;

/// All tables of one kind in creation order, the identifier counter and the editor factory.
/// Tables register themselves; the registry must outlive them.
class TGridTableRegistry {
public:
    TGridTableRegistry() = default;
    TGridTableRegistry(const TGridTableRegistry&) = delete;
    TGridTableRegistry& operator=(const TGridTableRegistry&) = delete;

    /// The process's registries of plain tables and of chart tables.
    static TGridTableRegistry& ProcessDefault();
    static TGridTableRegistry& ChartDefault();

    [[nodiscard]] int Count() const { return static_cast<int>(m_tables.size()); }
    /// Table at a registry position; nullptr outside.
    [[nodiscard]] TGridTable* At(int position) const;
    [[nodiscard]] int PositionOf(const TGridTable& table) const;  // -1 when absent
    /// Template lookup by identifier; nullptr when no table has it.
    [[nodiscard]] TGridTable* Find(int identifier) const;

    void SetEditorFactory(TEditorFactory factory) { m_editorFactory = std::move(factory); }
    [[nodiscard]] const TEditorFactory& EditorFactory() const { return m_editorFactory; }

private:
    friend class TGridTable;
    int nextIdentifier();
    void add(TGridTable* table) { m_tables.push_back(table); }
    void remove(TGridTable* table);

    std::vector<TGridTable*> m_tables;
    int m_counter = 0;
    TEditorFactory m_editorFactory;
};

/// One entry of a template list: a registry position, or an identifier resolved when used.
struct TIntWrapper {
    enum class Kind { Position, Identifier };
    Kind kind = Kind::Identifier;
    int value = -1;  // -1: no template

    static TIntWrapper Position(int position) { return {Kind::Position, position}; }
    static TIntWrapper Identifier(int identifier) { return {Kind::Identifier, identifier}; }
    bool operator==(const TIntWrapper&) const = default;
};

/// Templates of a nested-table column, one per choice of the table's first column.
class TGridTableList {
public:
    [[nodiscard]] int Count() const { return static_cast<int>(m_entries.size()); }
    [[nodiscard]] const TIntWrapper& Entry(int i) const { return m_entries.at(static_cast<size_t>(i)); }
    void Add(TIntWrapper entry) { m_entries.push_back(entry); }
    void Set(int i, TIntWrapper entry) { m_entries.at(static_cast<size_t>(i)) = entry; }
    void Clear() { m_entries.clear(); }
    /// Adds empty entries or drops entries from the end.
    void Resize(int count);
    /// The template of entry i; nullptr for an empty or unresolved entry or an index outside.
    [[nodiscard]] TGridTable* Resolve(int i, const TGridTableRegistry& registry) const;
    /// Identifier of entry i as written to a definition: -1 when none.
    [[nodiscard]] int IdentifierOf(int i, const TGridTableRegistry& registry) const;

private:
    std::vector<TIntWrapper> m_entries;
};

struct TIntStorage {
    int value = 0;
    bool changed = false;
};

struct TFloatStorage {
    long double value = 0.0L;
    bool changed = false;
};

/// One cell: knows its column and finds its row by its position in the column.
class TData {
public:
    explicit TData(TColumn& column) : m_column(&column) {}
    [[nodiscard]] TColumn& Column() const { return *m_column; }
    [[nodiscard]] int Row() const;

    [[nodiscard]] long double AsFloat() const;
    void SetFloat(long double value);
    [[nodiscard]] int AsInt() const;
    void SetInt(int value);
    [[nodiscard]] std::string AsText() const;
    /// Validating; throws EAssignError and keeps the previous value.
    void SetText(std::string_view text);
    [[nodiscard]] TGridTable* AsTable() const;

private:
    TColumn* m_column;
};

/// Column kinds as numbered in the definition stream.
enum TColumnKind : int {
    kEnumColumn = 0,
    kIntColumn = 1,
    kFloatColumn = 2,
    kTableColumn = 3,
    kStringColumn = 4,
};

/// Base of the column kinds. Accessors a kind does not support throw "Data of wrong type".
class TColumn {
public:
    explicit TColumn(TGridTable& owner) : m_owner(&owner) {}
    virtual ~TColumn();
    TColumn(const TColumn&) = delete;
    TColumn& operator=(const TColumn&) = delete;

    [[nodiscard]] virtual int Kind() const = 0;
    [[nodiscard]] TGridTable& Owner() const { return *m_owner; }
    [[nodiscard]] int RowCount() const { return static_cast<int>(m_cells.size()); }
    [[nodiscard]] TData& Cell(int row) const;
    [[nodiscard]] int RowOf(const TData& cell) const;

    /// Caption lines; several make a multi-line header.
    [[nodiscard]] std::vector<std::string>& Captions() { return m_captions; }
    [[nodiscard]] const std::vector<std::string>& Captions() const { return m_captions; }
    [[nodiscard]] int CaptionLineCount() const { return static_cast<int>(m_captions.size()); }
    [[nodiscard]] virtual std::string CaptionLine(int i) const;
    [[nodiscard]] bool Visible() const { return m_visible; }
    void SetVisible(bool visible) { m_visible = visible; }
    /// When set, setting a cell sets every row of its row group.
    [[nodiscard]] bool RowGroupShared() const { return m_rowGroupShared; }
    void SetRowGroupShared(bool shared) { m_rowGroupShared = shared; }
    [[nodiscard]] int RowGroupSize() const;

    void InsertRows(int at, int count);
    void DeleteRow(int index);

    [[nodiscard]] virtual TGridTable* TableAt(int row) const;
    [[nodiscard]] virtual long double FloatAt(int row) const;
    virtual void SetFloat(int row, long double value);
    [[nodiscard]] virtual int IntAt(int row) const;
    virtual void SetInt(int row, int value);
    [[nodiscard]] virtual std::string TextAt(int row) const;
    virtual void SetText(int row, std::string_view text);

    [[nodiscard]] virtual bool IsChanged() const = 0;
    virtual void ResetChanged() = 0;
    /// Smallest width of the column in the editor [pixels].
    [[nodiscard]] virtual int MinWidth(double pixelsPerInch, const TTextWidth& textWidth) const;
    /// Converts the stored values from one unit system to another.
    virtual void SetUnits(int from, int to);
    virtual void CloseEditors() {}

    /// Kind number, caption lines, flags and the kind's own definition.
    void WriteDefinition(TTypedWriter& writer) const;
    /// Everything after the kind number; `firstColumn` is the table's first column read so far.
    void ReadDefinition(TTypedReader& reader, const TColumn* firstColumn);
    /// The same definition in `owner`, without rows.
    [[nodiscard]] std::unique_ptr<TColumn> Clone(TGridTable& owner) const;

protected:
    virtual void insertStorage(int at, int count) = 0;
    virtual void deleteStorage(int index) = 0;
    virtual void writeKindDefinition(TTypedWriter& writer) const = 0;
    virtual void readKindDefinition(TTypedReader& reader, const TColumn* firstColumn) = 0;
    virtual void copyKindDefinition(const TColumn& source) = 0;

    [[noreturn]] static void wrongType();
    void checkRow(int row) const;
    /// Rows set by setting `row`: its whole row group when shared, else the row alone.
    void groupRange(int row, int& first, int& last) const;
    int captionWidth(const TTextWidth& textWidth) const;

private:
    TGridTable* m_owner;
    std::vector<std::string> m_captions;
    bool m_visible = true;
    bool m_rowGroupShared = false;
    std::vector<std::unique_ptr<TData>> m_cells;
};

/// Integer choice, 1-based; new rows hold 1.
class TEnumColumn : public TColumn {
public:
    using TColumn::TColumn;
    [[nodiscard]] int Kind() const override { return kEnumColumn; }

    [[nodiscard]] const std::vector<std::string>& Choices() const { return m_choices; }
    /// Also resizes the template lists of the table's nested-table columns when this is the first column.
    void SetChoices(std::vector<std::string> choices);

    [[nodiscard]] int IntAt(int row) const override;
    void SetInt(int row, int value) override;
    [[nodiscard]] std::string TextAt(int row) const override;
    void SetText(int row, std::string_view text) override;
    [[nodiscard]] bool IsChanged() const override;
    void ResetChanged() override;
    [[nodiscard]] int MinWidth(double pixelsPerInch, const TTextWidth& textWidth) const override;

protected:
    void insertStorage(int at, int count) override;
    void deleteStorage(int index) override;
    void writeKindDefinition(TTypedWriter& writer) const override;
    void readKindDefinition(TTypedReader& reader, const TColumn* firstColumn) override;
    void copyKindDefinition(const TColumn& source) override;

private:
    std::vector<std::string> m_choices;
    std::vector<TIntStorage> m_values;
};

class TIntColumn : public TColumn {
public:
    using TColumn::TColumn;
    [[nodiscard]] int Kind() const override { return kIntColumn; }

    [[nodiscard]] int Default() const { return m_default; }
    [[nodiscard]] int Minimum() const { return m_minimum; }
    [[nodiscard]] int Maximum() const { return m_maximum; }
    void SetDefault(int value) { m_default = value; }
    void SetRange(int minimum, int maximum) {
        m_minimum = minimum;
        m_maximum = maximum;
    }

    [[nodiscard]] int IntAt(int row) const override;
    void SetInt(int row, int value) override;
    [[nodiscard]] std::string TextAt(int row) const override;
    void SetText(int row, std::string_view text) override;
    [[nodiscard]] bool IsChanged() const override;
    void ResetChanged() override;
    [[nodiscard]] int MinWidth(double pixelsPerInch, const TTextWidth& textWidth) const override;

protected:
    void insertStorage(int at, int count) override;
    void deleteStorage(int index) override;
    void writeKindDefinition(TTypedWriter& writer) const override;
    void readKindDefinition(TTypedReader& reader, const TColumn* firstColumn) override;
    void copyKindDefinition(const TColumn& source) override;

private:
    int m_default = 0;
    int m_minimum = INT32_MIN;
    int m_maximum = INT32_MAX;
    std::vector<TIntStorage> m_values;
};

/// Extended reals in the units of the table's unit system, labelled by a unit label.
class TFloatColumn : public TColumn {
public:
    using TColumn::TColumn;
    [[nodiscard]] int Kind() const override { return kFloatColumn; }

    [[nodiscard]] const std::string& UnitLabel() const { return m_unitLabel; }
    void SetUnitLabel(std::string label) { m_unitLabel = std::move(label); }
    [[nodiscard]] long double Default() const { return m_default; }
    void SetDefault(long double value) { m_default = value; }
    /// A top-depth column pairs with the real column after it (the layer bottoms).
    [[nodiscard]] bool TopDepth() const { return m_topDepth; }
    void SetTopDepth(bool topDepth) { m_topDepth = topDepth; }

    /// The last line carries the unit text: "caption (unit)  ".
    [[nodiscard]] std::string CaptionLine(int i) const override;
    [[nodiscard]] long double FloatAt(int row) const override;
    void SetFloat(int row, long double value) override;
    /// General format with 8 significant digits.
    [[nodiscard]] std::string TextAt(int row) const override;
    void SetText(int row, std::string_view text) override;
    [[nodiscard]] bool IsChanged() const override;
    void ResetChanged() override;
    [[nodiscard]] int MinWidth(double pixelsPerInch, const TTextWidth& textWidth) const override;
    void SetUnits(int from, int to) override;

    /// Stores without the row-group and depth-pair rules and without telling the table.
    void StoreRaw(int row, long double value);

protected:
    void insertStorage(int at, int count) override;
    void deleteStorage(int index) override;
    void writeKindDefinition(TTypedWriter& writer) const override;
    void readKindDefinition(TTypedReader& reader, const TColumn* firstColumn) override;
    void copyKindDefinition(const TColumn& source) override;

private:
    bool m_topDepth = false;
    std::string m_unitLabel;
    long double m_default = 0.0L;
    std::vector<TFloatStorage> m_values;
};

/// Per row an owned table cloned from the template that the row's first-column choice selects.
class TTableColumn : public TColumn {
public:
    using TColumn::TColumn;
    ~TTableColumn() override;
    [[nodiscard]] int Kind() const override { return kTableColumn; }

    [[nodiscard]] TGridTableList& Templates() { return m_templates; }
    [[nodiscard]] const TGridTableList& Templates() const { return m_templates; }
    /// Matches the template list to the choices of the table's first column, when that is an enumeration.
    void SyncTemplates();
    /// Replaces the row's table by a fresh clone of its current template.
    void Rebuild(int row);
    /// "row: caption" of the row's button.
    [[nodiscard]] std::string ButtonCaption(int row) const;
    /// Opens the row's nested editor, modally when this table's editor is modal.
    bool OpenEditor(int row);

    [[nodiscard]] TGridTable* TableAt(int row) const override;
    [[nodiscard]] bool IsChanged() const override;
    void ResetChanged() override;
    [[nodiscard]] int MinWidth(double pixelsPerInch, const TTextWidth& textWidth) const override;
    void SetUnits(int from, int to) override;
    void CloseEditors() override;

protected:
    void insertStorage(int at, int count) override;
    void deleteStorage(int index) override;
    void writeKindDefinition(TTypedWriter& writer) const override;
    void readKindDefinition(TTypedReader& reader, const TColumn* firstColumn) override;
    void copyKindDefinition(const TColumn& source) override;

private:
    std::unique_ptr<TGridTable> makeTable(int row) const;
    void renumber(int from);

    TGridTableList m_templates;
    std::vector<std::unique_ptr<TGridTable>> m_tables;
};

class TStringColumn : public TColumn {
public:
    using TColumn::TColumn;
    [[nodiscard]] int Kind() const override { return kStringColumn; }

    [[nodiscard]] const std::string& DefaultText() const { return m_default; }
    void SetDefaultText(std::string text) { m_default = std::move(text); }
    [[nodiscard]] long double WidthInches() const { return m_width; }
    void SetWidthInches(long double inches) { m_width = inches; }

    [[nodiscard]] std::string TextAt(int row) const override;
    void SetText(int row, std::string_view text) override;
    [[nodiscard]] bool IsChanged() const override { return m_changed; }
    void ResetChanged() override { m_changed = false; }
    [[nodiscard]] int MinWidth(double pixelsPerInch, const TTextWidth& textWidth) const override;

protected:
    void insertStorage(int at, int count) override;
    void deleteStorage(int index) override;
    void writeKindDefinition(TTypedWriter& writer) const override;
    void readKindDefinition(TTypedReader& reader, const TColumn* firstColumn) override;
    void copyKindDefinition(const TColumn& source) override;

private:
    std::string m_default;
    long double m_width = 0.0L;
    std::vector<std::string> m_texts;
    bool m_changed = false;
};

/// The plain grid table.
class TGridTable {
public:
    explicit TGridTable(TGridTableRegistry& registry = TGridTableRegistry::ProcessDefault());
    virtual ~TGridTable();
    TGridTable(const TGridTable&) = delete;
    TGridTable& operator=(const TGridTable&) = delete;

    [[nodiscard]] TGridTableRegistry& Registry() const { return *m_registry; }
    [[nodiscard]] virtual bool IsChart() const { return false; }

    // Published properties.
    [[nodiscard]] int Identifier() const { return m_identifier; }
    /// A value another table holds passes that table this one's previous identifier; negatives are ignored.
    void SetIdentifier(int identifier);
    [[nodiscard]] const std::string& Caption() const { return m_caption; }
    void SetCaption(std::string caption) { m_caption = std::move(caption); }
    [[nodiscard]] const std::string& Comments() const { return m_comments; }
    void SetComments(std::string comments) { m_comments = std::move(comments); }
    [[nodiscard]] int MaxRows() const { return m_maxRows; }
    void SetMaxRows(int maxRows) { m_maxRows = maxRows; }
    [[nodiscard]] int MinRows() const { return m_minRows; }
    /// Throws "Value must be greater than 0" for v <= 0, except while loading (then 1).
    void SetMinRows(int minRows);
    [[nodiscard]] bool HardwiredButton() const { return m_hardwiredButton; }
    void SetHardwiredButton(bool hardwired) { m_hardwiredButton = hardwired; }
    [[nodiscard]] int RowGroup() const { return m_rowGroup; }
    void SetRowGroup(int rowGroup) { m_rowGroup = rowGroup < 1 ? 1 : rowGroup; }
    [[nodiscard]] const std::string& TopLeft() const { return m_topLeft; }
    void SetTopLeft(std::string text) { m_topLeft = std::move(text); }
    /// Image data shown under the grid; opaque to the model.
    [[nodiscard]] const std::string& HelpPicture() const { return m_helpPicture; }
    void SetHelpPicture(std::string picture) { m_helpPicture = std::move(picture); }
    /// Window the editor is embedded in; opaque to the model, owned by the user interface.
    [[nodiscard]] void* FormParent() const { return m_formParent; }
    void SetFormParent(void* parent) { m_formParent = parent; }
    /// While loading, SetMinRows turns bad values into 1 instead of refusing them.
    void SetLoading(bool loading) { m_loading = loading; }

    // Columns.
    [[nodiscard]] int ColumnCount() const { return static_cast<int>(m_columns.size()); }
    [[nodiscard]] TColumn& Column(int index) const;
    [[nodiscard]] int ColumnIndex(const TColumn& column) const;  // -1 when not here
    /// Appends a column of this table's variant (`kind`: TColumnKind), with cells for every row.
    TColumn& AddColumn(int kind);
    template <class T>
    T& AddColumn(int kind) {
        return dynamic_cast<T&>(AddColumn(kind));
    }
    /// A new column of this variant's kind, without rows; nullptr for an unknown kind.
    [[nodiscard]] virtual std::unique_ptr<TColumn> CreateColumn(int kind);

    // Rows.
    [[nodiscard]] int RowCount() const { return m_rowCount; }
    /// Negative counts as 0; removes from the end or appends a row group at a time.
    void SetRowCount(int count);
    void AddRows();
    /// One row group before the group holding `row`.
    void InsertRows(int row);
    /// The row group holding `row`.
    void DeleteRows(int row);
    /// What the editor's buttons allow: adding while the count differs from MaxRows (0: no limit),
    /// deleting while it exceeds MinRows.
    [[nodiscard]] bool CanAddRows() const { return m_rowCount != m_maxRows; }
    [[nodiscard]] bool CanDeleteRows() const { return m_minRows < m_rowCount; }

    [[nodiscard]] TData& Cell(int column, int row) const;

    // Units and changes.
    [[nodiscard]] int Units() const { return m_units; }
    /// Converts every column (nested tables too) and records the new system; no-op when unchanged.
    void SetUnits(int units);
    [[nodiscard]] bool IsChanged() const;
    void ResetChanged();

    // Nesting.
    [[nodiscard]] TGridTable* Parent() const { return m_parent; }
    /// Row number inside the parent table (row index + 1); 0 for a top-level table.
    [[nodiscard]] int ParentRow() const { return m_parentRow; }
    /// The caption, then a blank and the row number for each level of nesting, outermost first.
    [[nodiscard]] std::string EditorTitle() const;
    /// A table nested in `parent` at `rowNumber`, with this table's definition and MinRows rows.
    [[nodiscard]] std::unique_ptr<TGridTable> CloneInto(TGridTable& parent, int rowNumber) const;

    // Editor.
    /// Refused (false) without a visible column or without a factory. Raises the rows to MinRows first.
    bool ShowEditor();
    bool ShowEditorModal();
    /// Closes this table's editor and those of all nested tables.
    void CloseEditor();
    /// Called by the user interface when the editor window has gone.
    void EditorClosed();
    [[nodiscard]] bool IsEditorOpen() const { return m_editor != nullptr || m_modalRunning; }
    [[nodiscard]] bool IsEditorModal() const { return m_modalRunning || (m_editor && m_editorModal); }

    // Column definitions (`Col`).
    void WriteCol(TTypedWriter& writer) const;
    /// Replaces the columns; on an error the old ones stay. Throws EReadError.
    void ReadCol(TTypedReader& reader);
    [[nodiscard]] std::vector<std::uint8_t> Col() const;
    void SetCol(std::span<const std::uint8_t> bytes);

    /// Called by the columns when a cell was set.
    void ValueChanged(const TColumn& column, int row, bool choiceChanged);
    /// Matches every nested-table column's template list to the first column's choices.
    void SyncTemplates();

protected:
    /// A nested table of this variant.
    TGridTable(TGridTable& parent, int rowNumber);
    [[nodiscard]] virtual std::unique_ptr<TGridTable> newNested(TGridTable& parent, int rowNumber) const;
    /// Copies what a clone takes over from its template.
    virtual void copyDefinition(const TGridTable& source);
    /// What follows the columns in this variant's `Col` stream.
    virtual void writeColExtra(TTypedWriter& writer) const;
    virtual void readColExtra(TTypedReader& reader);

private:
    bool openEditor(TEditorMode mode);
    void insertRowsAt(int at, int count);
    void deleteRowsAt(int at, int count);
    void checkDepthPairs() const;

    friend class TTableColumn;  // renumbers its nested tables

    TGridTableRegistry* m_registry;
    int m_identifier;
    std::string m_caption, m_comments, m_topLeft, m_helpPicture;
    int m_maxRows = 0;
    int m_minRows = 1;
    bool m_hardwiredButton = false;
    int m_rowGroup = 1;
    void* m_formParent = nullptr;
    bool m_loading = false;

    int m_rowCount = 0;
    int m_units = 1;
    bool m_changed = false;
    TGridTable* m_parent = nullptr;
    int m_parentRow = 0;
    int m_depth = 0;  // nesting level; bounds templates that nest themselves
    std::vector<std::unique_ptr<TColumn>> m_columns;

    std::unique_ptr<TTableEditor> m_editor;
    bool m_editorModal = false;
    bool m_modalRunning = false;
};

/// The number in a real, integer or choice cell; 0 for a cell outside the table or of another kind.
/// For drawing from a table, where a missing value draws as zero.
[[nodiscard]] long double NumberAt(const TGridTable& table, int column, int row);

}  // namespace app::model
