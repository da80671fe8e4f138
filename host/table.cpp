// Tables: making a table shape with its cells, reaching the cells and their selection.
#include "host/table.h"

#include "host/text.h"

namespace host {

std::shared_ptr<TableBody> makeTableBody(Shape& table, int rows, int columns) {
    auto body = std::make_shared<TableBody>();
    body->rows = rows;
    body->columns = columns;
    const float width = table.Width() / static_cast<float>(columns);
    const float height = table.Height() / static_cast<float>(rows);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            body->cells.push_back(std::make_shared<Shape>(table.Parent(), table.Id(), msoAutoShape, msoShapeRectangle,
                                                          table.Left() + width * static_cast<float>(c),
                                                          table.Top() + height * static_cast<float>(r), width, height));
    body->selected.assign(body->cells.size(), false);
    return body;
}

std::shared_ptr<Shape> Shapes::AddTable(int numRows, int numColumns, float left, float top, float width, float height) {
    if (numRows < 1 || numColumns < 1) throw HostError(E_FAIL, "Shapes.AddTable : The value is out of range.");
    auto shape = addOfType(msoTable, msoShapeRectangle, left, top, width, height);
    shape->hasTable_ = true;
    shape->table_ = makeTableBody(*shape, numRows, numColumns);
    return shape;
}

void Shape::setHasTable(bool on) {
    requireAlive();
    hasTable_ = on;
    if (!on) table_.reset();
    changed();
}

host::Table Shape::Table() {
    if (!hasTable_) throw HostError(E_FAIL, "Shape.Table : This shape does not have a table.");
    if (!table_) table_ = makeTableBody(*this, 1, 1);  // a placeholder given a table by the stand-in
    return host::Table(table_);
}

host::Cell Table::Cell(int row, int column) const {
    if (row < 1 || row > body_->rows || column < 1 || column > body_->columns)
        throw HostError(E_FAIL, "Table.Cell : The value is out of range.");
    return host::Cell(body_, (row - 1) * body_->columns + (column - 1));
}

bool Cell::Selected() const { return table_->selected[static_cast<std::size_t>(index_)]; }

std::shared_ptr<Shape> Cell::Shape() const { return table_->cells[static_cast<std::size_t>(index_)]; }

void Cell::select(bool on) { table_->selected[static_cast<std::size_t>(index_)] = on; }

}  // namespace host
