// velmora-cli new | report | edit: specification files from the command line.
#include <filesystem>
#include <ostream>
#include <unistd.h>

#include "cli.h"
#include "common/errors.h"
#include "common/version.h"
#include "refrig/refrig_lib.h"
#include "spec/spec_edits.h"
#include "spec/spec_file.h"
#include "spec/spec_report.h"

namespace velmora::cli {
namespace {

namespace fs = std::filesystem;

// The shared files lie in "Common Files" beside the program's own folder.
std::string defaultRefrigerantFile() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return {};
    return (exe.parent_path().parent_path() / "Common Files" / "RefLib8.rdf").string();
}

struct Options {
    std::vector<std::string> positional;
    std::vector<std::string> sets;
    std::string out;
    std::string refrigerantFile;
    bool clipboard = false, json = false;
};

Options parse(const std::vector<std::string>& args) {
    Options o;
    o.refrigerantFile = defaultRefrigerantFile();
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](const char* what) {
            if (i + 1 >= args.size()) throw UsageError{std::string(what) + " needs a value"};
            return args[++i];
        };
        if (a == "--set") o.sets.push_back(value("--set"));
        else if (a.rfind("--set=", 0) == 0) o.sets.push_back(a.substr(6));
        else if (a == "-o" || a == "--output") o.out = value("-o");
        else if (a == "--refrigerant-data") o.refrigerantFile = value("--refrigerant-data");
        else if (a == "--clipboard") o.clipboard = true;
        else if (a == "--json") o.json = true;
        else if (a.size() > 1 && a[0] == '-') throw UsageError{"unknown option '" + a + "' for " + args[0]};
        else o.positional.push_back(a);
    }
    if (o.positional.size() != 1) throw UsageError{args[0] + " needs exactly one FILE.vmi (try --help)"};
    return o;
}

// Loads like the window's Open, from a new specification; the coolant and
// water outlet temperature, which Open keeps from before, come from the file.
TSpecification load(TRefrigLib& lib, const std::string& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) throw UsageError{"cannot open " + path + ": no such file"};
    if (::access(path.c_str(), R_OK) != 0) throw UsageError{"cannot read " + path};
    TSpecification s;
    s.NewSpecification(lib);
    const SpecFileExtras extras = ReadSpecFileExtras(path);
    ReadSpecFile(s, lib, path);
    if (extras.coolant) s.Coolant = *extras.coolant;
    if (extras.dt) {
        s.Two = s.Twi + *extras.dt;
        s.CalcDuties();
    }
    return s;
}

}  // namespace

int RunSpecCommand(const std::vector<std::string>& args, std::istream&, std::ostream& out, std::ostream& err) {
    const Options o = parse(args);
    TRefrigLib lib(o.refrigerantFile);
    const std::string& file = o.positional[0];
    const std::string& cmd = args[0];
    if (cmd == "new") {
        if (!o.sets.empty() || !o.out.empty() || o.clipboard || o.json) throw UsageError{"new takes only FILE.vmi"};
        TSpecification s;
        s.NewSpecification(lib);
        WriteSpecFile(s, lib, file);
        return 0;
    }
    if (cmd == "report") {
        if (o.clipboard && o.json) throw UsageError{"choose one of --clipboard and --json"};
        if (!o.sets.empty() || !o.out.empty()) throw UsageError{"report does not edit; use edit"};
        const TSpecification s = load(lib, file);
        if (o.json) out << SpecificationJson(s);
        else if (o.clipboard) out << ClipboardText(s) << "\n";
        else out << ReportPlainText(BuildReportLines(s, CaptionText()));
        return 0;
    }
    // edit
    if (o.clipboard || o.json) throw UsageError{"edit does not print a report"};
    if (o.sets.empty()) throw UsageError{"edit needs at least one --set FIELD=VALUE"};
    struct Change {
        SpecField field;
        std::string value;
    };
    std::vector<Change> changes;
    for (const std::string& set : o.sets) {
        const auto eq = set.find('=');
        if (eq == std::string::npos) throw UsageError{"--set '" + set + "' is not FIELD=VALUE"};
        const auto field = SpecFieldFromKey(set.substr(0, eq));
        if (!field)
            throw UsageError{"unknown field '" + set.substr(0, eq) +
                             "' (Barometer, Ambient, SetPoint, AirFlow, FreshAir, ADP, BF, OnCoil, OffCoil, TotalDuty, WaterIn)"};
        changes.push_back({*field, set.substr(eq + 1)});
    }
    TSpecification s = load(lib, file);
    for (const Change& c : changes) {
        try {
            const EditOutcome r = ApplyFieldEdit(s, c.field, c.value);
            if (!r.message.empty()) err << SpecFieldKey(c.field) << ": " << r.message << "\n";
        } catch (const VelmoraError& e) {
            throw UsageError{std::string(SpecFieldKey(c.field)) + "=" + c.value + ": " + e.what()};
        }
    }
    WriteSpecFile(s, lib, o.out.empty() ? file : o.out);
    return 0;
}

}  // namespace velmora::cli
