#include "QarvonClient.h"

#include "tool.h"

#include <QFileInfo>
#include <QProcess>

#include <cstdlib>

namespace qarvon {

std::string StripLaunchPrefix(const std::string &argument)
{
    const auto pos = UpperCase(argument).find(kLaunchPrefix);
    if (pos == std::string::npos)
        return argument;
    return argument.substr(pos + std::char_traits<char>::length(kLaunchPrefix));
}

std::vector<std::string> SplitDelimitedText(const std::string &text, char delimiter)
{
    // Blanks and control characters separate fields as the delimiter does,
    // and a double quote groups (a doubled quote inside stands for one).
    const auto isSeparator = [delimiter](char c) {
        return c == delimiter || (static_cast<unsigned char>(c) <= ' ');
    };
    std::vector<std::string> fields;
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && static_cast<unsigned char>(text[i]) <= ' ')
        ++i;
    while (i < n) {
        std::string field;
        if (text[i] == '"') {
            ++i;
            while (i < n) {
                if (text[i] == '"') {
                    if (i + 1 < n && text[i + 1] == '"') {
                        field += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += text[i++];
            }
            while (i < n && !isSeparator(text[i]))
                field += text[i++];
        } else {
            while (i < n && !isSeparator(text[i]))
                field += text[i++];
        }
        fields.push_back(field);
        // Blanks around a delimiter belong to it; a delimiter ends one field.
        while (i < n && static_cast<unsigned char>(text[i]) <= ' ')
            ++i;
        if (i < n && text[i] == delimiter) {
            ++i;
            while (i < n && static_cast<unsigned char>(text[i]) <= ' ')
                ++i;
            if (i == n)
                fields.emplace_back(); // "a," has an empty last field
        }
    }
    return fields;
}

THandOffRequest ParseHandOff(const std::string &text)
{
    THandOffRequest request;
    const std::vector<std::string> fields = SplitDelimitedText(text, ',');
    if (fields.size() == 3) {
        request.TrackID = fields[0];
        char *end = nullptr;
        const std::string &flag = fields[2];
        const long value = std::strtol(flag.c_str(), &end, 10);
        request.Flag = (!flag.empty() && end && *end == '\0') ? static_cast<int>(value) : 0;
    } else if (!fields.empty()) {
        request.TrackID = fields[0];
    }
    return request;
}

bool StartUpdater(const std::string &programFolder)
{
    const QString updater = QString::fromStdString(programFolder) + QStringLiteral("Update");
    const QFileInfo info(updater);
    if (!info.isFile() || !info.isExecutable())
        return false;
    return QProcess::startDetached(updater, {QStringLiteral("QarvonMusic")});
}

} // namespace qarvon
