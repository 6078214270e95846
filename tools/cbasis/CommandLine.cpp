#include "CommandLine.h"

namespace cbasis {

namespace {

const Option* Find(const Command& cmd, const std::string& word) {
    for (const Option& option : cmd.options)
        if (word == option.name || (option.shortName && word == option.shortName)) return &option;
    return nullptr;
}

}  // namespace

Parsed ParseCommandLine(const Command& cmd, char** words, int count, Args& args, std::string& error) {
    for (int i = 0; i < count; ++i) {
        std::string word = words[i];
        if (word == "--") {
            args.operands.insert(args.operands.end(), words + i + 1, words + count);
            break;
        }
        if (word.size() < 2 || word[0] != '-') {  // "-" alone is an operand, as for most tools
            args.operands.push_back(word);
            continue;
        }
        if (word == "--help" || word == "-h") return Parsed::kHelp;
        size_t equals = word.rfind("--", 0) == 0 ? word.find('=') : std::string::npos;
        const Option* option = Find(cmd, word.substr(0, equals));
        if (!option) {
            error = "unknown option '" + word + "'";
            return Parsed::kUsage;
        }
        if (!option->takesValue) {
            if (equals != std::string::npos) {
                error = "option '" + std::string(option->name) + "' takes no value";
                return Parsed::kUsage;
            }
            args.Set(option->name, std::string());
        } else if (equals != std::string::npos) {
            args.Set(option->name, word.substr(equals + 1));
        } else if (i + 1 < count) {
            args.Set(option->name, words[++i]);
        } else {
            error = "option '" + std::string(option->name) + "' needs a value";
            return Parsed::kUsage;
        }
    }
    return Parsed::kRun;
}

}  // namespace cbasis
