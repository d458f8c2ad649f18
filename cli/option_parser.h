// The command-line grammar shared by Tavro's command-line programs.
//
// Options are declared with what they fill; Parse then walks the arguments:
// "--name VALUE" and "--name=VALUE" for options that take a value (a short
// alias such as "-o" takes "-o VALUE"), bare names for flags, "--" ends the
// options, and every other argument, "-" included, is an operand. A usage
// error comes back as a one-line text without the program's name.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tavro {

class OptionParser {
  public:
    // A flag: sets `target` when given. `alias` is another spelling ("-h").
    void Flag(std::string name, bool& target, std::string alias = {});
    // An option with a value: `take` receives it, and returns an error text for a
    // value it does not accept (empty when it does).
    void Value(std::string name, std::function<std::string(const std::string&)> take,
               std::string alias = {});
    void Value(std::string name, std::string& target, std::string alias = {});

    // Parses `args` (without the program's name), appending the operands to
    // `operands`; the error text of the first usage error, or an empty text.
    std::string Parse(const std::vector<std::string>& args,
                      std::vector<std::string>& operands) const;

  private:
    struct Option {
        std::string name;
        std::string alias;
        std::function<std::string(const std::string&)> take;  // null for a flag
        bool* flag = nullptr;
    };
    const Option* Find(const std::string& name) const;

    std::vector<Option> m_options;
};

// A whole number from `low` to `high` written in decimal, or nothing.
std::optional<long long> ParseWholeNumber(const std::string& text, long long low, long long high);

}  // namespace tavro
