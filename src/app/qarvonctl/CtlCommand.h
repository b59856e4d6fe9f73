#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace qarvon::ctl {

enum ExitCode { kOk = 0, kFailed = 1, kUsage = 2 };

// The words after the command name, taken apart as a command asks for them.
class CtlArgs
{
public:
    explicit CtlArgs(std::vector<std::string> words);

    // "--name VALUE" or "--name=VALUE"; false when absent. A missing value is a usage error.
    bool TakeOption(const std::string &name, std::string *value);
    bool TakeFlag(const std::string &name);
    // What is left once options are taken; an unknown "--x" is reported by Check.
    std::vector<std::string> Positional() const;
    // The usage error found so far, empty when none (unknown options, missing values).
    std::string Check() const;

private:
    std::vector<std::string> m_words;
    std::string m_error;
};

struct CtlCommand;

struct CtlContext
{
    const CtlCommand *command = nullptr; // the command being run
    std::string root; // the app root, with a trailing "/"
    bool xml = false; // print raw answers instead of tables
    bool terminal = false; // standard output is a terminal
    std::ostream *out = nullptr;
    std::ostream *err = nullptr;
};

struct CtlCommand
{
    const char *name;
    const char *usage;   // arguments, after the command name
    const char *summary; // one line for --help
    int (*run)(CtlContext &context, CtlArgs &args);
};

// Commands register themselves from their own source file:
//   static const CtlRegistrar reg({"name", "ARGS", "what it does", &runName});
std::vector<CtlCommand> &Commands();

struct CtlRegistrar
{
    explicit CtlRegistrar(const CtlCommand &command);
};

// Reports a usage error of the running command and returns kUsage.
int UsageError(CtlContext &context, const std::string &message);
const CtlCommand *FindCommand(const std::string &name);

} // namespace qarvon::ctl
