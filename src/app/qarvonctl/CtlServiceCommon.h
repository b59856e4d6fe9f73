#pragma once

// What the service commands share: signing in for a command, watching the
// answers (raw printing with --xml, telling "no answer" from "refused"),
// reporting failures and printing tables.

#include "CtlCommand.h"

#include "uQarvonPO.h"

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace qarvon::ctl {

// Watches every service answer from now on: with --xml each body is printed
// as it came. Remembers whether an answer was missing or unreadable.
class CtlAnswerWatch
{
public:
    explicit CtlAnswerWatch(CtlContext &context);
    ~CtlAnswerWatch();
    CtlAnswerWatch(const CtlAnswerWatch &) = delete;
    CtlAnswerWatch &operator=(const CtlAnswerWatch &) = delete;

    // Some answer of the operation was empty, malformed or had no document element.
    bool SawNoAnswer() const { return m_noAnswer; }

private:
    bool m_noAnswer = false;
};

// Checks the options left and that between least and most words remain.
// On a usage error it has printed it and *status is kUsage.
bool TakePositional(CtlContext &context, CtlArgs &args, std::size_t least, std::size_t most,
                    std::vector<std::string> *words, int *status);

// Signs in for a command after checking its words: --user NAME --password
// PASS, else the remembered credentials as the automatic sign-in uses them.
// Returns kOk, or the exit status after printing why not. usedStored tells
// which way was taken.
int SignInForCommand(CtlContext &context, CtlArgs &args, std::size_t least, std::size_t most,
                     std::vector<std::string> *words, bool *usedStored = nullptr);

// Prints the failure of an operation by its result (-1: no answer, else the
// service's code with its text) and returns kFailed.
int ReportFailure(CtlContext &context, const std::string &what, int code);

// Runs one service operation with its answers watched. The operation gives 0,
// -1 (no answer) or the service's code; a 0 while an answer was missing or
// unreadable counts as -1. A failure is reported as the failure of what and
// gives kFailed; success gives kOk.
int RunWatched(CtlContext &context, const std::string &what, const std::function<int()> &operation);

// The result of a list or record fetch: the code of its refusal, else -1
// while it is not loaded, else 0.
template<class T>
int FetchResult(const T &fetched)
{
    if (fetched.ResultCode != 0)
        return fetched.ResultCode;
    return fetched.Loaded ? 0 : -1;
}

// Prints a line saying what was done, unless raw answers are printed instead.
void PrintDone(CtlContext &context, const std::string &line);

// An integer argument: false when the text is not a whole number in range.
bool ParseNumber(const std::string &text, int low, int high, int *value);

// A table printed with its columns aligned by display width, where a Chinese
// character takes two columns. Control characters in cells (the texts come
// from the service) are shown as "?" so they cannot drive the terminal.
class CtlTable
{
public:
    explicit CtlTable(std::vector<std::string> headers);
    void AddRow(std::vector<std::string> cells);
    int RowCount() const { return static_cast<int>(m_rows.size()); }
    void Print(std::ostream &out) const;

private:
    std::vector<std::string> m_headers;
    std::vector<std::vector<std::string>> m_rows;
};

// The usual track table: id, name, artists, album (and duration when asked).
void PrintTracks(std::ostream &out, const TTrackList &tracks, bool withDuration = false);

} // namespace qarvon::ctl
