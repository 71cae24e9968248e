#include "tools/sound_maker/recipes.hpp"

#include <initializer_list>

// Each recipe draws its noise from its own seed, so changing one effect
// leaves the bytes of every other alone. Peaks sit at -3 to -8 dBFS, leaving
// room for several effects at once in the game's mix: the big, rare moments
// (explosions, a capture, the fanfare) highest, steady tones lower than
// percussive hits so that they sound about as loud.

namespace {

// ---- Shared pieces ---------------------------------------------------------

// A knock or boom: a sine falling in pitch, struck and dying away.
Signal thump(Sweep pitchHz, double halfLife, double seconds) {
    Signal s = tone({.wave = Wave::Sine, .pitchHz = pitchHz}, seconds);
    strike(s, 0.001, halfLife);
    return s;
}

// A burst of filtered noise, struck and dying away.
Signal burst(ToolRandom& random, const Filter& colour, double attack, double halfLife, double seconds) {
    Signal s = noise(seconds, random);
    filter(s, colour);
    strike(s, attack, halfLife);
    return s;
}

// A ringing partial of something metal.
Signal ping(double hz, double halfLife, double seconds) {
    Signal s = tone({.wave = Wave::Sine, .pitchHz = steady(hz)}, seconds);
    strike(s, 0.0005, halfLife);
    return s;
}

// A struck piece of metal: a few inharmonic partials, the high ones dying first.
Signal clang(double baseHz, double halfLife, double seconds) {
    Signal s;
    const double ratios[] = {1.0, 2.76, 5.40, 8.93};
    const double gains[] = {1.0, 0.6, 0.35, 0.2};
    for (int i = 0; i < 4; ++i) layer(s, ping(baseHz * ratios[i], halfLife / (1 + i), seconds), gains[i]);
    return s;
}

// A short synthesiser note: the game's "chip" voice for blips and calls.
Signal blip(Wave wave, int midiNote, double seconds, double release = 0.02) {
    Signal s = tone({.wave = wave, .pitchHz = steady(noteHz(midiNote))}, seconds);
    shape(s, {.attack = 0.003, .decay = 0.04, .sustain = 0.6, .release = release});
    return s;
}

// Notes one after another, each `step` seconds after the last; the last rings
// for `lastSeconds`.
Signal run(Wave wave, std::initializer_list<int> notes, double step, double lastSeconds) {
    Signal s;
    double at = 0;
    int left = static_cast<int>(notes.size());
    for (int note : notes) {
        const bool last = --left == 0;
        layer(s, blip(wave, note, last ? lastSeconds : step, last ? lastSeconds * 0.6 : 0.02), 1.0, at);
        at += step;
    }
    return s;
}

// A brass-like voice: two slightly detuned saws through a low pass that opens
// as the note speaks, with a gentle vibrato.
Signal brass(int midiNote, double seconds) {
    const double hz = noteHz(midiNote);
    Signal s = tone({.wave = Wave::Saw, .pitchHz = steady(hz), .vibratoHz = 5.5, .vibratoCents = 6}, seconds);
    layer(s, tone({.wave = Wave::Saw, .pitchHz = steady(hz * 1.003), .phase = 0.37}, seconds), 0.8);
    filter(s, {.pass = Pass::Low, .cutoffHz = {hz * 1.5, hz * 6, 0.08}, .q = 1.0});
    shape(s, {.attack = 0.02, .decay = 0.12, .sustain = 0.7, .release = 0.06});
    return s;
}

// One engine loop: `firings` power strokes in `seconds`, each a short pop of
// noise, some weaker than others so it runs lumpy; the exhaust's resonance at
// `throatHz` gives it its throaty tone. The game fades between the idle, mid
// and fast layers with speed; they share the pop and the throat, so they blend
// as one motor.
struct Engine {
    double seconds;
    int firings;
    double throatHz;
    double throatQ;
    double popHalfLife; // shorter pops sound tighter and brighter
    double lumpiness;   // 0: every stroke alike, 1: some strokes nearly missing
    double rasp;        // how strong the higher ring is against the throat's
    double bark;        // how much of the bare pops rides over both
    std::uint64_t seed;
};

Signal engineLoop(const Engine& e) {
    ToolRandom random(e.seed);
    Signal loop(samplesIn(e.seconds), 0.0);
    for (int k = 0; k < e.firings; ++k) {
        Signal pop = noise(0.03, random);
        layer(pop, ping(e.throatHz * 0.5, 0.004, 0.03), 1.5);
        strike(pop, 0.0004, e.popHalfLife);
        // Alternate strokes are weaker, and every stroke a little uneven.
        const double strength = 1 - e.lumpiness * (k % 2 ? 0.5 : 0.0) - e.lumpiness * 0.4 * random.unit();
        layerAround(loop, pop, strength, e.seconds * k / e.firings);
    }
    // The body rings at the throat, a second, rasping ring sits a little
    // over an octave and a half above it, and the bare pops, dulled, bark on top.
    Signal rasp = loop;
    Signal bark = loop;
    filterLoop(loop, {.pass = Pass::Band, .cutoffHz = steady(e.throatHz), .q = e.throatQ});
    filterLoop(rasp, {.pass = Pass::Band, .cutoffHz = steady(e.throatHz * 3.3), .q = 2});
    filterLoop(bark, {.pass = Pass::Low, .cutoffHz = steady(e.throatHz * 8)});
    layer(loop, rasp, e.rasp);
    layer(loop, bark, e.bark);
    // Under everything else all match long, so a little quieter than the effects.
    finishLoop(loop, -8);
    return loop;
}

// ---- The effects -------------------------------------------------------------

// A slow, lumpy idle: deep, throaty pops, 36 a second.
Signal engineIdle() {
    return engineLoop({.seconds = 0.5,
                       .firings = 18,
                       .throatHz = 170,
                       .throatQ = 3.0,
                       .popHalfLife = 0.006,
                       .lumpiness = 0.5,
                       .rasp = 0.35,
                       .bark = 0.1,
                       .seed = 101});
}

// Cruising: the same motor pulling, 60 pops a second.
Signal engineMid() {
    return engineLoop({.seconds = 0.5,
                       .firings = 30,
                       .throatHz = 240,
                       .throatQ = 2.8,
                       .popHalfLife = 0.005,
                       .lumpiness = 0.4,
                       .rasp = 0.4,
                       .bark = 0.12,
                       .seed = 103});
}

// Full throttle: the same motor revving, 90 pops a second, brighter and rougher.
Signal engineFast() {
    return engineLoop({.seconds = 0.5,
                       .firings = 45,
                       .throatHz = 320,
                       .throatQ = 2.5,
                       .popHalfLife = 0.004,
                       .lumpiness = 0.25,
                       .rasp = 0.4,
                       .bark = 0.128,
                       .seed = 102});
}

// A bright blaster "pew": a square wave diving in pitch, a muzzle crack, a low kick.
Signal shot() {
    ToolRandom random(201);
    const double length = 0.22;
    Signal s = tone({.wave = Wave::Square, .pitchHz = {1600, 180, 0.18}}, length);
    filter(s, {.pass = Pass::Low, .cutoffHz = steady(4500)});
    strike(s, 0.001, 0.05);
    layer(s, burst(random, {.pass = Pass::High, .cutoffHz = steady(2500)}, 0.0005, 0.006, 0.04), 0.7);
    layer(s, thump({160, 60, 0.08}, 0.03, 0.12), 0.8);
    finishOneShot(s, -6);
    return s;
}

// A shot striking a car: a sharp metallic clang over a crack and a dull knock.
Signal shotHitCar() {
    ToolRandom random(202);
    Signal s = clang(560, 0.045, 0.3);
    layer(s, burst(random, {.pass = Pass::High, .cutoffHz = steady(1800)}, 0.0005, 0.01, 0.08), 0.9);
    layer(s, thump({220, 90, 0.05}, 0.03, 0.15), 0.7);
    saturate(s, 1.5);
    finishOneShot(s, -4);
    return s;
}

// A shot striking a wall or a plant: a dry crack of chips and a short knock, no ring.
Signal shotHitWall() {
    ToolRandom random(203);
    Signal s =
        burst(random, {.pass = Pass::Band, .cutoffHz = {2200, 900, 0.1}, .q = 0.9}, 0.0005, 0.018, 0.22);
    Signal chips = crackle(0.18, 220, random);
    filter(chips, {.pass = Pass::High, .cutoffHz = steady(2000)});
    strike(chips, 0.0005, 0.04);
    layer(s, chips, 1.2, 0.005);
    layer(s, thump({180, 80, 0.06}, 0.025, 0.12), 0.8);
    finishOneShot(s, -5);
    return s;
}

// A bush or tree flattened: leaves crunching and twigs snapping under the
// wheels, then the trunk giving way with a woody crack.
Signal plantFlattened() {
    ToolRandom random(204);
    const double length = 0.5;
    // Leaves: hundreds of tiny ringing grains, a crunch rather than a hiss.
    Signal leaves = crackle(length, 900, random);
    filter(leaves, {.pass = Pass::Band, .cutoffHz = steady(4200), .q = 2.5});
    shape(leaves, {.attack = 0.01, .decay = 0.12, .sustain = 0.45, .release = 0.3});
    Signal twigs = crackle(length, 70, random);
    filter(twigs, {.pass = Pass::Band, .cutoffHz = steady(1700), .q = 6});
    strike(twigs, 0.002, 0.15);
    Signal s = leaves;
    layer(s, twigs, 1.5);
    layer(s, burst(random, {.pass = Pass::Band, .cutoffHz = steady(850), .q = 5}, 0.0005, 0.015, 0.1), 0.5,
          0.03);
    layer(s, thump({120, 60, 0.1}, 0.05, 0.2), 0.12, 0.03);
    saturate(s, 2);
    finishOneShot(s, -6);
    return s;
}

// A mine laid: a heavy clunk as it drops, then two quick arming beeps.
Signal mineLaid() {
    ToolRandom random(205);
    Signal s = thump({130, 70, 0.05}, 0.03, 0.15);
    layer(s, burst(random, {.pass = Pass::Low, .cutoffHz = steady(900)}, 0.0005, 0.015, 0.08), 0.6);
    layer(s, blip(Wave::Square, 91, 0.045), 0.35, 0.13);
    layer(s, blip(Wave::Square, 91, 0.045), 0.35, 0.21);
    finishOneShot(s, -5);
    return s;
}

// A mine going off: a sharp blast, a deep boom and a rumble rolling away.
Signal mineExplodes() {
    ToolRandom random(206);
    const double length = 1.4;
    Signal s = burst(random, {.pass = Pass::High, .cutoffHz = steady(1200)}, 0.0005, 0.012, 0.1);
    layer(s, burst(random, {.pass = Pass::Low, .cutoffHz = {6000, 160, 0.7}, .q = 0.9}, 0.002, 0.16, length),
          1.6);
    layer(s, thump({95, 38, 0.35}, 0.18, 1.0), 1.2);
    Signal rumble = noise(length, random);
    filter(rumble, {.pass = Pass::Low, .cutoffHz = steady(140), .q = 1.2});
    strike(rumble, 0.04, 0.3);
    layer(s, rumble, 2.5);
    saturate(s, 3);
    finishOneShot(s, -3, 0.001, 0.1);
    return s;
}

// A car destroyed: its power dying in a falling whine, a heavy explosion, and
// metal debris clattering down.
Signal carDestroyed() {
    ToolRandom random(207);
    const double length = 2.0;
    Signal blast =
        burst(random, {.pass = Pass::Low, .cutoffHz = {3500, 110, 1.0}, .q = 0.8}, 0.004, 0.25, length);
    amplify(blast, 1.6);
    layer(blast, thump({70, 30, 0.6}, 0.3, 1.5), 1.3);
    Signal rumble = noise(length, random);
    filter(rumble, {.pass = Pass::Low, .cutoffHz = steady(100), .q = 1.0});
    strike(rumble, 0.08, 0.45);
    layer(blast, rumble, 3.0);
    saturate(blast, 2.5);
    Signal whine = tone({.wave = Wave::Saw, .pitchHz = {900, 60, 0.8}}, 0.9);
    filter(whine, {.pass = Pass::Low, .cutoffHz = {4000, 300, 0.8}, .q = 2});
    strike(whine, 0.005, 0.25);
    Signal s = blast;
    layer(s, whine, 0.35);
    // Debris: bits of metal landing, fewer and quieter as time goes on.
    for (int k = 0; k < 9; ++k) {
        const double at = 0.25 + 0.13 * k + random.range(0, 0.08);
        layer(s, clang(random.range(1400, 2600), 0.03, 0.12), 0.2 * (1 - k / 11.0), at);
    }
    finishOneShot(s, -3, 0.001, 0.15);
    return s;
}

// A car back at its start: a rising shimmer as it materialises.
Signal carRespawn() {
    const double length = 0.8;
    Signal s = tone(
        {.wave = Wave::Triangle, .pitchHz = {220, 1320, 0.6}, .vibratoHz = 14, .vibratoCents = 40}, length);
    layer(s,
          tone({.wave = Wave::Sine,
                .pitchHz = {440, 2640, 0.6},
                .vibratoHz = 14,
                .vibratoCents = 40,
                .phase = 0.25},
               length),
          0.5);
    shape(s, {.attack = 0.1, .decay = 0.3, .sustain = 0.8, .release = 0.25});
    layer(s, run(Wave::Sine, {84, 88, 91, 96}, 0.06, 0.2), 0.35, 0.5);
    finishOneShot(s, -6);
    return s;
}

// Ammunition: the pick-up's rising two-note blip, then a double reload clack.
Signal crateAmmo() {
    ToolRandom random(209);
    Signal s = run(Wave::Square, {76, 83}, 0.06, 0.1);
    filter(s, {.pass = Pass::Low, .cutoffHz = steady(5000)});
    for (double at : {0.15, 0.22})
        layer(s, burst(random, {.pass = Pass::Band, .cutoffHz = steady(2800), .q = 3}, 0.0005, 0.006, 0.05),
              1.6, at);
    finishOneShot(s, -6);
    return s;
}

// Mines: the same blip an octave and more lower, rounder, ending in a heavy clunk.
Signal crateMines() {
    Signal s = run(Wave::Square, {57, 64}, 0.07, 0.12);
    filter(s, {.pass = Pass::Low, .cutoffHz = steady(1400)});
    layer(s, thump({140, 70, 0.05}, 0.035, 0.16), 1.2, 0.15);
    finishOneShot(s, -6);
    return s;
}

// Shields: the blip as a bright, shimmering rising chord of sines.
Signal crateShields() {
    Signal s = run(Wave::Sine, {72, 76, 79, 84}, 0.055, 0.3);
    Signal chorus = run(Wave::Triangle, {84, 88, 91, 96}, 0.055, 0.3);
    layer(s, chorus, 0.3);
    Signal shimmer =
        tone({.wave = Wave::Sine, .pitchHz = steady(noteHz(96)), .vibratoHz = 9, .vibratoCents = 30}, 0.45);
    shape(shimmer, {.attack = 0.15, .decay = 0.1, .sustain = 0.6, .release = 0.2});
    layer(s, shimmer, 0.25);
    finishOneShot(s, -6);
    return s;
}

// Nitro: the blip in a buzzy saw over a fizz that rises like a fuse.
Signal crateNitro() {
    ToolRandom random(212);
    Signal s = run(Wave::Saw, {74, 81}, 0.06, 0.14);
    filter(s, {.pass = Pass::Low, .cutoffHz = steady(3500)});
    Signal fizz = noise(0.3, random);
    filter(fizz, {.pass = Pass::Band, .cutoffHz = {900, 6000, 0.25}, .q = 2});
    shape(fizz, {.attack = 0.05, .decay = 0.1, .sustain = 0.8, .release = 0.1});
    layer(s, fizz, 0.6);
    finishOneShot(s, -5);
    return s;
}

// The enemy flag grabbed: a bright three-note call going up.
Signal flagPickedUp() {
    Signal s = run(Wave::Square, {67, 72, 79}, 0.08, 0.3);
    filter(s, {.pass = Pass::Low, .cutoffHz = steady(3500)});
    layer(s, run(Wave::Triangle, {79, 84, 91}, 0.08, 0.3), 0.4);
    finishOneShot(s, -5);
    return s;
}

// A flag dropped: the call falling in minor, its last note sagging away.
Signal flagDropped() {
    Signal s = run(Wave::Square, {79, 75}, 0.1, 0.1);
    Signal sag = tone({.wave = Wave::Square, .pitchHz = {noteHz(72), noteHz(66), 0.35}}, 0.4);
    shape(sag, {.attack = 0.003, .decay = 0.1, .sustain = 0.6, .release = 0.25});
    layer(s, sag, 1.0, 0.2);
    filter(s, {.pass = Pass::Low, .cutoffHz = steady(2500)});
    finishOneShot(s, -7);
    return s;
}

// A flag captured: a quick major arpeggio up into a ringing chord with sparkle.
Signal flagCaptured() {
    Signal s = run(Wave::Square, {72, 76, 79}, 0.07, 0.07);
    filter(s, {.pass = Pass::Low, .cutoffHz = steady(4000)});
    for (int note : {72, 76, 79, 84}) {
        Signal ring = blip(Wave::Triangle, note, 0.9, 0.5);
        layer(ring, blip(Wave::Square, note, 0.9, 0.5), 0.25);
        layer(s, ring, 0.35, 0.21);
    }
    layer(s, run(Wave::Sine, {96, 100, 103, 108}, 0.05, 0.25), 0.25, 0.25);
    finishOneShot(s, -3);
    return s;
}

// Two cars bumping: a short, rubbery double thump of bodies touching.
Signal carsBump() {
    ToolRandom random(217);
    Signal s = thump({150, 85, 0.06}, 0.03, 0.18);
    layer(s, thump({170, 95, 0.05}, 0.025, 0.14), 0.6, 0.05);
    Signal bonk = tone({.wave = Wave::Triangle, .pitchHz = {420, 300, 0.05}}, 0.08);
    strike(bonk, 0.001, 0.015);
    layer(s, bonk, 0.35);
    layer(s, burst(random, {.pass = Pass::Low, .cutoffHz = steady(700)}, 0.001, 0.01, 0.05), 0.5);
    finishOneShot(s, -5);
    return s;
}

// A car hitting a wall: a hard crunch, a low body thud and a short metal scrape.
Signal carHitsWall() {
    ToolRandom random(218);
    Signal s = thump({110, 45, 0.08}, 0.06, 0.35);
    layer(s, burst(random, {.pass = Pass::Band, .cutoffHz = steady(1500), .q = 0.8}, 0.0005, 0.03, 0.3), 1.2);
    Signal scrape = noise(0.3, random);
    filter(scrape, {.pass = Pass::Band, .cutoffHz = {3200, 2000, 0.3}, .q = 5});
    shape(scrape, {.attack = 0.01, .decay = 0.1, .sustain = 0.4, .release = 0.15});
    layer(s, scrape, 0.6, 0.02);
    layer(s, clang(310, 0.04, 0.2), 0.25);
    saturate(s, 2);
    finishOneShot(s, -4);
    return s;
}

// Nitro lit: an ignition pop, then a rising jet whoosh over a climbing growl.
Signal nitroOn() {
    ToolRandom random(219);
    const double length = 0.8;
    Signal s = noise(length, random);
    filter(s, {.pass = Pass::Band, .cutoffHz = {350, 4500, 0.6}, .q = 1.8});
    shape(s, {.attack = 0.06, .decay = 0.2, .sustain = 0.8, .release = 0.3});
    Signal growl = tone({.wave = Wave::Saw, .pitchHz = {90, 260, 0.6}}, length);
    filter(growl, {.pass = Pass::Low, .cutoffHz = steady(900)});
    shape(growl, {.attack = 0.05, .decay = 0.2, .sustain = 0.7, .release = 0.3});
    layer(s, growl, 0.4);
    layer(s, burst(random, {.pass = Pass::Low, .cutoffHz = steady(2000)}, 0.0005, 0.01, 0.06), 0.8);
    finishOneShot(s, -5);
    return s;
}

// The match won: a brass fanfare, up the chord to a held top note over a
// full chord and a timpani hit.
Signal matchWon() {
    ToolRandom random(220);
    struct Note {
        int midi;
        double beats;
    };
    constexpr double kBeat = 0.15; // an eighth note at 200 to the minute
    const Note tune[] = {{67, 1}, {72, 1}, {76, 1}, {79, 3}, {76, 1}, {79, 2}, {81, 1}, {83, 1}, {84, 8}};
    Signal s;
    double at = 0;
    for (const Note& n : tune) {
        layer(s, brass(n.midi, n.beats * kBeat * 0.95), 0.5, at);
        at += n.beats * kBeat;
    }
    const double finale = at - 8 * kBeat;
    for (int note : {48, 60, 64, 67}) layer(s, brass(note, 8 * kBeat), 0.25, finale);
    for (double hit : {0.0, 3 * kBeat, 6 * kBeat, finale}) {
        layer(s, thump({110, 70, 0.1}, 0.12, 0.6), 0.6, hit);
        layer(s, burst(random, {.pass = Pass::Low, .cutoffHz = steady(600)}, 0.001, 0.03, 0.2), 0.2, hit);
    }
    finishOneShot(s, -3, 0.002, 0.2);
    return s;
}

// Menu highlight moved: a tiny, clean tick.
Signal menuMove() {
    Signal s = tone({.wave = Wave::Triangle, .pitchHz = steady(1760)}, 0.05);
    strike(s, 0.0008, 0.008);
    layer(s, thump({600, 300, 0.02}, 0.008, 0.04), 0.5);
    finishOneShot(s, -6, 0.001, 0.005);
    return s;
}

// Menu choice made: a confident two-note blip up.
Signal menuSelect() {
    Signal s = run(Wave::Square, {81, 88}, 0.06, 0.12);
    filter(s, {.pass = Pass::Low, .cutoffHz = steady(4000)});
    finishOneShot(s, -8);
    return s;
}

} // namespace

const std::vector<SoundEffect>& soundEffects() {
    static const std::vector<SoundEffect> effects = {
        {"engine_idle.wav", true, engineIdle},
        {"engine_mid.wav", true, engineMid},
        {"engine_fast.wav", true, engineFast},
        {"shot.wav", false, shot},
        {"shot_hit_car.wav", false, shotHitCar},
        {"shot_hit_wall.wav", false, shotHitWall},
        {"plant_flattened.wav", false, plantFlattened},
        {"mine_laid.wav", false, mineLaid},
        {"mine_explodes.wav", false, mineExplodes},
        {"car_destroyed.wav", false, carDestroyed},
        {"car_respawn.wav", false, carRespawn},
        {"crate_ammo.wav", false, crateAmmo},
        {"crate_mines.wav", false, crateMines},
        {"crate_shields.wav", false, crateShields},
        {"crate_nitro.wav", false, crateNitro},
        {"flag_picked_up.wav", false, flagPickedUp},
        {"flag_dropped.wav", false, flagDropped},
        {"flag_captured.wav", false, flagCaptured},
        {"cars_bump.wav", false, carsBump},
        {"car_hits_wall.wav", false, carHitsWall},
        {"nitro_on.wav", false, nitroOn},
        {"match_won.wav", false, matchWon},
        {"menu_move.wav", false, menuMove},
        {"menu_select.wav", false, menuSelect},
    };
    return effects;
}
