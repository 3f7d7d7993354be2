// The session's history after a typed draw: grown in memory when the draw is the newest, read
// again otherwise, the same rows either way.
#include "history/draw_history.h"
#include "history/history_maintenance.h"
#include "session/analysis_session.h"
#include "settings/settings.h"
#include "store/history_table.h"
#include "io/text_codec.h"
#include "test_support.h"

#include <gtest/gtest.h>

using namespace qeltaro;
using qeltaro::test::TempStore;

namespace {

void expectHeldAsStored(AnalysisSession& session, const std::string& when)
{
    const auto stored = HistoryTable(session.store()).all();
    ASSERT_TRUE(stored);
    const HistoryColumns& held = session.history();
    ASSERT_EQ(held.rowCount(), int(stored->size())) << when;
    for (int row = 0; row < held.rowCount(); ++row) {
        const DrawRecord record = held.record(row);
        ASSERT_EQ(record.period, (*stored)[size_t(row)].period) << when;
        ASSERT_EQ(record.values, (*stored)[size_t(row)].values) << when << " " << record.period.toStdString();
    }
    ASSERT_TRUE(session.latestDraw());
    EXPECT_EQ(session.latestDraw()->period, stored->back().period) << when;
}

}  // namespace

TEST(AnalysisSession, ATypedDrawLeavesTheHistoryAsAReloadWould)
{
    TempStore temp;
    // The sample's first 200 draws but the 100th, which comes later as a typed draw.
    QStringList lines = splitLines(test::sampleHistoryLines(200));
    const QString missing = lines.takeAt(99);
    ASSERT_TRUE(DrawHistory(temp.store()).importText(lines.join(u'\n')));
    temp.close();
    auto opened = AnalysisSession::open(temp.dataDir(), std::make_unique<Settings>(temp.settingsFile()));
    ASSERT_TRUE(opened);
    AnalysisSession& session = **opened;
    ASSERT_TRUE(session.refresh());

    // The newest draw: its row, with LX/LY against the draw before, is appended.
    const QString next = session.proposedPeriod();
    ASSERT_TRUE(session.addDraw(next, QStringLiteral("38146")));
    ASSERT_TRUE(session.reloadHistory());
    expectHeldAsStored(session, "after the newest draw");
    EXPECT_NE(session.proposedPeriod(), next);

    // A draw before the newest changes the row after it.
    const QStringList fields = missing.split(u' ');
    ASSERT_TRUE(session.addDraw(fields[0], fields[1]));
    ASSERT_TRUE(session.reloadHistory());
    expectHeldAsStored(session, "after a draw in a gap");

    // A change of the history between the typed draw and the reload is not missed.
    ASSERT_TRUE(session.addDraw(session.proposedPeriod(), QStringLiteral("00000")));
    ASSERT_TRUE(deleteLastDraws(session.store(), QStringLiteral("2")));
    ASSERT_TRUE(session.reloadHistory());
    expectHeldAsStored(session, "after a deletion");
}
