#pragma once

#include <QWidget>

#include <functional>
#include <string>

namespace qarvon {

// The main window. For now a plain top-level window that keeps the title a
// later start looks for and receives the hand-off text.
class TfrmP2PDownload : public QWidget
{
    Q_OBJECT

public:
    explicit TfrmP2PDownload(QWidget *parent = nullptr);

    // Handles a hand-off text: a download request starts a download of its track.
    void ReceiveHandOff(const std::string &text);

    // Receives the identifiers of download requests; until the download list
    // is there, requests go to the trace.
    void SetDownloadRequestHandler(std::function<void(const std::string &trackId)> handler);

private:
    std::function<void(const std::string &)> m_downloadRequest;
};

} // namespace qarvon
