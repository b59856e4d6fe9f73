#include "CtlCommand.h"

#include <ostream>

namespace qarvon::ctl {

CtlArgs::CtlArgs(std::vector<std::string> words)
    : m_words(std::move(words))
{}

bool CtlArgs::TakeOption(const std::string &name, std::string *value)
{
    for (std::size_t i = 0; i < m_words.size(); ++i) {
        const std::string &w = m_words[i];
        if (w == name) {
            if (i + 1 >= m_words.size()) {
                m_error = name + " needs a value";
                m_words.erase(m_words.begin() + static_cast<std::ptrdiff_t>(i));
                return false;
            }
            *value = m_words[i + 1];
            m_words.erase(m_words.begin() + static_cast<std::ptrdiff_t>(i),
                          m_words.begin() + static_cast<std::ptrdiff_t>(i) + 2);
            return true;
        }
        if (w.rfind(name + "=", 0) == 0) {
            *value = w.substr(name.size() + 1);
            m_words.erase(m_words.begin() + static_cast<std::ptrdiff_t>(i));
            return true;
        }
        if (w == "--")
            break;
    }
    return false;
}

bool CtlArgs::TakeFlag(const std::string &name)
{
    for (std::size_t i = 0; i < m_words.size(); ++i) {
        if (m_words[i] == "--")
            break;
        if (m_words[i] == name) {
            m_words.erase(m_words.begin() + static_cast<std::ptrdiff_t>(i));
            return true;
        }
    }
    return false;
}

std::vector<std::string> CtlArgs::Positional() const
{
    std::vector<std::string> result;
    bool rest = false;
    for (const auto &w : m_words) {
        if (!rest && w == "--") {
            rest = true;
            continue;
        }
        if (!rest && w.size() > 2 && w.rfind("--", 0) == 0)
            continue;
        result.push_back(w);
    }
    return result;
}

std::string CtlArgs::Check() const
{
    if (!m_error.empty())
        return m_error;
    for (const auto &w : m_words) {
        if (w == "--")
            break;
        if (w.size() > 2 && w.rfind("--", 0) == 0)
            return "unknown option " + w;
    }
    return {};
}

std::vector<CtlCommand> &Commands()
{
    static std::vector<CtlCommand> commands;
    return commands;
}

CtlRegistrar::CtlRegistrar(const CtlCommand &command)
{
    Commands().push_back(command);
}

int UsageError(CtlContext &context, const std::string &message)
{
    const CtlCommand &command = *context.command;
    *context.err << "qarvonctl " << command.name << ": " << message << "\n"
                 << "usage: qarvonctl [--root DIR] " << command.name << ' ' << command.usage << "\n";
    return kUsage;
}

const CtlCommand *FindCommand(const std::string &name)
{
    for (const auto &c : Commands()) {
        if (name == c.name)
            return &c;
    }
    return nullptr;
}

} // namespace qarvon::ctl
