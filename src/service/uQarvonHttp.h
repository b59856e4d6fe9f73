#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace qarvon {

// Receives body bytes as they arrive; return false to stop the transfer.
using TBodySink = std::function<bool(const char *data, std::size_t size)>;

// One HTTP GET with the service's request form: HTTP/1.0 request line, only
// the headers Host, Accept and User-Agent, no compression, cookies or proxy.
// Redirects are followed and give the final target's body once; any other
// non-success status delivers nothing. Errors are swallowed. A connect
// time-out and a stall time-out end a dead transfer; a slow one is read whole.
void FetchUrl(const std::string &url, std::string &stream);
// The same into a sink (pictures into files, large bodies).
void FetchUrl(const std::string &url, const TBodySink &sink);
// The same, given up soon after cancel becomes true, also while still
// connecting (it is looked at about once a second or more often).
void FetchUrl(const std::string &url, const TBodySink &sink, const std::atomic<bool> &cancel);
// HTTP/1.1 request line instead (the collected-albums request uses it).
void FetchUrlHttp11(const std::string &url, std::string &stream);
// Seconds allowed for the connection, and without a single body byte before a
// transfer is given up (defaults 15 and 30; 0 or less restores a default).
// Applies to fetches started afterwards.
void SetFetchTimeouts(int connectSeconds, int stallSeconds);
// The largest body FetchUrl reads into memory (default 64 MiB; 0 restores
// it). A larger answer is dropped whole, as if there had been none. Bodies
// handed to a sink have no limit.
void SetFetchAnswerLimit(std::size_t bytes);

// UTF-8 percent-encoding with blanks as "+", the whole result lower-cased.
std::string EncodeQueryValue(const std::string &text);
// Blank: "+" or "%20"; A-Z a-z 0-9 - . _ copied; other bytes %XX upper-case.
std::string PercentEncode(const std::string &bytes, bool blankAsPlus);

// A value the service takes as it is (identifier, user name, password,
// token): unchanged, except the few characters that would otherwise end the
// value or the request ("%", "&", "#", "+", "=", "?", blanks and control
// characters), which are percent-encoded. Ordinary values are not touched.
std::string EscapeQueryDelimiters(const std::string &value);

// Fills a request template's "%s" and "%d" placeholders in order. A value
// with no placeholder left is dropped; a placeholder with no value left stays.
struct TTemplateArg
{
    TTemplateArg(const std::string &s) : text(s) {}
    TTemplateArg(const char *s) : text(s) {}
    TTemplateArg(int n) : text(std::to_string(n)) {}
    // A value already percent-encoded (EncodeQueryValue), to be sent untouched.
    static TTemplateArg Encoded(const std::string &s)
    {
        TTemplateArg arg(s);
        arg.encoded = true;
        return arg;
    }
    std::string text;
    bool encoded = false;
};
std::string FormatTemplate(const std::string &tmpl, const std::vector<TTemplateArg> &args);

} // namespace qarvon
