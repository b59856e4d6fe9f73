#include "uMessages.h"

#include <array>

namespace qarvon {

namespace {

constexpr std::array<TMessageInfo, 15> kMessages = {{
    {WM_COPYDATA, "WM_COPYDATA", TDelivery::Sent},
    {WM_MUSICBOX_STATE, "WM_MUSICBOX_STATE", TDelivery::Sent},
    {WM_TRACK_STARTED, "WM_TRACK_STARTED", TDelivery::Sent},
    {WM_LIST_CHANGED, "WM_LIST_CHANGED", TDelivery::Sent},
    {WM_NO_SEARCH_DATA, "WM_NO_SEARCH_DATA", TDelivery::Posted},
    {WM_SEARCH_TOTAL, "WM_SEARCH_TOTAL", TDelivery::Posted},
    {WM_SEARCH_ARTIST, "WM_SEARCH_ARTIST", TDelivery::Posted},
    {WM_ALBUM_MENU_ITEM, "WM_ALBUM_MENU_ITEM", TDelivery::Sent},
    {WM_TRACK_COLUMNS, "WM_TRACK_COLUMNS", TDelivery::Sent},
    {WM_SHOW_DOWNLOADS, "WM_SHOW_DOWNLOADS", TDelivery::Posted},
    {WM_SHOW_LIST, "WM_SHOW_LIST", TDelivery::Sent},
    {WM_DOWNLOAD_MENU_ITEM, "WM_DOWNLOAD_MENU_ITEM", TDelivery::Sent},
    {WM_BACK_BUTTON, "WM_BACK_BUTTON", TDelivery::Posted},
    {WM_ADD_TO_DEFAULT_LIST, "WM_ADD_TO_DEFAULT_LIST", TDelivery::Sent},
    {WM_PLAY_SELECTED, "WM_PLAY_SELECTED", TDelivery::Posted},
}};

TMessage Make(quint32 id, qintptr wParam = 0, qintptr lParam = 0, std::string text = {})
{
    TMessage m;
    m.Msg = id;
    m.WParam = wParam;
    m.LParam = lParam;
    m.Text = std::move(text);
    return m;
}

} // namespace

const TMessageInfo *FindMessageInfo(quint32 msg)
{
    for (const TMessageInfo &info : kMessages) {
        if (info.Msg == msg)
            return &info;
    }
    return nullptr;
}

namespace msg {

TMessage MusicBoxState(bool hidden)
{
    return Make(WM_MUSICBOX_STATE, 0, hidden ? 1 : 0);
}

TMessage TrackStarted(int index, const std::string &trackId, const std::string &trackName)
{
    return Make(WM_TRACK_STARTED, index, 0, trackId + "|" + trackName);
}

TMessage ListChanged(TListChange change)
{
    return Make(WM_LIST_CHANGED, 0, change);
}

TMessage NoSearchData()
{
    return Make(WM_NO_SEARCH_DATA);
}

TMessage SearchTotal(TSearchKind kind)
{
    return Make(WM_SEARCH_TOTAL, 0, kind);
}

TMessage SearchArtist(const std::string &keyword)
{
    return Make(WM_SEARCH_ARTIST, 0, 0, keyword);
}

TMessage AlbumMenuItem(bool visible, int itemGroup)
{
    return Make(WM_ALBUM_MENU_ITEM, visible ? 1 : 0, itemGroup);
}

TMessage TrackColumns(bool visible, const std::string &albumCaption)
{
    return Make(WM_TRACK_COLUMNS, visible ? 1 : 0, 0, albumCaption);
}

TMessage ShowDownloads()
{
    return Make(WM_SHOW_DOWNLOADS);
}

TMessage ShowList()
{
    return Make(WM_SHOW_LIST);
}

TMessage DownloadMenuItem(bool visible, int itemGroup)
{
    return Make(WM_DOWNLOAD_MENU_ITEM, visible ? 1 : 0, itemGroup);
}

TMessage BackButton()
{
    return Make(WM_BACK_BUTTON);
}

TMessage AddToDefaultList()
{
    return Make(WM_ADD_TO_DEFAULT_LIST);
}

TMessage PlaySelected()
{
    return Make(WM_PLAY_SELECTED);
}

TMessage CopyData(const std::string &text)
{
    return Make(WM_COPYDATA, 0, static_cast<qintptr>(text.size() + 1), text);
}

} // namespace msg

void SplitTrackStarted(const std::string &text, std::string &trackId, std::string &trackName)
{
    const auto bar = text.find('|');
    trackId = text.substr(0, bar);
    trackName = bar == std::string::npos ? std::string() : text.substr(bar + 1);
}

} // namespace qarvon
