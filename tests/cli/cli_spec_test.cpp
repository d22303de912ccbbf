// velmora-cli new, report and edit on real files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "cli.h"

using velmora::cli::RunCli;
namespace fs = std::filesystem;

namespace {

struct Result {
    int status;
    std::string out, err;
};

class CliSpec : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("velmora-cli-" + std::to_string(::getpid()) + "-" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    Result run(std::vector<std::string> args) {
        args.push_back("--refrigerant-data");
        args.push_back(std::string(VELMORA_TEST_DATA_DIR) + "/../../data/RefLib8.rdf");
        std::istringstream in;
        std::ostringstream out, err;
        const int s = RunCli(args, in, out, err);
        return {s, out.str(), err.str()};
    }
    std::string file(const char* name) const { return (dir / name).string(); }
    static std::string read(const std::string& p) {
        std::ifstream in(p);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    fs::path dir;
};

}  // namespace

TEST_F(CliSpec, NewThenReportInEveryForm) {
    const std::string f = file("a.vmi");
    ASSERT_EQ(run({"new", f}).status, 0);
    EXPECT_NE(read(f).find("Temperature=32.00/21.00"), std::string::npos);

    const Result text = run({"report", f});
    EXPECT_EQ(text.status, 0) << text.err;
    EXPECT_NE(text.out.find("Velmora Specification\n====="), std::string::npos);
    EXPECT_NE(text.out.find("  Fresh Air"), std::string::npos);
    EXPECT_NE(text.out.find("12.0 %"), std::string::npos);

    const Result clip = run({"report", f, "--clipboard"});
    EXPECT_EQ(clip.out.rfind("Velmora Specification\r\nBarometer,101.325\r\n", 0), 0u);

    const Result json = run({"report", f, "--json"});
    EXPECT_EQ(json.status, 0);
    EXPECT_NE(json.out.find("\"Ambient\": {\"pa\": 101.325, \"db\": 32, \"wb\": 21,"), std::string::npos) << json.out;
    EXPECT_NE(json.out.find("\"Refrigerant\": \"R22\""), std::string::npos);
    EXPECT_NE(json.out.find("\"AirflowHeld\": true"), std::string::npos);
}

TEST_F(CliSpec, EditAppliesFieldsInOrderAsTheWindowDoes) {
    const std::string f = file("b.vmi"), out = file("c.vmi");
    ASSERT_EQ(run({"new", f}).status, 0);
    const std::string original = read(f);
    // An off-coil entry, then a duty: the airflow follows the duty.
    Result r = run({"edit", f, "--set", "OffCoil=14/12.5", "--set", "TotalDuty=100", "-o", out});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(read(f), original);
    const std::string edited = read(out);
    EXPECT_NE(edited.find("Outlet Temperature=14.00/12.50"), std::string::npos);
    EXPECT_NE(edited.find("Total Duty=100.000"), std::string::npos);
    EXPECT_EQ(edited.find("Inlet Airflow=10.000"), std::string::npos) << "the airflow moved";
    // Saved back in place when no output is named; a plausibility message goes to standard error.
    r = run({"edit", f, "--set", "Barometer=60", "--set", "SetPoint=99/99"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("SetPoint: The setpoint is not valid..."), std::string::npos);
    EXPECT_NE(read(f).find("Pressure=60.000"), std::string::npos);
}

TEST_F(CliSpec, ErrorsChangeNoFile) {
    const std::string f = file("d.vmi");
    ASSERT_EQ(run({"new", f}).status, 0);
    const std::string original = read(f);
    const std::vector<std::vector<std::string>> bad = {
        {"edit", f, "--set", "Humidity=3"},
        {"edit", f, "--set", "AirFlow=lots"},
        {"edit", f, "--set", "FreshAir=0.3", "--set", "OffCoil=24.9/15"},
        {"edit", f, "--set", "Barometer"},
        {"edit", f},
        {"report", file("missing.vmi")},
        {"report", f, "--json", "--clipboard"},
        {"new"},
    };
    for (const auto& args : bad) {
        const Result r = run(args);
        EXPECT_EQ(r.status, 2) << args.back();
        EXPECT_FALSE(r.err.empty()) << args.back();
        EXPECT_EQ(read(f), original) << args.back();
    }
    const Result r = run({"edit", f, "--set", "OffCoil=24.9/15"});
    EXPECT_NE(r.err.find("OffCoil=24.9/15"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("apparatus dew point"), std::string::npos) << r.err;
}
