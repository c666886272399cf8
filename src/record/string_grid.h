#pragma once
// A grid of text cells addressed as (column, row), both counted from 0, like the
// hidden grids of the administration record.
#include <string>
#include <vector>

namespace zor::record {

class StringGrid {
  public:
    StringGrid(int columns, int rows);

    // Both throw std::out_of_range for a cell outside the grid.
    const std::string& Cell(int column, int row) const;
    void SetCell(int column, int row, std::string text);

    // Empties one column over every row.
    void ClearColumn(int column);

  private:
    std::size_t Index(int column, int row) const;

    int columns_;
    int rows_;
    std::vector<std::string> cells_;
};

}  // namespace zor::record
