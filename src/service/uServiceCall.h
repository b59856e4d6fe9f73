#pragma once

// Small pieces every catalogue and user operation shares: building the request
// address and keeping an unexpected error inside the operation that met it.

#include "Common_Config.h"
#include "uQarvonHttp.h"
#include "uTraceM.h"
#include "uXmlAnswer.h"

#include <exception>
#include <functional>
#include <string>
#include <vector>

namespace qarvon {

// Sees every service answer the operations read, after it was parsed (a tool
// that prints raw answers, a test that counts them). Set it before operations
// run; it is called on the thread of the operation.
using TAnswerObserver = std::function<void(const std::string &url, const TServiceAnswer &answer)>;
void SetAnswerObserver(TAnswerObserver observer);

// The shared answer-reading sequence, as every operation here runs it.
void ReadAnswer(const std::string &url, TServiceAnswer &answer);
// The same with an HTTP/1.1 request line.
void ReadAnswerHttp11(const std::string &url, TServiceAnswer &answer);

// Whether the answer carries a payload to read. A refusal leaves its code in
// the owner's ResultCode (a list or a record); other failures leave it alone.
template<class Owner>
bool HasPayload(Owner &owner, const TServiceAnswer &answer)
{
    if (answer.status == TServiceAnswer::Refused)
        owner.ResultCode = answer.Code;
    return answer.status == TServiceAnswer::Ok;
}

// The six fields an album record carries wherever albums are listed (hot
// albums, collected albums), from its child elements.
template<class Album>
void ReadAlbumRecord(const TXmlNode &record, Album &album)
{
    album.AlbumID = record.ChildText("AlbumID");
    album.AlbumName = record.ChildText("AlbumName");
    album.SmallImageUrl = record.ChildText("SmallImageUrl");
    album.MiddleImageUrl = record.ChildText("MiddleImageUrl");
    album.ArtistIDList = record.ChildText("ArtistIDList");
    album.ArtistNameList = record.ChildText("ArtistNameList");
}

// The values of a request: free text arrives encoded; everything else goes
// as it is, with only the characters that would break the request escaped.
inline std::vector<TTemplateArg> RequestValues(const std::vector<TTemplateArg> &args)
{
    std::vector<TTemplateArg> values;
    values.reserve(args.size());
    for (const TTemplateArg &a : args)
        values.push_back(a.encoded ? a : TTemplateArg(EscapeQueryDelimiters(a.text)));
    return values;
}

// Catalogue and sign-in requests.
inline std::string CatalogueUrl(const std::string &tmpl, const std::vector<TTemplateArg> &args = {})
{
    return SysConfig().RequestUrl + FormatTemplate(tmpl, RequestValues(args));
}

// Playlist and collection requests.
inline std::string UserListUrl(const std::string &tmpl, const std::vector<TTemplateArg> &args = {})
{
    return SysConfig().PlayListRequestUrl + FormatTemplate(tmpl, RequestValues(args));
}

// Runs body; an exception ends it with onError and leaves a trace line, so
// nothing escapes into a worker or the event loop.
template<class R, class F>
R Guarded(const char *operation, R onError, F &&body)
{
    try {
        return body();
    } catch (const std::exception &e) {
        Trace(std::string(operation) + ": " + e.what());
    } catch (...) {
        Trace(std::string(operation) + ": unknown error");
    }
    return onError;
}

template<class F>
void GuardedVoid(const char *operation, F &&body)
{
    try {
        body();
    } catch (const std::exception &e) {
        Trace(std::string(operation) + ": " + e.what());
    } catch (...) {
        Trace(std::string(operation) + ": unknown error");
    }
}

} // namespace qarvon
