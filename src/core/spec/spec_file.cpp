#include "spec/spec_file.h"

#include <SimpleIni.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "common/errors.h"
#include "common/profile.h"
#include "psy/air_state.h"
#include "refrig/refrig_lib.h"
#include "units/number_text.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

const char* const kKnownSections[] = {"Ambient", "Room", "Fresh Air", "Coil", "Water", "Refrigerant"};

// Loads the profile file; a missing file is an empty profile. A file that is
// not text in any profile sense is an error.
bool loadProfile(CSimpleIniA& ini, const std::string& path) {
    ini.SetUnicode(true);
    std::error_code ec;
    if (!fs::exists(path, ec)) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) throw FileError("Unable to read " + path + "...");
    std::stringstream ss;
    ss << in.rdbuf();
    const std::string data = ss.str();
    if (data.find('\0') != std::string::npos || ini.LoadData(data) < 0)
        throw FileError(path + " is not a Velmora file...");
    bool known = false;
    for (const char* s : kKnownSections) known = known || ini.SectionExists(s);
    const bool blank = data.find_first_not_of(" \t\r\n") == std::string::npos;
    if (!known && !blank) throw FileError(path + " is not a Velmora file: it holds no specification...");
    return true;
}

TAirStateRec readState(const CSimpleIniA& ini, const std::string& path, const char* section, const char* key,
                       const char* def, double P) {
    const char* v = ini.GetValue(section, key, nullptr);
    const std::string text = v ? v : def;
    TAirStateRec r;
    try {
        SetStateFromText(text, r, P, 0.5);
    } catch (const ConversionError& e) {
        throw FileError(path + ": the entry \"" + key + "\" of [" + section + "] is not an air state (" + e.what() +
                        ")...");
    }
    return r;
}

std::string f3(double v) { return FormatFloat("%0.3f", v); }

}  // namespace

void WriteSpecFile(const TSpecification& s, const TRefrigLib& lib, const std::string& path) {
    const std::string failure = "Unable to write to " + path;
    CSimpleIniA ini;
    ini.SetUnicode(true);
    ini.SetSpaces(false);
    try {
        loadProfile(ini, path);  // keep what we do not write ourselves
    } catch (const FileError&) {
        ini.Reset();             // an unreadable old file is replaced whole
        ini.SetUnicode(true);
        ini.SetSpaces(false);
    }
    auto put = [&](const char* section, const char* key, const std::string& value) {
        if (ini.SetValue(section, key, value.c_str()) < 0) throw FileError(failure);
    };
    put("Ambient", "Pressure", f3(s.BP));
    put("Ambient", "Altitude", f3(s.SiteAltitude));
    put("Ambient", "Temperature", FormatDbWb(s.Ambient, "%0.2f"));
    put("Room", "Set Point", FormatDbWb(s.SetPoint, "%0.2f"));
    put("Room", "Sensible Load", f3(s.Qs));
    put("Room", "Total Load", f3(s.Qt));
    put("Room", "Massflow", f3(s.ma));
    put("Room", "Supply Air", FormatDbWb(s.OffCoil, "%0.2f"));
    put("Fresh Air", "Massflow", f3(s.FreshAir * s.ma));
    put("Fresh Air", "Fraction", f3(s.FreshAir));
    put("Coil", "Inlet Airflow", f3(s.Qai));
    put("Coil", "Inlet Temperature", FormatDbWb(s.OnCoil, "%0.2f"));
    put("Coil", "Outlet Temperature", FormatDbWb(s.OffCoil, "%0.2f"));
    put("Coil", "ADP", FormatFloat("%0.2f", s.ADP.db));
    put("Coil", "BF", f3(s.BF));
    put("Coil", "Coil Type", s.Coolant == coolDirectExpansion ? "Direct Expansion" : "Chilled Water");
    put("Coil", "Sensible Duty", f3(s.Qs));
    put("Coil", "Total Duty", f3(s.Qt));
    put("Water", "Supply Temperature", f3(s.Twi));
    put("Water", "DT", f3(s.Two - s.Twi));
    put("Water", "Flow", f3(s.mw));
    put("Refrigerant", "Type", lib.RefrigName());
    put("Refrigerant", "Suction", f3(s.Suction));
    put("Refrigerant", "Pressure", f3(s.SuctionPressure));

    std::string saved;
    if (ini.Save(saved) < 0) throw FileError(failure);
    // One blank line between sections, as a profile file usually has.
    std::string text;
    for (char c : saved) {
        if (c == '\n' && text.size() >= 2 && text[text.size() - 1] == '\n' && text[text.size() - 2] == '\n') continue;
        text += c;
    }
    // Write beside the target, then rename over it.
    const fs::path target(path);
    const fs::path dir = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::string tmpl = (dir / ("." + target.filename().string() + ".XXXXXX")).string();
    const int fd = mkstemp(tmpl.data());
    if (fd < 0) throw FileError(failure);
    bool ok = true;
    size_t done = 0;
    while (ok && done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) done += static_cast<size_t>(n);
    }
    ok = ok && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok) {
        // Keep the permissions of the file being replaced, else the usual ones.
        std::error_code ec;
        const auto st = fs::status(target, ec);
        const fs::perms p = !ec && fs::exists(st) ? st.permissions()
                                                  : fs::perms::owner_read | fs::perms::owner_write |
                                                        fs::perms::group_read | fs::perms::others_read;
        fs::permissions(tmpl, p, ec);
        // A read-only target is not ours to replace (checked on the mode bits,
        // which hold for every user alike).
        const fs::perms writable = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
        if (fs::exists(st) && ((st.permissions() & writable) == fs::perms::none || ::access(path.c_str(), W_OK) != 0))
            ok = false;
    }
    if (ok && std::rename(tmpl.c_str(), path.c_str()) != 0) ok = false;
    if (!ok) {
        std::remove(tmpl.c_str());
        throw FileError(failure);
    }
}

void ReadSpecFile(TSpecification& spec, TRefrigLib& lib, const std::string& path) {
    CSimpleIniA ini;
    loadProfile(ini, path);
    TSpecification s = spec;
    s.BP = ProfileReadFloat(ini, "Ambient", "Pressure", 101.325);
    s.SiteAltitude = Altitude(s.BP);
    s.Qai = ProfileReadFloat(ini, "Coil", "Inlet AirFlow", 10.0);
    s.FreshAir = ProfileReadFloat(ini, "Fresh Air", "Fraction", 0.12);
    const double adp = ProfileReadFloat(ini, "Coil", "ADP", 9.0);
    SetState(s.ADP, s.BP, adp, adp, 0);
    s.BF = ProfileReadFloat(ini, "Coil", "BF", 0.15);
    s.Qt = ProfileReadFloat(ini, "Coil", "Total Duty", s.Qt);
    s.Twi = ProfileReadFloat(ini, "Water", "Supply Temperature", 6.0);
    s.Ambient = readState(ini, path, "Ambient", "Temperature", "32/21", s.BP);
    {
        const char* v = ini.GetValue("Room", "Set Point", nullptr);
        if (v) s.SetPoint = readState(ini, path, "Room", "Set Point", "", s.BP);
        else SetState(s.SetPoint, s.BP, 22.5, 0.5, 3);
    }
    s.OnCoil = readState(ini, path, "Coil", "Inlet Temperature", "25/17", s.BP);
    s.OffCoil = readState(ini, path, "Coil", "Outlet Temperature", "13/12", s.BP);
    const char* type = ini.GetValue("Refrigerant", "Type", "R22");
    s.Refrigerant = type;
    s.Suction = ProfileReadFloat(ini, "Refrigerant", "Suction", 6.0);
    s.SuctionPressure = ProfileReadFloat(ini, "Refrigerant", "Pressure", 602.608);
    s.Calculate();
    lib.Select(s.Refrigerant);
    spec = s;
}

SpecFileExtras ReadSpecFileExtras(const std::string& path) {
    CSimpleIniA ini;
    SpecFileExtras x;
    if (!loadProfile(ini, path)) return x;
    if (const char* t = ini.GetValue("Coil", "Coil Type", nullptr)) {
        const std::string type = t;
        if (type == "Direct Expansion") x.coolant = coolDirectExpansion;
        else if (type == "Chilled Water") x.coolant = coolChilledWater;
    }
    if (const char* d = ini.GetValue("Water", "DT", nullptr)) {
        double v;
        if (TryTextToFloat(d, v) && v != 0) x.dt = v;
    }
    return x;
}

}  // namespace velmora
