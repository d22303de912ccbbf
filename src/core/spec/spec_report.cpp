#include "spec/spec_report.h"

#include <algorithm>

#include "common/version.h"
#include "psy/air_state.h"
#include "units/number_text.h"

namespace velmora {

std::vector<ReportLine> BuildReportLines(const TSpecification& s, const std::string& caption) {
    std::vector<ReportLine> r;
    auto add = [&](unsigned style, std::string text) { r.push_back({style, std::move(text)}); };
    auto num = [&](const char* fmt, double v) { add(rsPlain, FormatFloat(fmt, v)); };
    auto pair = [&](const char* name, const TAirStateRec& st) {
        add(rsPlain, std::string(name) + "\t" + FormatDbWb(st, "%0.1f") + "\t°C");
    };
    add(rsBold | rsUnderline, "Velmora Specification");
    add(rsPlain, caption);
    add(rsPlain, "");
    add(rsBold, "Barometer");
    num("Pressure\t%0.3f\tkPa", s.BP);
    num("Altitude\t%0.0f\tm", s.SiteAltitude);
    add(rsPlain, "");
    add(rsBold, "Air");
    num("Inlet AirFlow\t%0.3f\tm³/s", s.Qai);
    num("Outlet AirFlow\t%0.3f\tm³/s", s.Qao);
    num("Massflow\t%0.3f\tkg/s", s.ma);
    num("Fresh Air\t%0.1f\t%%", s.FreshAir * 100);
    pair("Ambient", s.Ambient);
    pair("SetPoint", s.SetPoint);
    pair("On-Coil", s.OnCoil);
    pair("Off-Coil", s.OffCoil);
    add(rsPlain, "");
    if (s.Coolant == coolChilledWater) {
        add(rsBold, "Water");
        num("Water In\t%0.3f\t°C", s.Twi);
        num("Water Out\t%0.3f\t°C", s.Two);
        num("Heat Capacity\t%0.3f\tkJ/kgK", s.cpw);
        num("Massflow\t%0.3f\tkg/s", s.mw);
    } else {
        add(rsBold, "Refrigerant");
        num("Suction\t%0.3f\t°C", s.Twi);
    }
    add(rsPlain, "");
    add(rsBold, "Performance");
    num("Apparatus Dewpoint\t%0.2f\t°C", s.ADP.db);
    num("Bypass Factor\t%0.1f\t%%", s.BF * 100);
    num("Sensible Heat Ratio\t%0.3f\t ", s.SHR);
    num("Total Duty\t%0.1f\tkW", s.Qt);
    num("Sensible Duty\t%0.1f\tkW", s.Qs);
    add(rsPlain, "");
    add(rsItalic, "Produced with " + std::string(kProductName) + ". © " + std::to_string(kReportYear) + " " + kMakerName);
    return r;
}

namespace {
// Display width in characters of UTF-8 text.
size_t width(const std::string& s) {
    return static_cast<size_t>(std::count_if(s.begin(), s.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}
}  // namespace

std::string ReportPlainText(const std::vector<ReportLine>& lines) {
    // Columns: name left-aligned, value right-aligned, unit.
    size_t nameW = 0, valueW = 0;
    for (const auto& l : lines) {
        const auto t1 = l.text.find('\t');
        if (t1 == std::string::npos) continue;
        const auto t2 = l.text.find('\t', t1 + 1);
        nameW = std::max(nameW, width(l.text.substr(0, t1)));
        valueW = std::max(valueW, width(l.text.substr(t1 + 1, t2 == std::string::npos ? std::string::npos : t2 - t1 - 1)));
    }
    std::string out;
    for (const auto& l : lines) {
        const auto t1 = l.text.find('\t');
        if (t1 == std::string::npos) {
            out += l.text + "\n";
            if (l.style & rsUnderline) out += std::string(width(l.text), '=') + "\n";
            continue;
        }
        const auto t2 = l.text.find('\t', t1 + 1);
        const std::string name = l.text.substr(0, t1);
        const std::string value = l.text.substr(t1 + 1, t2 == std::string::npos ? std::string::npos : t2 - t1 - 1);
        const std::string unit = t2 == std::string::npos ? "" : l.text.substr(t2 + 1);
        std::string line = "  " + name + std::string(nameW - width(name) + 2, ' ') +
                           std::string(valueW - width(value), ' ') + value + " " + unit;
        while (!line.empty() && line.back() == ' ') line.pop_back();
        out += line + "\n";
    }
    return out;
}

std::string ClipboardText(const TSpecification& s) {
    const std::string nl = "\r\n";
    return "Velmora Specification" + nl + FormatFloat("Barometer,%0.3f", s.BP) + nl +
           FormatFloat("AirFlow,%0.3f", s.Qai) + nl + FormatFloat("FreshAir,%0.3f", s.FreshAir) + nl +
           FormatFloat("ADP,%0.2f", s.ADP.db) + nl + FormatFloat("BF,%0.3f", s.BF) + nl +
           FormatFloat("TotalDuty,%0.3f", s.Qt) + nl + FormatFloat("WaterIn,%0.3f", s.Twi) + nl + "Ambient," +
           FormatDbWb(s.Ambient, "%0.2f") + nl + "SetPoint," + FormatDbWb(s.SetPoint, "%0.2f") + nl + "OnCoil," +
           FormatDbWb(s.OnCoil, "%0.2f") + nl + "OffCoil," + FormatDbWb(s.OffCoil, "%0.2f");
}

namespace {
std::string jnum(double v) { return FormatFloat("%0.12g", v); }
std::string jstr(const std::string& s) {
    std::string o = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\') o += '\\';
        if (static_cast<unsigned char>(c) < 0x20) {
            static const char hex[] = "0123456789abcdef";
            o += std::string("\\u00") + hex[(c >> 4) & 0xF] + hex[c & 0xF];
            continue;
        }
        o += c;
    }
    return o + "\"";
}
std::string jstate(const TAirStateRec& r) {
    const std::pair<const char*, double> f[] = {{"pa", r.pa}, {"db", r.db}, {"wb", r.wb}, {"ha", r.ha},
                                                {"wa", r.wa}, {"rh", r.rh}, {"td", r.td}, {"pv", r.pv},
                                                {"ps", r.ps}, {"ro", r.ro}, {"cp", r.cp}};
    std::string o = "{";
    for (size_t i = 0; i < std::size(f); ++i) o += (i ? ", \"" : "\"") + std::string(f[i].first) + "\": " + jnum(f[i].second);
    return o + "}";
}
}  // namespace

std::string SpecificationJson(const TSpecification& s) {
    std::string o = "{\n";
    auto field = [&](const char* name, const std::string& value, bool last = false) {
        o += "  \"" + std::string(name) + "\": " + value + (last ? "\n" : ",\n");
    };
    field("AirflowHeld", s.AirflowHeld ? "true" : "false");
    field("BP", jnum(s.BP));
    field("SiteAltitude", jnum(s.SiteAltitude));
    field("Ambient", jstate(s.Ambient));
    field("SetPoint", jstate(s.SetPoint));
    field("OnCoil", jstate(s.OnCoil));
    field("OffCoil", jstate(s.OffCoil));
    field("ADP", jstate(s.ADP));
    field("BF", jnum(s.BF));
    field("FreshAir", jnum(s.FreshAir));
    field("ma", jnum(s.ma));
    field("Qai", jnum(s.Qai));
    field("Qao", jnum(s.Qao));
    field("Qs", jnum(s.Qs));
    field("Qt", jnum(s.Qt));
    field("SHR", jnum(s.SHR));
    field("Coolant", std::to_string(s.Coolant));
    field("Twi", jnum(s.Twi));
    field("Two", jnum(s.Two));
    field("mw", jnum(s.mw));
    field("cpw", jnum(s.cpw));
    field("Refrigerant", jstr(s.Refrigerant));
    field("Suction", jnum(s.Suction));
    field("SuctionPressure", jnum(s.SuctionPressure), true);
    return o + "}\n";
}

}  // namespace velmora
