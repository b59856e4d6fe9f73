#include "uServiceCall.h"

#include "uXmlAnswer.h"

namespace qarvon {

namespace {

TAnswerObserver &Observer()
{
    static TAnswerObserver observer;
    return observer;
}

void Observe(const std::string &url, const TServiceAnswer &answer)
{
    if (const TAnswerObserver &observer = Observer())
        observer(url, answer);
}

} // namespace

void SetAnswerObserver(TAnswerObserver observer)
{
    Observer() = std::move(observer);
}

void ReadAnswer(const std::string &url, TServiceAnswer &answer)
{
    ReadServiceAnswer(url, answer);
    Observe(url, answer);
}

void ReadAnswerHttp11(const std::string &url, TServiceAnswer &answer)
{
    std::string body;
    FetchUrlHttp11(url, body);
    ParseServiceAnswer(body, answer);
    Observe(url, answer);
}

} // namespace qarvon
