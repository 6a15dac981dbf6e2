#pragma once
// The mission image: a table of text cells, 401 rows by 6 columns. Row r
// (1..400) holds file offset r - 1; column 2 holds the byte as decimal text
// and is the only data column. Widths, heights and visibility are kept for
// a view; the editor never shows the grid.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestrane {

class Grid {
public:
    static constexpr int kRows = 401;
    static constexpr int kCols = 6;
    static constexpr int kValueCol = 2;

    Grid();

    const std::string& TextMatrix(int row, int col) const { return cells_[index(row, col)]; }
    void SetTextMatrix(int row, int col, std::string_view text) { cells_[index(row, col)] = text; }

    // Column 2 as a byte; empty when the cell holds no valid byte value.
    std::optional<std::uint8_t> Byte(int row) const;
    // Writes a byte value as plain decimal digits into column 2.
    void SetByte(int row, std::uint8_t value);

    int Rows() const { return kRows; }
    int Cols() const { return cols_; }
    void SetCols(int cols) { cols_ = cols; }

    int ColWidth(int col) const { return colWidth_[col]; }
    void SetColWidth(int col, int twips) { colWidth_[col] = twips; }
    int RowHeight(int row) const { return rowHeight_[row]; }
    void SetRowHeight(int row, int twips) { rowHeight_[row] = twips; }

    enum class Align { Default, LeftCenter };
    Align ColAlignment(int col) const { return colAlign_[col]; }
    void SetColAlignment(int col, Align a) { colAlign_[col] = a; }

    bool Visible() const { return visible_; }
    void SetVisible(bool v) { visible_ = v; }

    void Refresh() { ++refreshes_; }
    int RefreshCount() const { return refreshes_; }

    static constexpr int kDefaultRowHeight = 240;

private:
    static constexpr int index(int row, int col) { return row * kCols + col; }

    std::array<std::string, kRows * kCols> cells_{};
    std::array<int, kRows> rowHeight_{};
    std::array<int, kCols> colWidth_{};
    std::array<Align, kCols> colAlign_{};
    int cols_ = kCols;
    bool visible_ = true;
    int refreshes_ = 0;
};

// Decimal text of a whole number, no sign, blank or leading zero.
std::string DecimalText(std::uint64_t value);
// Upper-case hexadecimal text without leading zeros ("0" for zero).
std::string HexText(std::uint64_t value);

}  // namespace kestrane
