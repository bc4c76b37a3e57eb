#include "ModelRun.h"

#include "DeckInput.h"
#include "FilePath.h"
#include "HydrographFile.h"
#include "ModelError.h"
#include "Network.h"
#include "Report.h"
#include "Simulation.h"
#include "Temporary.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <future>
#include <mutex>
#include <optional>
#include <ostream>
#include <sstream>

namespace rillo::model {

namespace {

namespace fs = std::filesystem;

bool samePath(const std::string& aText, const std::string& bText) {
    const fs::path a = filePath(aText), b = filePath(bText);
    std::error_code ec;
    if (fs::exists(a, ec) && fs::exists(b, ec)) return fs::equivalent(a, b, ec);
    return fs::absolute(a, ec).lexically_normal() == fs::absolute(b, ec).lexically_normal();
}

void checkPaths(const RunPaths& p) {
    const std::pair<const char*, const std::string*> outputs[] = {
        {"main output", &p.report}, {"subcatchment hydrograph output", &p.subcatchments}, {"gutter hydrograph output", &p.gutters}};
    for (const auto& [name, path] : outputs) {
        if (path->empty()) throw ModelError(std::string("No path was given for the ") + name + ".");
        if (samePath(*path, p.deck)) throw ModelError(std::string("The ") + name + " would overwrite the deck " + p.deck + ".");
        if (!p.hydrographInput.empty() && samePath(*path, p.hydrographInput))
            throw ModelError(std::string("The ") + name + " would overwrite the hydrograph input " + p.hydrographInput + ".");
    }
    for (int i = 0; i < 3; ++i)
        for (int j = i + 1; j < 3; ++j)
            if (samePath(*outputs[i].second, *outputs[j].second))
                throw ModelError(std::string("The ") + outputs[i].first + " and the " + outputs[j].first +
                                 " are the same file: " + *outputs[i].second + ".");
}

void checkFinite(const SimulationResult& res) {
    const auto bad = [](double v) { return !std::isfinite(v); };
    bool any = bad(res.runoff.rain) || bad(res.runoff.runoff) || bad(res.routing.storage) || bad(res.routing.outletOutflow);
    for (const auto& p : res.subcatchmentPeaks) any = any || bad(p.flow);
    for (const auto& p : res.elementPeaks) any = any || bad(p.flow) || bad(p.depth);
    if (any) throw ModelError("The computation gave a value that is not a number; check the deck's values for extremes.");
}

/// The run's outputs, each in a temporary until all are written. Files may
/// be written from two threads at once.
class Outputs {
public:
    ~Outputs() {
        for (const auto& t : temporaries_) std::remove(t.c_str());
        if (!committed_)
            for (const auto& p : renamed_) std::remove(p.c_str());
    }
    template <typename Write>
    void write(const std::string& path, Write&& fill) {
        const std::string temporary = temporaryBeside(path);
        {
            const std::lock_guard lock(mutex_);
            temporaries_.push_back(temporary);
            targets_.push_back(path);
        }
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) throw ModelError("Cannot create " + temporary + ".");
        fill(out);
        out.close();
        if (!out) throw ModelError("Cannot write " + temporary + " (is the disk full?).");
    }
    void commit() {
        for (std::size_t i = 0; i < targets_.size(); ++i) {
            if (!replaceWithTemporary(temporaries_[i], targets_[i]))
                throw ModelError("Cannot replace " + targets_[i] + ".");
            renamed_.push_back(targets_[i]);
        }
        temporaries_.clear();
        committed_ = true;
    }

private:
    std::mutex mutex_;
    std::vector<std::string> temporaries_, targets_, renamed_;
    bool committed_ = false;
};

/// "rillo-model: " and the message's first line, then each further line on
/// its own line, indented by two blanks.
std::string messageLines(const std::string& text) {
    std::string out = "rillo-model: ";
    std::size_t begin = 0;
    bool first = true;
    while (begin <= text.size()) {
        std::size_t end = text.find_first_of("\r\n", begin);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(begin, end - begin);
        if (first) {
            out += line + '\n';
        } else {
            line.erase(0, line.find_first_not_of(' '));
            if (!line.empty()) out += "  " + line + '\n';
        }
        first = false;
        begin = end + 1;
    }
    return out;
}

}  // namespace

int runModel(const RunPaths& paths, std::ostream& out, std::ostream& err, const RunOptions& options) {
    try {
        checkPaths(paths);
        ModelInput in = loadDeck(paths.deck);
        const Network net = buildNetwork(in.elements, in.warnings);
        std::optional<Hydrographs> imported;
        if (in.iopt == 1) {
            if (paths.hydrographInput.empty())
                throw ModelError("This deck (IOPT 1) imports sub-catchment hydrographs; give a hydrograph input file.");
            try {
                imported = readHydrographsFile(paths.hydrographInput);
                checkFlows(*imported, paths.hydrographInput);
            } catch (const std::exception& e) {
                throw ModelError(std::string("The hydrograph input cannot be read: ") + e.what());
            }
        } else if (!paths.hydrographInput.empty()) {
            in.warnings.push_back("The deck computes its own subcatchment hydrographs (IOPT 0); the hydrograph input " +
                                  paths.hydrographInput + " was not read.");
        }

        const auto checkStop = [&] {
            if (options.stop && *options.stop) throw ModelError("The run was stopped; no output was kept.");
        };
        Simulation sim(in, net, imported ? &*imported : nullptr, {}, options.elementDepths);
        const auto progress = [&](long step, long total) {
            checkStop();
            if (options.progress) out << "step " << step << " of " << total << std::endl;
        };
        SimulationResult res = sim.run(options.maxSteps, progress);
        checkFinite(res);
        // The report's Warnings table has them too; here they reach a user
        // who runs the model by hand.
        for (const std::string& w : in.warnings) err << "rillo-model: warning: " << w << "\n";

        Outputs outputs;
        if (in.iopt == 1) {
            // The imported hydrographs as the run used them, on its steps.
            Hydrographs& sub = res.subcatchmentFile;
            const Hydrographs& gut = res.elementFile;
            sub.title1 = gut.title1;
            sub.title2 = gut.title2;
            sub.startHour = gut.startHour;
            sub.startMinute = gut.startMinute;
            sub.stepMinutes = gut.stepMinutes;
            sub.kind = "subcatchments";
            for (const Tributary& t : in.tributaries) sub.series.push_back({SeriesKind::Flow, t.number, "cfs"});
            const std::size_t width = sub.series.size();
            sub.values.assign(width * static_cast<std::size_t>(res.steps), 0.0);
            for (std::size_t c = 0; c < width; ++c) {
                const long column = imported->flowColumn(in.tributaries[c].number);
                for (long s = 0; s < res.steps; ++s)
                    sub.values[static_cast<std::size_t>(s) * width + c] =
                        importedMean(*imported, static_cast<std::size_t>(column), s * in.stepMinutes / 60.0,
                                     (s + 1) * in.stepMinutes / 60.0);
            }
        }
        // Writing the numbers of the two hydrograph files is most of the
        // output's cost: the subcatchments' file is written beside the rest.
        auto subcatchments = std::async(std::launch::async, [&] {
            outputs.write(paths.subcatchments, [&](std::ostream& o) { writeHydrographs(o, res.subcatchmentFile); });
            res.subcatchmentFile = {};
        });
        try {
            outputs.write(paths.gutters, [&](std::ostream& o) { writeHydrographs(o, res.elementFile); });
            res.elementFile = {};
            outputs.write(paths.report, [&](std::ostream& o) { writeReport(o, paths.deck, in, net, res, {paths.report, paths.subcatchments, paths.gutters}); });
        } catch (...) {
            subcatchments.wait();
            throw;
        }
        subcatchments.get();
        checkStop();
        outputs.commit();
        return 0;
    } catch (const std::exception& e) {
        err << messageLines(e.what()) << std::flush;
        return 1;
    }
}

}  // namespace rillo::model
