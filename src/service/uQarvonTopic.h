#pragma once

#include "uQarvonPO.h"

#include <string>

namespace qarvon {

// One editorial topic.
class TTopic : public TQarvonPO
{
public:
    std::string CreateDate;
    std::string Description;
    std::string ImageUrl;
    std::string Title;
    std::string TopicID;
    TTrackList Tracks;
};

class TTopicList : public TQarvonList<TTopic>, public TCancelFlag
{
};

// The topics of the first page. At most the first eleven children of the
// answer are examined; only those named "Topic" become topics.
void LoadTopics(TTopicList &list);
void LoadTopicTracks(TTopic &topic, const std::string &topicId);

} // namespace qarvon
