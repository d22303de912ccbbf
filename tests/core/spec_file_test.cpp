// Specification files: defaults, case-insensitive keys, round trips, unknown
// sections, and the safety of failed saves and loads.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "common/errors.h"
#include "psy/air_state.h"
#include "refrig/refrig_lib.h"
#include "spec/spec_edits.h"
#include "spec/spec_file.h"
#include "spec/spec_report.h"
#include "units/number_text.h"

using namespace velmora;
namespace fs = std::filesystem;

namespace {

class SpecFile : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("velmora-spec-" + std::to_string(::getpid()) + "-" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
        spec.NewSpecification(lib);
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(dir, fs::perms::all, ec);
        fs::remove_all(dir);
    }
    std::string path(const std::string& name) const { return (dir / name).string(); }
    std::string write(const std::string& name, const std::string& content) const {
        std::ofstream(path(name), std::ios::binary) << content;
        return path(name);
    }
    static std::string read(const std::string& p) {
        std::ifstream in(p, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }

    fs::path dir;
    TRefrigLib lib{std::string(VELMORA_SOURCE_DIR) + "/data/RefLib8.rdf"};
    TSpecification spec;
};

}  // namespace

TEST_F(SpecFile, MissingFileGivesTheDefaultsAndKeepsTwo) {
    EditAmbient(spec, "35/25");
    spec.Two = 13.5;
    ReadSpecFile(spec, lib, path("none.vmi"));
    EXPECT_DOUBLE_EQ(spec.BP, 101.325);
    EXPECT_DOUBLE_EQ(spec.Ambient.db, 32);
    EXPECT_DOUBLE_EQ(spec.Ambient.wb, 21);
    EXPECT_NEAR(spec.SetPoint.rh, 0.5, 1e-9);
    EXPECT_DOUBLE_EQ(spec.Qai, 10);
    EXPECT_DOUBLE_EQ(spec.Two, 13.5);
    EXPECT_EQ(spec.Refrigerant, "R22");
}

TEST_F(SpecFile, KeysMatchWithoutRegardToCase) {
    ReadSpecFile(spec, lib, write("a.vmi", "[coil]\ninlet airflow=4.5\n[AMBIENT]\nTEMPERATURE = 30/20 \n"));
    EXPECT_DOUBLE_EQ(spec.Qai, 4.5);
    EXPECT_DOUBLE_EQ(spec.Ambient.db, 30);
    EXPECT_DOUBLE_EQ(spec.Ambient.wb, 20);
}

TEST_F(SpecFile, OnlyThePressure) {
    spec.Two = 14;
    ReadSpecFile(spec, lib, write("p.vmi", "[Ambient]\nPressure=90\n"));
    EXPECT_DOUBLE_EQ(spec.BP, 90);
    EXPECT_NEAR(spec.SiteAltitude, Altitude(90), 1e-9);
    EXPECT_NEAR(spec.SiteAltitude, 988.5, 0.5);
    EXPECT_DOUBLE_EQ(spec.Ambient.db, 32);
    EXPECT_DOUBLE_EQ(spec.Ambient.pa, 90);
    EXPECT_DOUBLE_EQ(spec.FreshAir, 0.12);
    EXPECT_DOUBLE_EQ(spec.Two, 14);
}

TEST_F(SpecFile, SaveAndOpenReturnTheInputs) {
    EditBarometer(spec, 95.4321);
    EditAmbient(spec, "33.333/22.222");
    EditSetPoint(spec, "23.456/16.789");
    EditAirFlow(spec, 7.8912);
    EditFreshAir(spec, 0.2345);
    EditADP(spec, 10.123);
    EditBF(spec, 0.1789);
    EditWaterIn(spec, 6.7891);
    lib.Select("R134a");
    spec.Refrigerant = "R134a";
    spec.Suction = 4.321;
    spec.SuctionPressure = 333.333;
    spec.Coolant = coolDirectExpansion;
    const std::string file = path("round.vmi");
    WriteSpecFile(spec, lib, file);
    const std::string text = read(file);
    EXPECT_NE(text.find("Coil Type=Direct Expansion"), std::string::npos);
    EXPECT_NE(text.find("Temperature=33.33/22.22"), std::string::npos);
    EXPECT_NE(text.find("DT=" + FormatFloat("%0.3f", spec.Two - spec.Twi)), std::string::npos);

    TSpecification back;
    back.NewSpecification(lib);
    ReadSpecFile(back, lib, file);
    EXPECT_NEAR(back.BP, spec.BP, 0.0005);
    EXPECT_NEAR(back.Ambient.db, spec.Ambient.db, 0.005);
    EXPECT_NEAR(back.Ambient.wb, spec.Ambient.wb, 0.005);
    EXPECT_NEAR(back.SetPoint.db, spec.SetPoint.db, 0.005);
    EXPECT_NEAR(back.SetPoint.wb, spec.SetPoint.wb, 0.005);
    EXPECT_NEAR(back.Qai, spec.Qai, 0.0005);
    EXPECT_NEAR(back.FreshAir, spec.FreshAir, 0.0005);
    EXPECT_NEAR(back.ADP.db, spec.ADP.db, 0.005);
    EXPECT_NEAR(back.BF, spec.BF, 0.0005);
    EXPECT_NEAR(back.Twi, spec.Twi, 0.0005);
    EXPECT_EQ(back.Refrigerant, "R134a");
    EXPECT_EQ(lib.RefrigName(), "R134a");
    EXPECT_DOUBLE_EQ(back.Suction, 4.321);
    EXPECT_DOUBLE_EQ(back.SuctionPressure, 333.333);
    EXPECT_EQ(back.Coolant, coolChilledWater);  // loading never changes the coolant
    EXPECT_EQ(ReadSpecFileExtras(file).coolant, coolDirectExpansion);
}

TEST_F(SpecFile, UnknownSectionsAndEntriesSurvive) {
    const std::string file = write("keep.vmi",
        "; written by hand\n[Project]\nClient=Harbour Hotel\n\n[Coil]\nInlet AirFlow=4.5\nRows=6\n");
    WriteSpecFile(spec, lib, file);
    const std::string text = read(file);
    EXPECT_NE(text.find("[Project]\nClient=Harbour Hotel"), std::string::npos) << text;
    EXPECT_NE(text.find("Rows=6"), std::string::npos);
    EXPECT_NE(text.find("Inlet AirFlow=10.000"), std::string::npos) << "updated in place, key spelling kept";
    EXPECT_EQ(text.find("Inlet Airflow="), std::string::npos);
    EXPECT_NE(text.find("; written by hand"), std::string::npos);
}

TEST_F(SpecFile, FailedSavesLeaveThePreviousFile) {
    const std::string file = write("ro.vmi", "[Ambient]\nPressure=90\n");
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    try {
        WriteSpecFile(spec, lib, file);
        FAIL();
    } catch (const FileError& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + file);
    }
    EXPECT_EQ(read(file), "[Ambient]\nPressure=90\n");
    const std::string missing = path("no/such/folder/x.vmi");
    EXPECT_THROW(WriteSpecFile(spec, lib, missing), FileError);
    for (const auto& e : fs::directory_iterator(dir))
        EXPECT_EQ(e.path().filename().string().find(".ro.vmi"), std::string::npos) << "temporary file left behind";
}

TEST_F(SpecFile, BadFilesNameTheProblemAndChangeNothing) {
    EditAmbient(spec, "35/25");
    const TSpecification before = spec;
    auto unchanged = [&] {
        return spec.Ambient.db == before.Ambient.db && spec.BP == before.BP && spec.Qai == before.Qai &&
               spec.FreshAir == before.FreshAir && spec.Qt == before.Qt;
    };
    // Truncated in the middle of an air state: the pressure before it is not taken.
    const std::string truncated = write("cut.vmi", "[Ambient]\nPressure=90\nTemperature=32.00/\n");
    try {
        ReadSpecFile(spec, lib, truncated);
        FAIL();
    } catch (const FileError& e) {
        const std::string m = e.what();
        EXPECT_NE(m.find(truncated), std::string::npos) << m;
        EXPECT_NE(m.find("Temperature"), std::string::npos) << m;
    }
    EXPECT_TRUE(unchanged());
    const std::string garbage = write("junk.vmi", std::string("\x7f" "ELF\x02\x01\x01\0\0\0binary", 16));
    EXPECT_THROW(ReadSpecFile(spec, lib, garbage), FileError);
    EXPECT_TRUE(unchanged());
    const std::string prose = write("notes.vmi", "This is a shopping list, not a coil.\nMilk\n");
    EXPECT_THROW(ReadSpecFile(spec, lib, prose), FileError);
    EXPECT_TRUE(unchanged());
    // Numbers that do not convert take their defaults, as the profile reader does.
    ReadSpecFile(spec, lib, write("num.vmi", "[Coil]\nInlet AirFlow=lots\nBF=\n"));
    EXPECT_DOUBLE_EQ(spec.Qai, 10);
    EXPECT_DOUBLE_EQ(spec.BF, 0.15);
}

TEST(SpecReport, LinesForBothCoolants) {
    TRefrigLib lib("");
    TSpecification s;
    s.NewSpecification(lib);
    auto lines = BuildReportLines(s, "Velmora 1.0.6.0");
    ASSERT_EQ(lines.size(), 31u);
    EXPECT_EQ(lines[0].text, "Velmora Specification");
    EXPECT_EQ(lines[0].style, rsBold | rsUnderline);
    EXPECT_EQ(lines[1].text, "Velmora 1.0.6.0");
    EXPECT_EQ(lines[3].style, rsBold);
    EXPECT_EQ(lines[4].text, "Pressure\t101.325\tkPa");
    EXPECT_EQ(lines[5].text, "Altitude\t0\tm");
    EXPECT_EQ(lines[11].text, "Fresh Air\t12.0\t%");
    EXPECT_EQ(lines[12].text, "Ambient\t32.0/21.0\t°C");
    EXPECT_EQ(lines[17].text, "Water");
    EXPECT_EQ(lines[18].text, "Water In\t6.000\t°C");
    EXPECT_EQ(lines[20].text, "Heat Capacity\t4.199\tkJ/kgK");
    EXPECT_EQ(lines[24].text, "Apparatus Dewpoint\t9.00\t°C");
    EXPECT_EQ(lines[25].text, "Bypass Factor\t15.0\t%");
    EXPECT_EQ(lines[26].text.rfind("Sensible Heat Ratio\t", 0), 0u);
    EXPECT_EQ(lines[26].text.substr(lines[26].text.size() - 2), "\t ");
    EXPECT_EQ(lines.back().style, rsItalic);
    EXPECT_NE(lines.back().text.find("Aldermoor Software"), std::string::npos);

    const std::string clipWater = ClipboardText(s);
    s.Coolant = coolDirectExpansion;
    lines = BuildReportLines(s, "Velmora 1.0.6.0");
    ASSERT_EQ(lines.size(), 28u);
    EXPECT_EQ(lines[17].text, "Refrigerant");
    EXPECT_EQ(lines[18].text, "Suction\t6.000\t°C");
    EXPECT_EQ(ClipboardText(s), clipWater);

    const std::string clip = clipWater;
    EXPECT_EQ(clip.rfind("Velmora Specification\r\nBarometer,101.325\r\nAirFlow,10.000\r\n", 0), 0u);
    size_t lineEnds = 0;
    for (size_t p = clip.find("\r\n"); p != std::string::npos; p = clip.find("\r\n", p + 2)) ++lineEnds;
    EXPECT_EQ(lineEnds, 11u);
    EXPECT_NE(clip.substr(clip.size() - 2), "\r\n");
    EXPECT_NE(clip.find("\r\nWaterIn,6.000\r\nAmbient,32.00/21.00\r\n"), std::string::npos);
}
