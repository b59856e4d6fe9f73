#pragma once

#include <QtGlobal>

#include <cstdint>
#include <string>

namespace qarvon {

// Numbers of the messages the two top-level windows receive. They only have
// to be distinct inside the program, except WM_COPYDATA whose text comes from
// another start of the program.
enum TMessageId : quint32 {
    WM_COPYDATA = 74,
    WM_MUSICBOX_STATE = 1013,
    WM_TRACK_STARTED = 1015,
    WM_LIST_CHANGED = 1016,
    WM_NO_SEARCH_DATA = 1017,
    WM_SEARCH_TOTAL = 1019,
    WM_SEARCH_ARTIST = 1020,
    WM_ALBUM_MENU_ITEM = 3239,
    WM_TRACK_COLUMNS = 3240,
    WM_SHOW_DOWNLOADS = 3241,
    WM_SHOW_LIST = 3242,
    WM_DOWNLOAD_MENU_ITEM = 3243,
    WM_BACK_BUTTON = 3244,
    WM_ADD_TO_DEFAULT_LIST = 3245,
    WM_PLAY_SELECTED = 3246,
};

// Sent: the sender waits until the receiver has handled the message and may
// read its result. Posted: queued, the sender goes on at once.
enum class TDelivery { Sent, Posted };

// One message. A text travels inside the message (never as an address), so a
// posted text outlives whatever the sender held it in.
struct TMessage
{
    quint32 Msg = 0;
    qintptr WParam = 0;
    qintptr LParam = 0;
    std::string Text;
};

// What a message table row says about a message number.
struct TMessageInfo
{
    quint32 Msg;
    const char *Name;
    TDelivery Delivery;
};

// The row of a message number, or nullptr for a number the program does not use.
const TMessageInfo *FindMessageInfo(quint32 msg);

// Values of WM_LIST_CHANGED's LParam.
enum TListChange : int {
    lcPlaylists = 1,
    lcCollectedAlbums = 2,
    lcDefaultListTracks = 3,
};

// Values of WM_SEARCH_TOTAL's LParam (the view kinds of the search).
enum TSearchKind : int {
    skTracks = 8,
    skAlbums = 9,
    skArtists = 10,
};

// Builders of every program message with its parameters in their places.
namespace msg {

TMessage MusicBoxState(bool hidden);
TMessage TrackStarted(int index, const std::string &trackId, const std::string &trackName);
TMessage ListChanged(TListChange change);
TMessage NoSearchData();
TMessage SearchTotal(TSearchKind kind);
TMessage SearchArtist(const std::string &keyword);
TMessage AlbumMenuItem(bool visible, int itemGroup);
TMessage TrackColumns(bool visible, const std::string &albumCaption);
TMessage ShowDownloads();
TMessage ShowList();
TMessage DownloadMenuItem(bool visible, int itemGroup);
TMessage BackButton();
TMessage AddToDefaultList();
TMessage PlaySelected();
// The hand-off text of a start of the program; the byte count includes the
// terminating zero the text had on the platform this number comes from.
TMessage CopyData(const std::string &text);

} // namespace msg

// Splits the text of WM_TRACK_STARTED back into its track identifier and name
// (at the first "|"; a text without one is all identifier).
void SplitTrackStarted(const std::string &text, std::string &trackId, std::string &trackName);

} // namespace qarvon
