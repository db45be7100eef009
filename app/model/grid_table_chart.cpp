#include "app/model/grid_table_chart.h"

namespace app::model {

TGridTableChart::TGridTableChart(TGridTableRegistry& registry) : TGridTable(registry) {}

std::unique_ptr<TColumn> TGridTableChart::CreateColumn(int kind) {
    switch (kind) {
        case kEnumColumn:
            return std::make_unique<TEnumColumnChart>(*this);
        case kIntColumn:
            return std::make_unique<TIntColumnChart>(*this);
        case kFloatColumn:
            return std::make_unique<TFloatColumnChart>(*this);
        case kTableColumn:
            return std::make_unique<TTableColumnChart>(*this);
        case kStringColumn:
            return std::make_unique<TStringColumnChart>(*this);
        default:
            return nullptr;
    }
}

std::unique_ptr<TGridTable> TGridTableChart::newNested(TGridTable& parent, int rowNumber) const {
    return std::unique_ptr<TGridTable>(new TGridTableChart(parent, rowNumber));
}

void TGridTableChart::copyDefinition(const TGridTable& source) {
    TGridTable::copyDefinition(source);
    // A nested curve table imports and previews like its template.
    if (const auto* chart = dynamic_cast<const TGridTableChart*>(&source)) {
        m_getDataFromFile = chart->m_getDataFromFile;
        m_okCancelButtons = chart->m_okCancelButtons;
        m_invertedXAxis = chart->m_invertedXAxis;
        m_invertedYAxis = chart->m_invertedYAxis;
        m_graphic = chart->m_graphic;
    }
}

void TGridTableChart::writeColExtra(TTypedWriter& writer) const {
    writer.WriteBoolean(m_graphic.ShowGraph);
    writer.WriteBoolean(m_graphic.PlainPaint);
    writer.WriteInteger(m_graphic.XColumn);
    writer.WriteInteger(m_graphic.YColumn);
    writer.WriteInteger(m_graphic.Extra1);
    writer.WriteInteger(m_graphic.Extra2);
}

void TGridTableChart::readColExtra(TTypedReader& reader) {
    TGraphicParameters graphic;
    try {
        graphic.ShowGraph = reader.ReadBoolean();
        graphic.PlainPaint = reader.ReadBoolean();
        graphic.XColumn = reader.ReadInteger();
        graphic.YColumn = reader.ReadInteger();
        graphic.Extra1 = reader.ReadInteger();
        graphic.Extra2 = reader.ReadInteger();
    } catch (const EReadError&) {
        throw EReadError("Error reading graphic parameters");
    }
    m_graphic = graphic;
}

}  // namespace app::model
