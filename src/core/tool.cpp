#include "tool.h"

#include "Common_Config.h"

#include <QDir>
#include <QHostAddress>
#include <QHostInfo>
#include <QNetworkInterface>
#include <QProcess>

#include <algorithm>
#include <cstdio>

namespace qarvon {

namespace {

std::string folderBelowRoot(const char *name)
{
    std::string folder = Trim(ProgramFolder());
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    folder += name;
    folder += '/';
    QDir().mkpath(QString::fromStdString(folder)); // a failure shows later, where the folder is used
    return folder;
}

bool isUtf8Continuation(unsigned char c)
{
    return (c & 0xC0) == 0x80;
}

} // namespace

std::string GetTempFolder()
{
    return folderBelowRoot("temp");
}

std::string GetImagesFolder()
{
    return folderBelowRoot("images");
}

bool OpenDocument(const std::string &target)
{
    // Handed over as one argument, never through a shell. A leading "-" would
    // read as an option of the opener, so such a target is not passed on.
    if (!target.empty() && target[0] != '-')
        QProcess::startDetached(QStringLiteral("xdg-open"), {QString::fromStdString(target)});
    return true;
}

void SplitByChar(const std::string &text, char delimiter, std::vector<std::string> &list)
{
    list.clear();
    std::size_t start = 0;
    for (;;) {
        const auto pos = text.find(delimiter, start);
        if (pos == std::string::npos) {
            list.push_back(text.substr(start));
            return;
        }
        list.push_back(text.substr(start, pos - start));
        start = pos + 1;
    }
}

std::vector<std::string> SplitByText(const std::string &text, const std::string &separator)
{
    std::vector<std::string> list;
    if (separator.empty()) {
        if (!text.empty())
            list.push_back(text);
        return list;
    }
    std::size_t start = 0;
    for (;;) {
        const auto pos = text.find(separator, start);
        if (pos == std::string::npos)
            break;
        list.push_back(text.substr(start, pos - start));
        start = pos + separator.size();
    }
    if (start < text.size())
        list.push_back(text.substr(start));
    return list;
}

int LastPosition(const std::string &separator, const std::string &text)
{
    if (separator.empty())
        return 0;
    const auto pos = text.rfind(separator);
    if (pos == std::string::npos)
        return 0;
    return static_cast<int>(Utf8Length(text.substr(0, pos))) + 1;
}

std::string UrlLastSegment(const std::string &address)
{
    const auto pos = address.rfind('/');
    return pos == std::string::npos ? address : address.substr(pos + 1);
}

std::string LocalIPv4()
{
    const QHostInfo info = QHostInfo::fromName(QHostInfo::localHostName());
    for (const QHostAddress &a : info.addresses()) {
        if (a.protocol() == QAbstractSocket::IPv4Protocol)
            return a.toString().toStdString();
    }
    return {};
}

std::string AdapterAddress(int adapterIndex)
{
    // Real adapters only, in a fixed order (by system index), so the same
    // machine always gives the same digits.
    std::vector<std::pair<int, std::string>> adapters;
    for (const QNetworkInterface &nic : QNetworkInterface::allInterfaces()) {
        if (nic.flags().testFlag(QNetworkInterface::IsLoopBack))
            continue;
        QString hw = nic.hardwareAddress();
        hw.remove(QLatin1Char(':'));
        if (hw.size() != 12 || hw == QStringLiteral("000000000000"))
            continue;
        adapters.emplace_back(nic.index(), hw.toUpper().toStdString());
    }
    std::sort(adapters.begin(), adapters.end());
    if (adapterIndex < 0 || adapterIndex >= static_cast<int>(adapters.size()))
        return {};
    return adapters[static_cast<std::size_t>(adapterIndex)].second;
}

std::string ServiceErrorText(int code, bool chinese)
{
    struct Row
    {
        int code;
        const char *zh;
        const char *en;
    };
    static const Row rows[] = {
        {1, "对象未找到", "Objecct not found"},
        {10, "Seesion Token 已经失效", "Session Token invalid"},
        {96, "歌单名称/备注不能包含特殊字符", "Invalid signature"},
        {97, "需要签名，但是没有传递这个参数", "Missing signature"},
        {99, "用户未登录或权限不足/session失效",
         "User not logged in / Insufficient permissions/session invild"},
        {100, "API Key不正确", "Invalid API Key"},
        {105, "服务暂时不可用", "Service currently unavailable"},
        {112, "调用的方法不存在", " Method not found"},
        {125, "没有指定某些必需的参数", "Missing required argument"},
        {126, "API Key已经过期", "API Key expired"},
        {128, "用户被禁用", "User disabled"},
    };
    for (const Row &r : rows) {
        if (r.code == code)
            return chinese ? r.zh : r.en;
    }
    return chinese ? "其他错误" : "Othre Error";
}

std::string FormatDuration(int seconds)
{
    if (seconds < 0)
        seconds = 0;
    char buf[32];
    if (seconds < 60) {
        std::snprintf(buf, sizeof buf, "00:%.2d", seconds);
        return buf;
    }
    if (seconds < 3600) {
        std::snprintf(buf, sizeof buf, "%.2d:%.2d", seconds / 60, seconds % 60);
        return buf;
    }
    std::snprintf(buf, sizeof buf, "%d:", seconds / 3600);
    return buf + FormatDuration(seconds % 3600);
}

std::size_t Utf8Length(const std::string &text)
{
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return !isUtf8Continuation(static_cast<unsigned char>(c));
    }));
}

std::size_t DoubleByteWidth(const std::string &text)
{
    std::size_t width = 0;
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x80)
            ++width;
        else if (!isUtf8Continuation(u))
            width += 2;
    }
    return width;
}

std::string Trim(const std::string &text)
{
    const auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; };
    std::size_t b = 0;
    std::size_t e = text.size();
    while (b < e && isBlank(text[b]))
        ++b;
    while (e > b && isBlank(text[e - 1]))
        --e;
    return text.substr(b, e - b);
}

std::string UpperCase(const std::string &text)
{
    std::string out = text;
    for (char &c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}

std::string LowerCase(const std::string &text)
{
    std::string out = text;
    for (char &c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

bool SameText(const std::string &a, const std::string &b)
{
    return a.size() == b.size() && LowerCase(a) == LowerCase(b);
}

} // namespace qarvon
