#include "cli/option_parser.h"

#include <charconv>

namespace tavro {

void OptionParser::Flag(std::string name, bool& target, std::string alias) {
    m_options.push_back({std::move(name), std::move(alias), nullptr, &target});
}

void OptionParser::Value(std::string name, std::function<std::string(const std::string&)> take,
                         std::string alias) {
    m_options.push_back({std::move(name), std::move(alias), std::move(take), nullptr});
}

void OptionParser::Value(std::string name, std::string& target, std::string alias) {
    Value(
        std::move(name),
        [&target](const std::string& value) {
            target = value;
            return std::string();
        },
        std::move(alias));
}

const OptionParser::Option* OptionParser::Find(const std::string& name) const {
    for (const Option& option : m_options) {
        if (option.name == name || (!option.alias.empty() && option.alias == name)) return &option;
    }
    return nullptr;
}

std::string OptionParser::Parse(const std::vector<std::string>& args,
                                std::vector<std::string>& operands) const {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        if (optionsEnded || arg == "-" || arg.empty() || arg[0] != '-') {
            operands.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        std::optional<std::string> inlineValue;
        if (const std::size_t equals = arg.find('=');
            arg.rfind("--", 0) == 0 && equals != std::string::npos) {
            inlineValue = arg.substr(equals + 1);
            arg.resize(equals);
        }
        const Option* option = Find(arg);
        if (option == nullptr) return "unknown option '" + arg + "'";
        if (option->flag != nullptr) {
            if (inlineValue) return "option '" + arg + "' takes no value";
            *option->flag = true;
            continue;
        }
        if (!inlineValue) {
            if (i + 1 == args.size()) return "option '" + arg + "' needs a value";
            inlineValue = args[++i];
        }
        if (std::string error = option->take(*inlineValue); !error.empty()) return error;
    }
    return {};
}

std::optional<long long> ParseWholeNumber(const std::string& text, long long low, long long high) {
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    if (value < low || value > high) return std::nullopt;
    return value;
}

}  // namespace tavro
