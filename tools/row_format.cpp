// SPDX-License-Identifier: MIT
#include "tools/row_format.h"

#include <utility>

namespace kestrow {
namespace {

// RFC 4180: a field holding a separator, a quote or a line break is quoted,
// its quotes doubled.
void AppendCsvField(std::string& out, std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += text;
        return;
    }
    out += '"';
    for (const char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

// RFC 8259's string: quote, backslash and control characters escaped; the
// rest (UTF-8 included) as it stands.
void AppendJsonString(std::string& out, std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            out += "\\u00";
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
        } else {
            out += c;
        }
    }
    out += '"';
}

}  // namespace

RowWriter::RowWriter(TableFormat format, std::vector<std::string> columns, bool header, Sink sink)
    : format_(format), columns_(std::move(columns)), header_(header), sink_(std::move(sink)) {}

void RowWriter::Begin() {
    begun_ = true;
    line_.clear();
    if (format_ == TableFormat::Json) {
        sink_("[");
        return;
    }
    if (!header_) return;
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        if (i > 0) line_ += format_ == TableFormat::Csv ? ',' : '\t';
        if (format_ == TableFormat::Csv) {
            AppendCsvField(line_, columns_[i]);
        } else {
            line_ += columns_[i];
        }
    }
    line_ += format_ == TableFormat::Csv ? "\r\n" : "\n";
    sink_(line_);
}

void RowWriter::Row(std::span<const Cell> cells) {
    if (!begun_) Begin();
    line_.clear();
    switch (format_) {
        case TableFormat::Tsv:
            for (std::size_t i = 0; i < cells.size(); ++i) {
                if (i > 0) line_ += '\t';
                if (cells[i].text) line_ += *cells[i].text;
            }
            line_ += '\n';
            break;
        case TableFormat::Csv:
            for (std::size_t i = 0; i < cells.size(); ++i) {
                if (i > 0) line_ += ',';
                if (cells[i].text) AppendCsvField(line_, *cells[i].text);
            }
            line_ += "\r\n";
            break;
        case TableFormat::Json:
            line_ += anyRow_ ? ",\n{" : "\n{";
            for (std::size_t i = 0; i < cells.size() && i < columns_.size(); ++i) {
                if (i > 0) line_ += ',';
                AppendJsonString(line_, columns_[i]);
                line_ += ':';
                if (!cells[i].text) {
                    line_ += "null";
                } else if (cells[i].number) {
                    line_ += *cells[i].text;
                } else {
                    AppendJsonString(line_, *cells[i].text);
                }
            }
            line_ += '}';
            break;
    }
    anyRow_ = true;
    sink_(line_);
}

void RowWriter::Finish() {
    if (!begun_) Begin();
    if (format_ == TableFormat::Json) sink_(anyRow_ ? "\n]\n" : "]\n");
}

std::optional<TableFormat> TableFormatNamed(std::string_view name) {
    if (name == "tsv") return TableFormat::Tsv;
    if (name == "csv") return TableFormat::Csv;
    if (name == "json") return TableFormat::Json;
    return std::nullopt;
}

}  // namespace kestrow
