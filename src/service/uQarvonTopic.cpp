#include "uQarvonTopic.h"

#include "uServiceCall.h"
#include "uXmlAnswer.h"

namespace qarvon {

namespace {

// The answer carries ten topics a page; one extra child is looked at.
constexpr std::size_t kLastTopicPosition = 10;

} // namespace

void LoadTopics(TTopicList &list)
{
    list.Cancelled = false;
    if (list.Loaded)
        return;
    TServiceAnswer answer;
    ReadAnswer(CatalogueUrl(SysConfig().GetTopic), answer);
    if (!HasPayload(list, answer))
        return;
    const bool complete = Guarded("LoadTopics", false, [&] {
        list.Clear();
        const std::vector<TXmlNode> children = answer.Root.Children();
        for (std::size_t i = 0; i < children.size() && i <= kLastTopicPosition; ++i) {
            if (list.Cancelled)
                return false;
            const TXmlNode &record = children[i];
            if (record.Name() != "Topic")
                continue;
            TTopic *topic = list.AddNew();
            // A topic that cannot be read whole is kept as far as it was read.
            GuardedVoid("LoadTopics", [&] {
                topic->TopicID = record.ChildText("TopicID");
                topic->Title = record.ChildText("Title");
                topic->CreateDate = record.ChildText("CreateDate");
                topic->Description = record.ChildText("Description");
                topic->ImageUrl = record.ChildText("ImageUrl");
            });
        }
        return true;
    });
    if (complete)
        list.Loaded = true;
}

void LoadTopicTracks(TTopic &topic, const std::string &topicId)
{
    if (topic.Loaded)
        return;
    GuardedVoid("LoadTopicTracks", [&] {
        TServiceAnswer answer;
        ReadAnswer(CatalogueUrl(SysConfig().GetByTopicID, {topicId}), answer);
        if (!HasPayload(topic, answer))
            return;
        topic.Tracks.Clear();
        for (const TXmlNode &record : answer.Root.Children())
            ReadTrackRecord(record, *topic.Tracks.AddNew());
        topic.Loaded = true;
    });
}

} // namespace qarvon
