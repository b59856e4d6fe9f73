#include "CtlServiceCommon.h"

#include "Common_Config.h"
#include "tool.h"
#include "uServiceCall.h"
#include "uUserInfo.h"
#include "uXmlAnswer.h"

#include <charconv>
#include <ostream>

namespace qarvon::ctl {

CtlAnswerWatch::CtlAnswerWatch(CtlContext &context)
{
    std::ostream *out = context.xml ? context.out : nullptr;
    SetAnswerObserver([this, out](const std::string &, const TServiceAnswer &answer) {
        if (answer.status == TServiceAnswer::NoAnswer || answer.status == TServiceAnswer::Malformed
            || answer.status == TServiceAnswer::NoRoot)
            m_noAnswer = true;
        if (out && !answer.Body.empty()) {
            *out << answer.Body;
            if (answer.Body.back() != '\n')
                *out << '\n';
        }
    });
}

CtlAnswerWatch::~CtlAnswerWatch()
{
    SetAnswerObserver({});
}

int ReportFailure(CtlContext &context, const std::string &what, int code)
{
    std::ostream &err = *context.err;
    err << "qarvonctl " << context.command->name << ": " << what << ": ";
    if (code == -1)
        err << "the service did not answer\n";
    else
        err << ServiceErrorText(code, true) << " (code " << code << ")\n";
    return kFailed;
}

int RunWatched(CtlContext &context, const std::string &what, const std::function<int()> &operation)
{
    int result = 0;
    {
        CtlAnswerWatch watch(context);
        result = operation();
        if (result == 0 && watch.SawNoAnswer())
            result = -1;
    }
    return result == 0 ? kOk : ReportFailure(context, what, result);
}

void PrintDone(CtlContext &context, const std::string &line)
{
    if (!context.xml)
        *context.out << line << "\n";
}

bool TakePositional(CtlContext &context, CtlArgs &args, std::size_t least, std::size_t most,
                    std::vector<std::string> *words, int *status)
{
    if (const std::string e = args.Check(); !e.empty()) {
        *status = UsageError(context, e);
        return false;
    }
    *words = args.Positional();
    if (words->size() < least || words->size() > most) {
        *status = UsageError(context, words->size() < least ? "missing arguments"
                                                            : "too many arguments");
        return false;
    }
    return true;
}

int SignInForCommand(CtlContext &context, CtlArgs &args, std::size_t least, std::size_t most,
                     std::vector<std::string> *words, bool *usedStored)
{
    std::string user;
    std::string password;
    const bool hasUser = args.TakeOption("--user", &user);
    const bool hasPassword = args.TakeOption("--password", &password);
    int status = kOk;
    if (!TakePositional(context, args, least, most, words, &status))
        return status;
    if (hasUser != hasPassword)
        return UsageError(context, "--user and --password go together");
    bool stored = false;
    if (!hasUser) {
        // The same rule as the automatic sign-in at start-up.
        const TGeneralSettings &s = Settings();
        if (!s.AutoLogin || !s.rmPWD || s.userId.empty()) {
            *context.err << "qarvonctl " << context.command->name
                         << ": nobody is signed in; give --user NAME --password PASS, or sign in "
                            "once with \"login NAME PASSWORD --remember\"\n";
            return kFailed;
        }
        user = s.userId;
        password = s.password;
        stored = true;
    }
    if (usedStored)
        *usedStored = stored;
    const int result = UserInfo().SignIn(user, password);
    if (result != 0)
        return ReportFailure(context, "sign-in as " + user + " failed", result);
    return kOk;
}

bool ParseNumber(const std::string &text, int low, int high, int *value)
{
    int v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || v < low || v > high)
        return false;
    *value = v;
    return true;
}

namespace {

std::string Printable(const std::string &text)
{
    std::string out = text;
    for (char &c : out) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f)
            c = '?';
    }
    return out;
}

} // namespace

CtlTable::CtlTable(std::vector<std::string> headers)
    : m_headers(std::move(headers))
{}

void CtlTable::AddRow(std::vector<std::string> cells)
{
    cells.resize(m_headers.size());
    for (auto &cell : cells)
        cell = Printable(cell);
    m_rows.push_back(std::move(cells));
}

void CtlTable::Print(std::ostream &out) const
{
    std::vector<std::size_t> widths(m_headers.size(), 0);
    const auto measure = [&widths](const std::vector<std::string> &cells) {
        for (std::size_t i = 0; i < cells.size(); ++i)
            widths[i] = std::max(widths[i], DoubleByteWidth(cells[i]));
    };
    measure(m_headers);
    for (const auto &row : m_rows)
        measure(row);
    const auto line = [&](const std::vector<std::string> &cells) {
        std::string text;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            text += cells[i];
            if (i + 1 < cells.size())
                text += std::string(widths[i] - DoubleByteWidth(cells[i]) + 2, ' ');
        }
        while (!text.empty() && text.back() == ' ')
            text.pop_back();
        out << text << '\n';
    };
    line(m_headers);
    for (const auto &row : m_rows)
        line(row);
}

void PrintTracks(std::ostream &out, const TTrackList &tracks, bool withDuration)
{
    std::vector<std::string> headers = {"TRACK", "NAME", "ARTISTS", "ALBUM"};
    if (withDuration)
        headers.push_back("DURATION");
    CtlTable table(headers);
    for (const auto &track : tracks) {
        if (Trim(track->TrackID).empty())
            continue;
        std::vector<std::string> row = {track->TrackID, track->TrackName, track->ArtistNameList,
                                        track->AlbumName};
        if (withDuration) {
            int seconds = 0;
            row.push_back(ParseNumber(track->Duration, 0, 1000000000, &seconds)
                              ? FormatDuration(seconds)
                              : track->Duration);
        }
        table.AddRow(std::move(row));
    }
    table.Print(out);
}

} // namespace qarvon::ctl
