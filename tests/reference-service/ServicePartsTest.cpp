// Pieces of the service that the HTTP side cannot show: the server's stop, the
// trickle arithmetic, the media makers' bookkeeping and a foreign data folder.
#include "Catalogue.h"
#include "Database.h"
#include "Faults.h"
#include "MediaStore.h"
#include "Server.h"

#include <QTemporaryDir>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <future>
#include <memory>

namespace qarvon::refsvc {
namespace {

// One generated catalogue for the whole suite: generating takes a moment.
class ServiceParts : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_data = std::make_unique<QTemporaryDir>();
        s_catalogue = std::make_unique<Catalogue>(s_data->path().toStdString(), 1, false);
    }
    static void TearDownTestSuite()
    {
        s_catalogue.reset();
        s_data.reset();
    }
    static std::string dataDir() { return s_data->path().toStdString(); }

    static std::unique_ptr<QTemporaryDir> s_data;
    static std::unique_ptr<Catalogue> s_catalogue;
};

std::unique_ptr<QTemporaryDir> ServiceParts::s_data;
std::unique_ptr<Catalogue> ServiceParts::s_catalogue;

// A SIGTERM right after start-up calls stop() before run() has begun to listen;
// the server must still end instead of serving on.
TEST_F(ServiceParts, StopBeforeRunMakesRunReturn)
{
    MediaStore media(*s_catalogue, dataDir());
    FaultTable faults;
    Server server(*s_catalogue, media, faults);
    ASSERT_GT(server.bind("127.0.0.1", 0), 0);
    server.stop();
    EXPECT_TRUE(server.run());
}

TEST_F(ServiceParts, StopWhileRunningEndsRun)
{
    MediaStore media(*s_catalogue, dataDir());
    FaultTable faults;
    Server server(*s_catalogue, media, faults);
    ASSERT_GT(server.bind("127.0.0.1", 0), 0);
    std::promise<void> started;
    auto served = std::async(std::launch::async, [&] {
        started.set_value();
        return server.run();
    });
    started.get_future().wait();
    server.stop();
    EXPECT_TRUE(served.get());
}

struct TrickleCase
{
    const char *name;
    int bytesPerSecond;
    std::size_t piece;
};

void PrintTo(const TrickleCase &c, std::ostream *os)
{
    *os << c.name;
}

class TricklePiece : public ::testing::TestWithParam<TrickleCase>
{
};

TEST_P(TricklePiece, IsTheRateOverTenPiecesASecond)
{
    FaultSpec spec;
    spec.trickle = GetParam().bytesPerSecond;
    EXPECT_EQ(spec.tricklePiece(), GetParam().piece);
}

INSTANTIATE_TEST_SUITE_P(Rates, TricklePiece,
                         ::testing::Values(TrickleCase {"Slowest", 1, 1},
                                           TrickleCase {"BelowOneBytePerPiece", 9, 1},
                                           TrickleCase {"Ordinary", 2000, 200},
                                           TrickleCase {"LargestAllowed", 1 << 30, 107374182}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(ServiceParts, MakersAreNotKeptForFilesThatCannotBeMade)
{
    MediaStore media(*s_catalogue, dataDir());
    for (std::int64_t id = 1; id <= 50; ++id)
        EXPECT_FALSE(media.file(MediaKind::Audio, id)) << id;
    EXPECT_TRUE(media.file(MediaKind::CoverSmall, 20001));
    EXPECT_EQ(media.makersInUse(), 0u);
}

// A database without the service's meta table is refused with a clear reason
// and left as it was, rather than generated over.
TEST(DataFolder, ADatabaseOfAnotherVersionIsRefusedAndKept)
{
    QTemporaryDir data;
    const std::string dir = data.path().toStdString();
    Database(dir + "/catalogue.sqlite")
        .execute("CREATE TABLE artists(x); INSERT INTO artists VALUES (42)");
    try {
        Catalogue catalogue(dir, 1, false);
        ADD_FAILURE() << "the folder was taken";
    } catch (const DatabaseError &e) {
        EXPECT_THAT(e.what(), ::testing::HasSubstr("another version"));
    }
    Database db(dir + "/catalogue.sqlite");
    auto st = db.prepare("SELECT x FROM artists");
    ASSERT_TRUE(st.step());
    EXPECT_EQ(st.integer(0), 42);
    EXPECT_FALSE(st.step());
    EXPECT_FALSE(db.prepare("SELECT 1 FROM sqlite_master WHERE name = 'meta'").step());
}

} // namespace
} // namespace qarvon::refsvc
