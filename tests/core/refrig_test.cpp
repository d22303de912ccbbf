// Refrigerant library: the built-in R22, the data file rules, and the shipped
// data file against the reference tables.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/errors.h"
#include "refrig/refrig_lib.h"

using namespace velmora;
namespace fs = std::filesystem;

namespace {

class TempDir {
public:
    TempDir() {
        path_ = fs::temp_directory_path() / ("velmora-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter_++));
        fs::create_directories(path_);
    }
    ~TempDir() { fs::remove_all(path_); }
    std::string file(const std::string& name, const std::string& content) const {
        const auto p = path_ / name;
        std::ofstream(p) << content;
        return p.string();
    }

private:
    fs::path path_;
    static inline int counter_ = 0;
};

const char* kR22Lists =
    "dp=21.39916,-2103.23,254.0905\nbp=21.39916,-2103.23,254.0905\nlh=200005.4,1169.513,1.346602,0.01149432\n"
    "vh=251040.6,373.4119,-1.685585,-0.01689365,154002.2\nlv=0.0007803834,2.02297e-06,1.027511e-08,1.380161e-10\n";

std::string shippedFile() { return std::string(VELMORA_SOURCE_DIR) + "/data/RefLib8.rdf"; }

}  // namespace

TEST(Refrig, BuiltInR22WithoutADataFile) {
    TRefrigLib lib("/nonexistent/RefLib8.rdf");
    EXPECT_TRUE(lib.RefrigNames().empty());
    EXPECT_EQ(lib.RefrigName(), "R22");
    EXPECT_EQ(lib.FullName(), "R22 (chlorodifluoromethane, CHClF2)");
    EXPECT_NEAR(lib.SatPressure(6) * 0.001, 604.8, 0.05);
    EXPECT_NEAR(lib.SatPressure(0), 499657, 1);
    EXPECT_NEAR(lib.SatPressure(-40.8) * 0.001, 102.6, 0.05);
    EXPECT_NEAR(lib.LatentHeat(0), 205037.4, 1e-6);
    EXPECT_NEAR(lib.LiqVolume(0), 0.00078, 1e-6);
    EXPECT_EQ(lib.CritTemp(), 96.1);
    EXPECT_EQ(lib.CritPressure(), 4990000);
    EXPECT_EQ(lib.BoilTemp(), -40.8);
    EXPECT_EQ(lib.Glide(500000), 0);
    EXPECT_NEAR(lib.SuperheatEnthalpy(5, 5), lib.VapEnthalpy(5), 1e-9);
    for (double T = -60; T <= 60; T += 7.5) EXPECT_NEAR(lib.DewTemp(lib.SatPressure(T)), T, 1e-9) << T;
    lib.Select("R134a");  // no file: still R22
    EXPECT_EQ(lib.RefrigName(), "R22");
}

TEST(Refrig, ArithmeticFailuresAreErrors) {
    TRefrigLib lib("");
    EXPECT_THROW(lib.DewTemp(0), CalcError);
    EXPECT_THROW(lib.DewTemp(-5), CalcError);
    EXPECT_THROW(lib.SatPressure(-254.0905), CalcError);
    EXPECT_THROW(lib.VapVolume(-273.15), CalcError);
}

TEST(Refrig, FileRulesForSectionsListsAndNames) {
    TempDir dir;
    const std::string path = dir.file("RefLib8.rdf",
        std::string("; comment\n[r717]\nRNumber=R717\nChemicalName=ammonia\nFormula=H3N\nTCrit=132.25\n") + kR22Lists +
        "\n[Bare]\nRNumber=Bare\ndp=20,-2000,250\n"
        "\n[Alias]\nRNumber=OtherName\nChemicalName=alias\n" + kR22Lists +
        "\n[NoNumber]\nChemicalName=nameless\n" + kR22Lists +
        "\n[Blend]\nRNumber=Blend\nChemicalName=R-32/125 blend\nFormula=\n" + kR22Lists +
        "\n[Short]\nRNumber=Short\ndp=1,2\n"
        "\n[Bad]\nRNumber=Bad\ndp=21.4, x ,254\n");
    TRefrigLib lib(path);
    EXPECT_EQ(lib.RefrigNames(), (std::vector<std::string>{"Alias", "Bad", "Bare", "Blend", "NoNumber", "r717", "Short"}));
    EXPECT_EQ(lib.RefrigName(), "R22");  // created with "R22", which the file lacks
    EXPECT_TRUE(lib.CachedName().empty());

    lib.Select("R717");  // sections match without regard to case
    EXPECT_EQ(lib.RefrigName(), "R717");
    EXPECT_EQ(lib.CritTemp(), 132.25);
    EXPECT_EQ(lib.BoilTemp(), -40.8);  // a missing scalar keeps the built-in value

    lib.Select("Bare");  // only RNumber and dp: other lists are zeros
    EXPECT_EQ(lib.CritTemp(), 96.1);
    EXPECT_EQ(lib.CritPressure(), 4990000);
    EXPECT_EQ(lib.LiqVolume(10), 0);
    EXPECT_EQ(lib.LatentHeat(10), 0);
    EXPECT_EQ(lib.VapVolume(10), 0);
    EXPECT_NEAR(lib.SatPressure(0), std::exp(20 - 2000.0 / 250), 1e-6);

    lib.Select("Blend");
    EXPECT_EQ(lib.FullName(), "Blend (R-32/125 blend, )");

    lib.Select("NoNumber");
    EXPECT_EQ(lib.RefrigName(), "R22");
    EXPECT_EQ(lib.Data().ChemicalName, "nameless");

    // A malformed list fails the selection and leaves the cached name alone.
    lib.Select("R717");
    EXPECT_THROW(lib.Select("Short"), ConversionError);
    EXPECT_EQ(lib.CachedName(), "R717");
    try {
        lib.Select("Bad");
        FAIL();
    } catch (const ConversionError& e) {
        EXPECT_NE(std::string(e.what()).find("list dp"), std::string::npos) << e.what();
    }
    EXPECT_EQ(lib.CachedName(), "R717");
}

TEST(Refrig, SelectingTheCurrentNameReadsNothing) {
    TempDir dir;
    const std::string body = std::string("[R717]\nRNumber=R717\nTCrit=132.25\n") + kR22Lists +
                             "[Alias]\nRNumber=OtherName\nTCrit=50\n" + kR22Lists;
    const std::string path = dir.file("RefLib8.rdf", body);
    TRefrigLib lib(path);
    lib.Select("R717");
    dir.file("RefLib8.rdf", std::string("[R717]\nRNumber=R717\nTCrit=1\n") + kR22Lists +
                                "[Alias]\nRNumber=OtherName\nTCrit=51\n" + kR22Lists);
    lib.Select("r717");
    EXPECT_EQ(lib.CritTemp(), 132.25);  // cached: the changed file is not read
    // A section whose RNumber differs from its name is read on every Select.
    lib.Select("Alias");
    EXPECT_EQ(lib.CritTemp(), 51);
    dir.file("RefLib8.rdf", std::string("[R717]\nRNumber=R717\nTCrit=1\n") + kR22Lists +
                                "[Alias]\nRNumber=OtherName\nTCrit=52\n" + kR22Lists);
    lib.Select("Alias");
    EXPECT_EQ(lib.CritTemp(), 52);
    // A name without a section brings back R22; the next Select reads again.
    lib.Select("R717");
    lib.Select("Missing");
    EXPECT_EQ(lib.RefrigName(), "R22");
    EXPECT_EQ(lib.CritTemp(), 96.1);
    lib.Select("R717");
    EXPECT_EQ(lib.CritTemp(), 1);
}

// The shipped data file against the reference tables it was fitted to.
TEST(Refrig, ShippedDataFileMatchesTheTables) {
    TRefrigLib lib(shippedFile());
    ASSERT_GE(lib.RefrigNames().size(), 20u);
    for (const auto& name : lib.RefrigNames()) {
        ASSERT_NO_THROW(lib.Select(name)) << name;
        EXPECT_EQ(lib.RefrigName(), name);
        const auto& d = lib.Data();
        EXPECT_LT(d.TMin, d.TMax) << name;
        for (double T = d.TMin; T <= d.TMax; T += 5) EXPECT_NEAR(lib.DewTemp(lib.SatPressure(T)), T, 1e-8) << name;
    }
    for (const char* name : {"R134a", "R410A", "R717", "R744", "R407C"}) {
        lib.Select(name);
        const auto& d = lib.Data();
        std::ifstream in(std::string(VELMORA_TEST_DATA_DIR) + "/refrigerants/" + name + ".csv");
        ASSERT_TRUE(in.good()) << name;
        std::string line;
        std::getline(in, line);
        int rows = 0;
        while (std::getline(in, line)) {
            std::stringstream ss(line);
            std::vector<double> c;
            for (std::string cell; std::getline(ss, cell, ',');) c.push_back(cell.empty() ? NAN : std::stod(cell));
            const double T = c[0];
            if (T < d.TMin || T > d.TMax) continue;
            ++rows;
            EXPECT_NEAR(lib.SatPressure(T) / c[2], 1, 0.005) << name << " dew pressure at " << T;
            EXPECT_NEAR(lib.BubbleTemp(c[1]), T, 0.3) << name << " bubble point at " << T;
            EXPECT_NEAR(lib.LatentHeat(T) / (c[4] - c[3]), 1, 0.01) << name << " latent heat at " << T;
            EXPECT_NEAR(lib.LiqVolume(T) / c[5], 1, 0.01) << name << " liquid volume at " << T;
            EXPECT_NEAR(lib.VapVolume(T) / c[6], 1, 0.01) << name << " vapour volume at " << T;
        }
        EXPECT_GT(rows, 40) << name;
    }
    lib.Select("R407C");
    EXPECT_GT(lib.Glide(500000), 4);  // a zeotropic blend glides
    lib.Select("R134a");
    EXPECT_NEAR(lib.SatPressure(0) * 0.001, 292.8, 1.5);
}
