#include "ufrmP2PDownload.h"

#include "QarvonClient.h"
#include "uTraceM.h"

#include <QLabel>
#include <QVBoxLayout>

namespace qarvon {

TfrmP2PDownload::TfrmP2PDownload(QWidget *parent)
    : QWidget(parent)
    , m_downloadRequest([](const std::string &trackId) { Trace("download request: " + trackId); })
{
    setWindowTitle(QString::fromUtf8(kMainWindowTitle));
    setObjectName(QStringLiteral("frmP2PDownload"));
    resize(320, 560);
    auto *layout = new QVBoxLayout(this);
    auto *label = new QLabel(QString::fromUtf8(kApplicationTitle), this);
    label->setAlignment(Qt::AlignCenter);
    layout->addWidget(label);
}

void TfrmP2PDownload::ReceiveHandOff(const std::string &text)
{
    Trace("hand-off: " + text);
    const THandOffRequest request = ParseHandOff(text);
    if (request.StartsDownload() && m_downloadRequest)
        m_downloadRequest(request.TrackID);
}

void TfrmP2PDownload::SetDownloadRequestHandler(std::function<void(const std::string &)> handler)
{
    m_downloadRequest = std::move(handler);
}

} // namespace qarvon
