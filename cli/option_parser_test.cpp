#include "cli/option_parser.h"

#include <gtest/gtest.h>

namespace tavro {
namespace {

struct Parsed {
    std::string error;
    bool flag = false;
    std::string value;
    std::vector<std::string> operands;
};

Parsed Parse(const std::vector<std::string>& args) {
    Parsed parsed;
    OptionParser parser;
    parser.Flag("--flag", parsed.flag, "-f");
    parser.Value("--value", parsed.value, "-v");
    parser.Value("--even", [](const std::string& value) {
        return value.size() % 2 == 0 ? std::string() : "--even wants an even length";
    });
    parsed.error = parser.Parse(args, parsed.operands);
    return parsed;
}

TEST(OptionParser, OptionsValuesAndOperandsInAnyOrder) {
    const Parsed p = Parse({"a", "--flag", "-v", "x", "-", "--value=y=z", "b"});
    EXPECT_EQ(p.error, "");
    EXPECT_TRUE(p.flag);
    EXPECT_EQ(p.value, "y=z");  // the last one counts; only the first '=' splits
    EXPECT_EQ(p.operands, (std::vector<std::string>{"a", "-", "b"}));
    EXPECT_EQ(Parse({"--", "--flag", "-v"}).operands, (std::vector<std::string>{"--flag", "-v"}));
    EXPECT_EQ(Parse({"--value", ""}).value, "");
}

TEST(OptionParser, UsageErrors) {
    EXPECT_EQ(Parse({"--bogus"}).error, "unknown option '--bogus'");
    EXPECT_EQ(Parse({"-x"}).error, "unknown option '-x'");
    EXPECT_EQ(Parse({"--flag=1"}).error, "option '--flag' takes no value");
    EXPECT_EQ(Parse({"--value"}).error, "option '--value' needs a value");
    EXPECT_EQ(Parse({"--even", "abc"}).error, "--even wants an even length");
}

TEST(OptionParser, WholeNumbersInRange) {
    EXPECT_EQ(ParseWholeNumber("17", 1, 256), 17);
    for (const char* bad : {"", "0", "257", "-3", "1x", " 5", "99999999999999999999"}) {
        EXPECT_FALSE(ParseWholeNumber(bad, 1, 256).has_value()) << bad;
    }
}

}  // namespace
}  // namespace tavro
