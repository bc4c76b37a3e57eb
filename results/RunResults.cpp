#include "RunResults.h"

#include "FilePath.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace rillo::results {

namespace {

// Header lines of a hydrograph file, for the messages that refuse one.
constexpr long KindLine = 4;
constexpr long StepLine = 6;

std::string at(const std::string& path, long line, const std::string& what) {
    return path + ", line " + std::to_string(line) + ": " + what;
}

bool exists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(filePath(path), ec);
}

}  // namespace

ReportLoad loadReport(const std::string& path) {
    ReportLoad load;
    load.path = path;
    load.state = LoadState::Refused;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        load.message = path + ": the report cannot be opened (" + (exists(path) ? "it cannot be read" : "there is no such file") + ")";
        return load;
    }
    try {
        load.tables = model::readReportTables(in, path);
    } catch (const model::ReportFileError& e) {
        load.message = e.what();
        return load;
    } catch (const std::exception& e) {
        load.message = path + ": " + e.what();
        return load;
    }
    if (load.tables.empty()) {
        in.clear();
        in.seekg(0);
        long lines = 0;
        for (std::string line; std::getline(in, line);) ++lines;
        load.message = lines == 0 ? at(path, 1, "the report is empty (the run may not have finished)")
                                  : at(path, lines, "the file ends without any table of a model report; it is not "
                                                    "a report of this program's model, or it is incomplete");
        return load;
    }
    load.state = LoadState::Loaded;
    return load;
}

HydrographLoad loadHydrographFile(const std::string& path) {
    HydrographLoad load;
    load.path = path;
    if (!exists(path)) return load;
    try {
        load.data = std::make_shared<const model::Hydrographs>(model::readHydrographsFile(path));
        load.state = LoadState::Loaded;
    } catch (const model::HydrographFileError& e) {
        load.state = LoadState::Refused;
        load.message = e.what();
    } catch (const std::bad_alloc&) {
        load.state = LoadState::Refused;
        load.message = path + ": the file is too large for the memory available";
    } catch (const std::exception& e) {
        load.state = LoadState::Refused;
        load.message = path + ": " + e.what();
    }
    return load;
}

std::string whyNotShown(const ResultsFiles& files) {
    std::string why;
    const auto add = [&why](const std::string& problem) { why += (why.empty() ? "" : "\n") + problem; };
    const ReportLoad report = loadReport(files.sot);
    if (report.state != LoadState::Loaded) add(report.message);
    for (const std::string& path : {files.sub, files.gut}) {
        if (!exists(path)) continue;
        std::ifstream in(path, std::ios::binary);
        std::string first;
        std::getline(in, first);
        if (first.rfind(model::HydrographMagic, 0) != 0)
            add(at(path, 1, "it is not a hydrograph file of this program's model"));
    }
    return why;
}

RunResults::RunResults(ResultsFiles files) : files_(std::move(files)) {
    report_.path = files_.sot;
    sub_.path = files_.sub;
    gut_.path = files_.gut;
}

void RunResults::setHydrographs(SeriesFile file, HydrographLoad load) {
    auto refuse = [](HydrographLoad& l, long line, const std::string& what) {
        l.state = LoadState::Refused;
        l.message = at(l.path, line, what);
        l.data.reset();
    };
    if (load.state == LoadState::Loaded) {
        const std::string wanted = file == SeriesFile::Sub ? "subcatchments" : "elements";
        if (load.data->kind != wanted)
            refuse(load, KindLine, "the file holds " + load.data->kind + " where " + wanted + " belong");
    }
    (file == SeriesFile::Sub ? sub_ : gut_) = std::move(load);

    // Both files come from one run, so they share the time steps; when they
    // do not, the element file is refused whichever was read first.
    if (sub_.state == LoadState::Loaded && gut_.state == LoadState::Loaded) {
        const model::Hydrographs& s = *sub_.data;
        const model::Hydrographs& g = *gut_.data;
        if (s.stepMinutes != g.stepMinutes || s.steps() != g.steps() || s.startHour != g.startHour ||
            s.startMinute != g.startMinute)
            refuse(gut_, StepLine,
                   "its time steps differ from those of " + sub_.path + "; the two files are not of one run");
    }
}

std::vector<SeriesId> RunResults::firstLook() const {
    std::vector<SeriesId> chosen, flows[2];
    for (SeriesId id : series()) {
        if (isRain(id)) {
            if (chosen.empty()) chosen.push_back(id);
        } else if (info(id).kind == model::SeriesKind::Flow) {
            flows[id.file == SeriesFile::Gut ? 0 : 1].push_back(id);
        }
    }
    std::vector<SeriesId>& pool = flows[0].empty() ? flows[1] : flows[0];
    std::vector<std::pair<double, SeriesId>> peaks;
    for (SeriesId id : pool) {
        const std::vector<double> v = values(id);
        peaks.emplace_back(v.empty() ? 0.0 : *std::max_element(v.begin(), v.end()), id);
    }
    std::stable_sort(peaks.begin(), peaks.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    for (std::size_t i = 0; i < peaks.size() && i < 2; ++i) chosen.push_back(peaks[i].second);
    return chosen;
}


std::vector<SeriesId> RunResults::series() const {
    std::vector<SeriesId> rain, flows;
    for (SeriesFile file : {SeriesFile::Sub, SeriesFile::Gut}) {
        const HydrographLoad& load = hydrographs(file);
        if (load.state != LoadState::Loaded) continue;
        const auto& columns = load.data->series;
        for (std::size_t c = 0; c < columns.size(); ++c) {
            if (columns[c].kind != model::SeriesKind::Rain) {
                flows.push_back({file, c});
                continue;
            }
            bool seen = false;
            for (SeriesId r : rain) seen = seen || info(r).number == columns[c].number;
            if (!seen) rain.push_back({file, c});
        }
    }
    rain.insert(rain.end(), flows.begin(), flows.end());
    return rain;
}

const model::SeriesInfo& RunResults::info(SeriesId id) const {
    const HydrographLoad& load = hydrographs(id.file);
    if (!load.data || id.column >= load.data->series.size()) throw std::out_of_range("no such series");
    return load.data->series[id.column];
}

std::string RunResults::label(SeriesId id) const {
    const model::SeriesInfo& s = info(id);
    const char* what = s.kind == model::SeriesKind::Rain ? "Hyetograph "
                       : id.file == SeriesFile::Sub      ? "Subcatchment "
                                                         : "Element ";
    const char* after = s.kind == model::SeriesKind::Depth ? " depth" : s.kind == model::SeriesKind::Diverted ? " diverted" : "";
    return what + std::to_string(s.number) + after;
}

std::vector<double> RunResults::values(SeriesId id) const {
    info(id);  // refuses an unknown series
    const model::Hydrographs& h = *hydrographs(id.file).data;
    std::vector<double> out(h.steps());
    for (std::size_t step = 0; step < out.size(); ++step) out[step] = h.value(step, id.column);
    return out;
}

bool RunResults::find(SeriesFile file, model::SeriesKind kind, long number, SeriesId& id) const {
    const HydrographLoad& load = hydrographs(file);
    if (load.state != LoadState::Loaded) return false;
    for (std::size_t c = 0; c < load.data->series.size(); ++c)
        if (load.data->series[c].kind == kind && load.data->series[c].number == number) {
            id = {file, c};
            return true;
        }
    return false;
}

const model::Hydrographs* RunResults::timeBase() const {
    if (sub_.state == LoadState::Loaded) return sub_.data.get();
    if (gut_.state == LoadState::Loaded) return gut_.data.get();
    return nullptr;
}

std::size_t RunResults::steps() const { return timeBase() ? timeBase()->steps() : 0; }

double RunResults::stepMinutes() const { return timeBase() ? timeBase()->stepMinutes : 1.0; }

double RunResults::hoursAt(std::size_t step) const { return timeBase() ? timeBase()->hoursAt(step) : 0.0; }

int RunResults::startMinuteOfDay() const {
    return timeBase() ? timeBase()->startHour * 60 + timeBase()->startMinute : 0;
}

std::string RunResults::clockAt(std::size_t step) const {
    const long long seconds = std::llround(startMinuteOfDay() * 60.0 + hoursAt(step) * 3600.0);
    const long long days = seconds / 86400;
    const long long inDay = seconds % 86400;
    char text[48];
    if (inDay % 60 == 0)
        std::snprintf(text, sizeof text, "%02lld:%02lld", inDay / 3600, inDay / 60 % 60);
    else
        std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", inDay / 3600, inDay / 60 % 60, inDay % 60);
    std::string out = text;
    if (days > 0) out += " +" + std::to_string(days) + "d";
    return out;
}

std::vector<std::string> RunResults::problems() const {
    std::vector<std::string> out;
    if (report_.state == LoadState::Refused) out.push_back(report_.message);
    for (const HydrographLoad* l : {&sub_, &gut_})
        if (l->state == LoadState::Refused) out.push_back(l->message);
    return out;
}

}  // namespace rillo::results
