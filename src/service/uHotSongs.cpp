#include "uHotSongs.h"

#include "uServiceCall.h"
#include "uXmlAnswer.h"

namespace qarvon {

void BuildCharts(THotSongList &list, const TChartLoaderStarter &startLoader)
{
    if (list.Loaded)
        return;
    list.Clear();
    list.Cancelled = false;

    const TSystemConfig &config = SysConfig();
    struct Row
    {
        const char *name;
        const std::string *tmpl;
        bool loadAtOnce;
    };
    const Row rows[] = {
        {"热门单曲", &config.GetHotTrack, true},
        {"排名上升最快单曲", &config.GetRaiseTrack, true},
        {"新歌排行", &config.GetNewHotTrack, false},
        {"下载排行", &config.GetHotDownload, false},
    };
    bool first = true;
    for (const Row &row : rows) {
        if (!first && list.Cancelled)
            return;
        first = false;
        THotSongs *chart = list.AddNew();
        chart->AreaID = "1";
        chart->ChartName = row.name;
        chart->Template = *row.tmpl;
        if (row.loadAtOnce && startLoader)
            startLoader(*chart);
    }
    list.Loaded = true;
}

void LoadChartTracks(THotSongs &chart, const std::string &tmpl, int area, bool firstOnly)
{
    if (chart.Loaded)
        return;
    GuardedVoid("LoadChartTracks", [&] {
        chart.AreaID = std::to_string(area);
        TServiceAnswer answer;
        ReadAnswer(CatalogueUrl(tmpl, {chart.AreaID}), answer);
        if (!HasPayload(chart, answer))
            return;
        chart.Tracks.Clear();
        bool first = true;
        for (const TXmlNode &record : answer.Root.Children()) {
            if (!first && firstOnly)
                return;
            first = false;
            ReadTrackRecord(record, *chart.Tracks.AddNew());
        }
        chart.Loaded = true;
    });
}

} // namespace qarvon
