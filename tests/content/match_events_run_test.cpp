// A whole match on a shipped level, played twice by the same scripted human:
// once with nobody listening to its events and once with a listener. The two
// matches are the same to the bit, and the events heard tell the match's story.
#include "sim/match_digest.hpp"
#include "sim/match_events.hpp"
#include "tests/content/level_match.hpp"
#include "tests/support/world_run.hpp"
#include "tools/common/flag_runner.hpp"

#include <map>
#include <vector>

namespace {

constexpr u32 matchLimit = 20000;

std::vector<MatchEvent> heard;
void hear(const MatchEvent& event) {
    heard.push_back(event);
}

struct Played {
    std::vector<u64> digests; // every 100 steps and at the end
    i16 winner = -1;
    std::vector<u32> captures; // by player
};

Played playLevelA(bool listening) {
    LevelMatch match(0);
    if (listening) setMatchEventListener(hear);
    FlagRunner runner(*world::state.players[0]);
    Played played;
    while (sim::match.winner == -1 && match.steps < matchLimit) {
        runner.press();
        match.step();
        if (match.steps % 100 == 0) played.digests.push_back(matchDigest());
    }
    played.digests.push_back(matchDigest());
    played.winner = sim::match.winner;
    for (u16 i = 0; i < world::state.playerCount; ++i) played.captures.push_back(LevelMatch::captures(i));
    return played;
}

class MatchEventsRun : public InRunDirectory {};

TEST_F(MatchEventsRun, ListeningChangesNothingAndTheEventsFollowTheMatch) {
    heard.clear();
    const Played silent = playLevelA(false);
    ASSERT_TRUE(heard.empty());
    const Played listened = playLevelA(true);
    EXPECT_EQ(listened.digests, silent.digests);

    // Replayed from the events alone: who carries a flag, who has scored how many.
    std::map<u16, int> carrying;
    std::map<u16, int> captures;
    std::map<MatchEventKind, int> count;
    for (const MatchEvent& e : heard) {
        ++count[e.kind];
        switch (e.kind) {
        case MatchEventKind::FlagPickedUp:
            EXPECT_EQ(carrying[e.player]++, 0) << "a second flag picked up by " << e.player;
            break;
        case MatchEventKind::FlagDropped:
        case MatchEventKind::FlagCaptured:
            EXPECT_EQ(carrying[e.player]--, 1) << "no flag to lose for " << e.player;
            captures[e.player] += e.kind == MatchEventKind::FlagCaptured;
            break;
        default: break;
        }
    }
    ASSERT_NE(listened.winner, -1) << "no winner within " << matchLimit << " steps";
    EXPECT_EQ(heard.back().kind, MatchEventKind::MatchWon);
    EXPECT_EQ(heard.back().player, listened.winner);
    EXPECT_EQ(count[MatchEventKind::MatchWon], 1);
    for (u16 i = 0; i < listened.captures.size(); ++i)
        EXPECT_EQ(captures[i], static_cast<int>(listened.captures[i])) << "player " << i;
    // Deaths and respawns come in pairs; the computer players shoot at the human.
    EXPECT_EQ(count[MatchEventKind::CarDestroyed], count[MatchEventKind::CarRespawned]);
    EXPECT_GT(count[MatchEventKind::ShotFired], 0);
    EXPECT_GT(count[MatchEventKind::CarHitWall] + count[MatchEventKind::CarsBumped], 0);
    for (const auto& [kind, n] : count) std::printf("%s %d\n", matchEventName(kind), n);
}

} // namespace
