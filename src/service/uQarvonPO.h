#pragma once

// The catalogue records and the owning lists that hold them. Lists are filled
// by the thread that fetches them and read by the windows once that thread
// has reported completion; `Cancelled` is the one field another thread writes
// while a fetch runs.

#include <atomic>
#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class QObject;

namespace qarvon {

class TXmlNode;

// An ordered list that owns its items. Before an item is freed (deleted,
// cleared or destroyed with the list) ItemAboutToFree is called for it.
// Clearing goes from the last item to the first.
template<class T>
class TObjList
{
public:
    TObjList() = default;
    virtual ~TObjList() { Clear(); }
    TObjList(const TObjList &) = delete;
    TObjList &operator=(const TObjList &) = delete;

    int Count() const { return static_cast<int>(m_items.size()); }
    bool IsEmpty() const { return m_items.empty(); }
    // 0-based, in list order; the index must be valid.
    T *Item(int index) const { return m_items.at(static_cast<std::size_t>(index)).get(); }
    T *First() const { return m_items.empty() ? nullptr : m_items.front().get(); }
    T *Last() const { return m_items.empty() ? nullptr : m_items.back().get(); }

    T *Add(std::unique_ptr<T> item)
    {
        m_items.push_back(std::move(item));
        return m_items.back().get();
    }
    // Appends a new default item and returns it.
    T *AddNew() { return Add(std::make_unique<T>()); }

    void Delete(int index)
    {
        const auto pos = m_items.begin() + index;
        ItemAboutToFree(**pos);
        std::unique_ptr<T> doomed = std::move(*pos);
        m_items.erase(pos);
    }

    // Takes the item out without freeing it; the hook is not called.
    std::unique_ptr<T> Extract(int index)
    {
        const auto pos = m_items.begin() + index;
        std::unique_ptr<T> item = std::move(*pos);
        m_items.erase(pos);
        return item;
    }

    void Clear()
    {
        while (!m_items.empty()) {
            ItemAboutToFree(*m_items.back());
            std::unique_ptr<T> doomed = std::move(m_items.back());
            m_items.pop_back();
        }
    }

    int IndexOf(const T *item) const
    {
        for (std::size_t i = 0; i < m_items.size(); ++i) {
            if (m_items[i].get() == item)
                return static_cast<int>(i);
        }
        return -1;
    }

    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

protected:
    // Virtual calls from a destructor stop at the class being destroyed, so a
    // subclass whose hook must also see the items freed with the list clears
    // the list in its own destructor.
    virtual void ItemAboutToFree(T &item) { (void)item; }

private:
    std::vector<std::unique_ptr<T>> m_items;
};

// Common part of every catalogue record.
class TQarvonPO
{
public:
    bool Loaded = false; // the details were fetched: detail fetches do nothing while set
    int ResultCode = 0;  // service code of the last refused detail request
    QObject *Loader = nullptr; // the background loader fetching the details; not owned
};

// Common part of every catalogue list.
template<class T>
class TQarvonList : public TObjList<T>
{
public:
    bool Loaded = false; // the list was fetched: fetches do nothing while set
    int ResultCode = 0;  // service code of the last refused list request
};

// A running fetch stops before its next record once another thread sets it;
// a stopped fetch leaves the list not loaded.
struct TCancelFlag
{
    std::atomic<bool> Cancelled{false};
};

class TTrack
{
public:
    std::string AlbumID;
    std::string AlbumName;
    std::string ArtistIDList;
    std::string ArtistNameList;
    std::string Duration;
    std::string Genre;
    std::string Lanaguage;
    std::string LyricUrl;
    std::string ReleaseDate;
    std::string TrackID;
    std::string TrackName;
};

void CopyTrack(TTrack &target, const TTrack &source);

// Fills the six catalogue fields (and Duration when asked) from the child
// elements of a track record element; a missing element reads as empty.
void ReadTrackRecord(const TXmlNode &record, TTrack &track, bool withDuration = false);

using TTrackList = TObjList<TTrack>;

// An album: a collected album of the user, or the details of a hot album.
class TCollectAlbum : public TQarvonPO
{
public:
    std::string AlbumID;
    std::string AlbumName;
    std::string ArtistIDList;
    std::string ArtistNameList;
    bool TracksLoaded = false; // the track list was fetched (Loaded covers the details)
    std::string MiddleImageUrl;
    std::string SmallImageUrl;
    std::string ReleaseDate;
    std::string Description;
    TTrackList Tracks;
};

// One search result, an album or an artist (track results are TTracks).
class TSearchMusic : public TQarvonPO
{
public:
    std::string ArtistID;
    std::string ArtistName;
    std::string ImageUrl;
    std::string MiddleImageUrl;
    std::string ArtistIDList;
    std::string ArtistNameList;
    std::string EnglishName;
    int PageSize = 0; // page size of the last track query for this result
    std::string AlbumID;
    std::string AlbumName;
    TTrackList Tracks;
};

} // namespace qarvon
