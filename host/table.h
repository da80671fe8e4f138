// Tables: a table shape's grid of cells, each cell with a shape that holds its text, and
// which cells the user has selected. Tables, rows, columns and cells are handles; the grid
// lives in the table's shape.
#pragma once

#include <memory>
#include <vector>

#include "host/host.h"

namespace host {

// Internal: a table's cells, row by row.
struct TableBody {
    int rows = 1, columns = 1;
    std::vector<std::shared_ptr<Shape>> cells;  // rows x columns shapes with text frames
    std::vector<bool> selected;                 // parallel to cells
};

class Cell {
public:
    bool Selected() const;
    // The cell's shape: it has a text frame and stands on the table's slide, outside the
    // slide's Shapes.
    std::shared_ptr<host::Shape> Shape() const;
    // Stand-in: selects or deselects the cell as the user does by dragging over cells.
    void select(bool on);

    Cell(std::shared_ptr<TableBody> table, int index) : table_(std::move(table)), index_(index) {}

private:
    std::shared_ptr<TableBody> table_;
    int index_;  // 0-based, row by row
};

// The count of a table's rows or columns (the host's Rows.Count, Columns.Count).
class TableLines {
public:
    int Count() const { return count_; }
    explicit TableLines(int count) : count_(count) {}

private:
    int count_;
};

class Table {
public:
    TableLines Rows() const { return TableLines(body_->rows); }
    TableLines Columns() const { return TableLines(body_->columns); }
    // 1-based; HostError(E_FAIL) outside the grid.
    host::Cell Cell(int row, int column) const;

    explicit Table(std::shared_ptr<TableBody> body) : body_(std::move(body)) {}

private:
    std::shared_ptr<TableBody> body_;
};

// Internal: a grid of empty cells for a table shape laid over its frame.
std::shared_ptr<TableBody> makeTableBody(Shape& table, int rows, int columns);

}  // namespace host
