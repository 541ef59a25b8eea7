// SPDX-License-Identifier: MIT
// The table's rows in the three formats it writes: tab-separated text as it
// always was, CSV for spreadsheets and JSON for programs. Each row is handed
// on as soon as it is formed, so that a reader that stops early (`| head`)
// stops the program at once, in JSON too.
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kestrow {

enum class TableFormat { Tsv, Csv, Json };

// One field of a row: text, or a number to be written as one in JSON, or
// nothing at all (an absent event), which is empty in TSV and CSV and null
// in JSON.
struct Cell {
    std::optional<std::string> text;
    bool number = false;
};

class RowWriter {
  public:
    using Sink = std::function<void(std::string_view)>;

    // `columns` are the header's names, and JSON's keys. TSV and CSV begin
    // with a header line unless `header` is false; JSON always names its
    // keys in every object.
    RowWriter(TableFormat format, std::vector<std::string> columns, bool header, Sink sink);

    // One row, with as many cells as there are columns.
    void Row(std::span<const Cell> cells);
    // Closes what the format leaves open (JSON's array); call once, after
    // the last row.
    void Finish();

  private:
    void Begin();

    TableFormat format_;
    std::vector<std::string> columns_;
    bool header_;
    Sink sink_;
    bool begun_ = false;
    bool anyRow_ = false;
    std::string line_;
};

// Parses "tsv", "csv" or "json"; nothing for any other text.
std::optional<TableFormat> TableFormatNamed(std::string_view name);

}  // namespace kestrow
