#include "record/string_grid.h"

#include <stdexcept>

namespace zor::record {

StringGrid::StringGrid(int columns, int rows)
    : columns_(columns), rows_(rows), cells_(static_cast<std::size_t>(columns) * rows) {}

std::size_t StringGrid::Index(int column, int row) const {
    if (column < 0 || column >= columns_ || row < 0 || row >= rows_) {
        throw std::out_of_range("grid cell (" + std::to_string(column) + ", " +
                                std::to_string(row) + ") lies outside the grid");
    }
    return static_cast<std::size_t>(row) * columns_ + column;
}

const std::string& StringGrid::Cell(int column, int row) const {
    return cells_[Index(column, row)];
}

void StringGrid::SetCell(int column, int row, std::string text) {
    cells_[Index(column, row)] = std::move(text);
}

void StringGrid::ClearColumn(int column) {
    for (int row = 0; row < rows_; ++row) cells_[Index(column, row)].clear();
}

}  // namespace zor::record
