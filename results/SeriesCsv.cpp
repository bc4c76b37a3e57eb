#include "SeriesCsv.h"

#include <charconv>
#include <fstream>
#include <ostream>
#include <stdexcept>

namespace rillo::results {

namespace {

void appendNumber(std::string& out, double v) {
    char buf[32];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
    if (ec != std::errc{}) throw std::runtime_error("a value cannot be written");
    out.append(buf, end);
}

}  // namespace

void writeSeriesCsv(std::ostream& out, const RunResults& results, const std::vector<SeriesId>& chosen) {
    std::vector<std::vector<double>> columns;
    columns.reserve(chosen.size());
    std::string text = "Time (h),Clock time";
    for (SeriesId id : chosen) {
        text += "," + results.label(id) + " (" + results.unit(id) + ")";
        columns.push_back(results.values(id));
    }
    text += "\r\n";
    for (std::size_t step = 0; step < results.steps(); ++step) {
        appendNumber(text, results.hoursAt(step));
        text += "," + results.clockAt(step);
        for (const auto& column : columns) {
            text += ',';
            appendNumber(text, column[step]);
        }
        text += "\r\n";
        if (text.size() > (1u << 16)) {
            out << text;
            text.clear();
        }
    }
    out << text;
    if (!out) throw std::runtime_error("the values could not be written");
}

void writeSeriesCsvFile(const std::string& path, const RunResults& results, const std::vector<SeriesId>& chosen) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error("cannot create " + path);
    writeSeriesCsv(out, results, chosen);
    out.close();
    if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace rillo::results
