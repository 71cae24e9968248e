#include "sim/match_events.hpp"

#include "sim/match_state.hpp"

void setMatchEventListener(MatchEventListener listener) {
    sim::match.matchEventListener = listener;
}

void tellMatchEvent(const MatchEvent& event) {
    if (sim::match.matchEventListener != nullptr) {
        sim::match.matchEventListener(event);
    }
}

const char* matchEventName(MatchEventKind kind) {
    switch (kind) {
    case MatchEventKind::ShotFired: return "ShotFired";
    case MatchEventKind::ShotHitCar: return "ShotHitCar";
    case MatchEventKind::ShotHitWall: return "ShotHitWall";
    case MatchEventKind::PlantFlattened: return "PlantFlattened";
    case MatchEventKind::MineLaid: return "MineLaid";
    case MatchEventKind::MineExploded: return "MineExploded";
    case MatchEventKind::CarDestroyed: return "CarDestroyed";
    case MatchEventKind::CarRespawned: return "CarRespawned";
    case MatchEventKind::CrateCollected: return "CrateCollected";
    case MatchEventKind::FlagPickedUp: return "FlagPickedUp";
    case MatchEventKind::FlagDropped: return "FlagDropped";
    case MatchEventKind::FlagCaptured: return "FlagCaptured";
    case MatchEventKind::CarsBumped: return "CarsBumped";
    case MatchEventKind::CarHitWall: return "CarHitWall";
    case MatchEventKind::NitroOn: return "NitroOn";
    case MatchEventKind::MatchWon: return "MatchWon";
    }
    return "?";
}
