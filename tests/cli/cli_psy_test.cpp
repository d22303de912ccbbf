// velmora-cli psy: the table, one CSV line, batch input and bad arguments.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "cli.h"

using velmora::cli::RunCli;

namespace {
struct RunResult {
    int status;
    std::string out, err;
};
RunResult run(std::vector<std::string> args, const std::string& input = "") {
    std::istringstream in(input);
    std::ostringstream out, err;
    const int s = RunCli(args, in, out, err);
    return {s, out.str(), err.str()};
}
}  // namespace

TEST(CliPsy, PrintsTheStateAsATable) {
    const RunResult r = run({"psy", "101.325", "25", "17", "0"});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("Dry Bulb"), std::string::npos);
    EXPECT_NE(r.out.find("25.00  °C"), std::string::npos);
    EXPECT_NE(r.out.find("Status         0 (ok)"), std::string::npos);
}

TEST(CliPsy, CsvAndBatchLinesHaveTwelveColumns) {
    const RunResult one = run({"psy", "101.325", "25", "0.5", "3", "--csv"});
    EXPECT_EQ(one.status, 0);
    EXPECT_EQ(one.out.rfind("101.325,25,", 0), 0u) << one.out;
    EXPECT_EQ(std::count(one.out.begin(), one.out.end(), ','), 11);
    EXPECT_NE(one.out.find(",0.5,"), std::string::npos);

    const RunResult b = run({"psy", "--batch"}, "101.325 25 0.5 3\n\nabc 1 2 3\n101.325 25 17 6\n90\t30 20 0\n101.325 25 1.5 3\n");
    EXPECT_EQ(b.status, 0);
    std::istringstream lines(b.out);
    std::vector<std::string> l;
    for (std::string s; std::getline(lines, s);) l.push_back(s);
    ASSERT_EQ(l.size(), 6u) << b.out;
    EXPECT_EQ(l[0], one.out.substr(0, one.out.size() - 1));
    EXPECT_EQ(l[1].rfind("error,", 0), 0u);
    EXPECT_EQ(l[2].rfind("error,P 'abc'", 0), 0u);
    EXPECT_EQ(l[3].rfind("error,MODE 6", 0), 0u);
    EXPECT_EQ(l[4].rfind("90,30,20,", 0), 0u);
    EXPECT_EQ(l[4].substr(l[4].size() - 2), ",0");
    EXPECT_NE(l[5].substr(l[5].size() - 2), ",0") << "supersaturated input must carry a status";
}

TEST(CliPsy, BadArgumentsExitWithStatusTwo) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"psy"}, {"psy", "101.325", "25", "17"}, {"psy", "101.325", "x", "17", "0"},
             {"psy", "101.325", "25", "17", "2.5"}, {"psy", "101.325", "25", "17", "40"},
             {"psy", "--frobnicate", "1", "2", "3", "0"}, {"nonsense"}}) {
        const RunResult r = run(args);
        EXPECT_EQ(r.status, 2) << args.size();
        EXPECT_FALSE(r.err.empty());
        EXPECT_TRUE(r.out.empty());
    }
}
