#pragma once
// The chart variant of the grid table: its editor adds a curve preview and text import. It keeps its own
// registry (ChartDefault) and nests chart tables only; its `Col` stream ends with six graphic parameters.

#include <memory>

#include "app/model/grid_table.h"

namespace app::model {

// The chart variant shares the plain kinds' behaviour; its own classes keep its kinds apart.
class TEnumColumnChart final : public TEnumColumn {
public:
    using TEnumColumn::TEnumColumn;
};
class TIntColumnChart final : public TIntColumn {
public:
    using TIntColumn::TIntColumn;
};
class TFloatColumnChart final : public TFloatColumn {
public:
    using TFloatColumn::TFloatColumn;
};
class TTableColumnChart final : public TTableColumn {
public:
    using TTableColumn::TTableColumn;
};
class TStringColumnChart final : public TStringColumn {
public:
    using TStringColumn::TStringColumn;
};
using TColumnChart = TColumn;
using TDataChart = TData;

/// Read, copied into clones and written back; they steer only the editor's preview.
struct TGraphicParameters {
    bool ShowGraph = false;
    bool PlainPaint = false;  // a plain paint area instead of a chart
    int XColumn = 0;
    int YColumn = 1;
    int Extra1 = 0;
    int Extra2 = 0;
    bool operator==(const TGraphicParameters&) const = default;
};

class TGridTableChart : public TGridTable {
public:
    explicit TGridTableChart(TGridTableRegistry& registry = TGridTableRegistry::ChartDefault());

    [[nodiscard]] bool IsChart() const override { return true; }
    [[nodiscard]] std::unique_ptr<TColumn> CreateColumn(int kind) override;

    [[nodiscard]] bool GetDataFromFile() const { return m_getDataFromFile; }
    void SetGetDataFromFile(bool on) { m_getDataFromFile = on; }
    [[nodiscard]] bool OKCancelButtons() const { return m_okCancelButtons; }
    void SetOKCancelButtons(bool on) { m_okCancelButtons = on; }
    [[nodiscard]] bool InvertedXAxis() const { return m_invertedXAxis; }
    void SetInvertedXAxis(bool on) { m_invertedXAxis = on; }
    [[nodiscard]] bool InvertedYAxis() const { return m_invertedYAxis; }
    void SetInvertedYAxis(bool on) { m_invertedYAxis = on; }
    [[nodiscard]] const TGraphicParameters& GraphicParameters() const { return m_graphic; }
    void SetGraphicParameters(const TGraphicParameters& graphic) { m_graphic = graphic; }

protected:
    TGridTableChart(TGridTable& parent, int rowNumber) : TGridTable(parent, rowNumber) {}
    [[nodiscard]] std::unique_ptr<TGridTable> newNested(TGridTable& parent, int rowNumber) const override;
    void copyDefinition(const TGridTable& source) override;
    void writeColExtra(TTypedWriter& writer) const override;
    void readColExtra(TTypedReader& reader) override;

private:
    bool m_getDataFromFile = false;
    bool m_okCancelButtons = false;
    bool m_invertedXAxis = false;
    bool m_invertedYAxis = false;
    TGraphicParameters m_graphic;
};

}  // namespace app::model
