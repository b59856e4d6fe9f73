#pragma once

#include "uQarvonPO.h"

#include <functional>
#include <string>

namespace qarvon {

// One hot-song chart.
class THotSongs : public TQarvonPO
{
public:
    std::string AreaID = "1";
    std::string Template; // the chart's request template
    std::string ChartName;
    TTrackList Tracks;
};

// The four charts, in their fixed order.
class THotSongList : public TQarvonList<THotSongs>, public TCancelFlag
{
};

// Starts the background loader of a chart's tracks (the album view owns it).
using TChartLoaderStarter = std::function<void(THotSongs &chart)>;

// Fills the list with the four charts; the first two get a loader started at
// once through startLoader (skipped when unset).
void BuildCharts(THotSongList &list, const TChartLoaderStarter &startLoader = {});

// A chart's tracks. With firstOnly one track is read and the chart stays not
// loaded, so a later full load still runs.
void LoadChartTracks(THotSongs &chart, const std::string &tmpl, int area, bool firstOnly);

} // namespace qarvon
