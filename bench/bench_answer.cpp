// Reading a 10,000-record track answer into a track list, beside a raw
// pugixml parse of the same bytes. The ratio of the two is the figure kept in
// docs/performance.md (goal: at most 1.5).

#include "uQarvonPO.h"
#include "uXmlAnswer.h"

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

constexpr int kRecords = 10000;

const std::string &TrackAnswer()
{
    static const std::string body = [] {
        std::string s = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<root total=\"10000\">\n";
        auto field = [&s](const char *name, const std::string &value) {
            s.append("    <").append(name).append(">").append(value);
            s.append("</").append(name).append(">\n");
        };
        for (int i = 0; i < kRecords; ++i) {
            const std::string n = std::to_string(i);
            s += "  <Track>\n";
            field("TrackID", std::to_string(300000 + i));
            field("TrackName", "\xE6\x98\x9F\xE7\xA9\xBA Song " + n + " &amp; Co");
            field("Duration", std::to_string(120 + i % 200));
            field("AlbumID", std::to_string(20000 + i / 10));
            field("AlbumName", "\xE5\xA4\x9C\xE6\x9B\xB2 Album " + n);
            field("ArtistIDList", std::to_string(1000 + i % 300));
            field("ArtistNameList", "\xE6\x9D\x8E\xE9\x9B\xB7 Artist");
            field("Genre", "Pop");
            field("Lanaguage", "\xE5\x9B\xBD\xE8\xAF\xAD");
            s += "  </Track>\n";
        }
        s += "</root>\n";
        return s;
    }();
    return body;
}

void BM_RawPugixmlParse(benchmark::State &state)
{
    const std::string &body = TrackAnswer();
    for (auto _ : state) {
        pugi::xml_document doc;
        const auto result = doc.load_buffer(body.data(), body.size());
        benchmark::DoNotOptimize(result.status);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * body.size()));
}

void BM_ReadTrackAnswer(benchmark::State &state)
{
    const std::string &body = TrackAnswer();
    for (auto _ : state) {
        qarvon::TServiceAnswer answer;
        qarvon::ParseServiceAnswer(body, answer);
        qarvon::TTrackList tracks;
        if (answer.status == qarvon::TServiceAnswer::Ok) {
            for (const qarvon::TXmlNode &record : answer.Root.Children())
                qarvon::ReadTrackRecord(record, *tracks.AddNew(), true);
        }
        if (tracks.Count() != kRecords)
            state.SkipWithError("wrong record count");
        benchmark::DoNotOptimize(tracks.Last());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * body.size()));
}

BENCHMARK(BM_RawPugixmlParse)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadTrackAnswer)->Unit(benchmark::kMillisecond);

// Prints the ratio of the two mean times after the usual table.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            // CPU time: the machine is shared, and wall time counts the neighbours' work.
            const double perIteration = run.GetAdjustedCPUTime();
            if (run.benchmark_name().find("Raw") != std::string::npos)
                m_raw = perIteration;
            else
                m_ours = perIteration;
        }
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        if (m_raw > 0 && m_ours > 0)
            std::printf("answer bytes: %zu, records: %d\n"
                        "ratio track list / raw pugixml parse (CPU time): %.2f (goal <= 1.5)\n",
                        TrackAnswer().size(), kRecords, m_ours / m_raw);
    }

private:
    double m_raw = 0;
    double m_ours = 0;
};

} // namespace

int main(int argc, char **argv)
{
    // Two seconds a benchmark unless the command line says otherwise (the
    // test run's smoke run asks for a moment only).
    std::vector<char *> args(argv, argv + argc);
    std::string minTime = "--benchmark_min_time=2";
    const bool given = std::any_of(args.begin() + 1, args.end(), [](const char *a) {
        return std::string(a).rfind("--benchmark_min_time", 0) == 0;
    });
    if (!given)
        args.push_back(minTime.data());
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
