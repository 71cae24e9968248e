#include "tools/level_maker/level_map.hpp"

#include <cstdio>
#include <fstream>
#include <map>
#include <stdexcept>

namespace {

constexpr unsigned square = 32768; // world units per map character

struct WallKind {
    char symbol;
    const char* name;
    unsigned height;    // top of the wall
    unsigned thickness; // across the wall, centred in its character
};

// Brick walls stand over everything; old brick ruins are lower; wooden fences
// stay under the eye, so a driver sees over them. Every wall is thicker than a
// car moves in one step at full nitro (6144): a car's box is tested only where
// each step ends, and a step that carried it across a thinner wall would leave
// the wall inside the box, where the touch rule no longer sees it.
constexpr WallKind wallKinds[] = {
    {'#', "brickwall", 20000, 8192},
    {'%', "oldbrickwall", 12000, 8192},
    {'=', "woodwall", 2400, 6400},
};

const WallKind* wallKind(char c) {
    for (const WallKind& w : wallKinds)
        if (w.symbol == c) return &w;
    return nullptr;
}

struct Placed {
    const char* name;
    const char* group;
    unsigned owner;
};

// Every other symbol of the legend: what it places and in which group.
const std::map<char, Placed>& legend() {
    static const std::map<char, Placed> table = {
        {'~', {"sea", "ground", 0}},         {':', {"sand", "ground", 0}},
        {'o', {"stone1", "obstacles", 0}},   {'O', {"stone2", "obstacles", 0}},
        {'Q', {"stone3", "obstacles", 0}},   {'*', {"bush", "plants", 0}},
        {'T', {"tree", "plants", 0}},        {'A', {"hq", "headquarters", 1}},
        {'B', {"hq", "headquarters", 2}},    {'C', {"hq", "headquarters", 3}},
        {'a', {"flag", "flags", 1}},         {'b', {"flag", "flags", 2}},
        {'c', {"flag", "flags", 3}},         {'1', {"car", "cars", 1}},
        {'2', {"car", "cars", 2}},           {'3', {"car", "cars", 3}},
        {'f', {"firepak", "pick-ups", 0}},   {'m', {"minepak", "pick-ups", 0}},
        {'h', {"healthpak", "pick-ups", 0}}, {'n', {"nitropak", "pick-ups", 0}},
        {'x', {"mine", "pick-ups", 0}},
    };
    return table;
}

const char* const groupOrder[] = {"walls",        "ground", "obstacles", "plants",
                                  "headquarters", "flags",  "cars",      "pick-ups"};

std::string trimmed(const std::string& s) {
    const size_t a = s.find_first_not_of(" \t\r");
    const size_t b = s.find_last_not_of(" \t\r");
    return a == std::string::npos ? "" : s.substr(a, b - a + 1);
}

} // namespace

LevelMap readLevelMap(const std::string& path) {
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot read " + path);
    LevelMap map;
    std::string line;
    bool inMap = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (inMap) {
            if (!line.empty()) map.rows.push_back(line);
            continue;
        }
        if (line.empty() || line[0] == ';') continue; // ';' starts a note line
        const size_t colon = line.find(':');
        if (colon == std::string::npos) throw std::runtime_error(path + ": expected 'key: value': " + line);
        const std::string key = line.substr(0, colon), value = trimmed(line.substr(colon + 1));
        if (key == "title")
            map.title = value;
        else if (key == "players")
            map.players = std::stoi(value);
        else if (key == "colours") {
            size_t at = 0;
            while (at < value.size()) {
                const size_t end = value.find(' ', at);
                map.colours.push_back(value.substr(at, end - at));
                if (end == std::string::npos) break;
                at = value.find_first_not_of(' ', end);
            }
        } else if (key == "nudge") {
            Nudge n;
            char extra = 0;
            if (std::sscanf(value.c_str(), "%c %d %d %c", &n.symbol, &n.dx, &n.dy, &extra) != 3)
                throw std::runtime_error(path + ": expected 'nudge: <symbol> <dx> <dy>': " + line);
            if (!legend().count(n.symbol))
                throw std::runtime_error(path + ": nudge of an unknown symbol: " + line);
            map.nudges.push_back(n);
        } else if (key == "map")
            inMap = true;
        else
            throw std::runtime_error(path + ": unknown key " + key);
    }
    if (map.title.empty() || map.title.size() > 79)
        throw std::runtime_error(path + ": title missing or too long");
    if (map.players < 1 || static_cast<int>(map.colours.size()) != map.players)
        throw std::runtime_error(path + ": players and colours do not match");
    if (map.rows.empty() || map.rows.size() % 2 || map.rows[0].size() % 2)
        throw std::runtime_error(path + ": the map needs an even number of rows and columns");
    for (const std::string& row : map.rows)
        if (row.size() != map.rows[0].size()) throw std::runtime_error(path + ": rows of different lengths");
    return map;
}

EntryGroups buildEntries(const LevelMap& map,
                         const std::function<Footprint(const std::string&)>& footprintOf) {
    const int rows = static_cast<int>(map.rows.size()), cols = static_cast<int>(map.rows[0].size());
    const auto at = [&](int r, int c) {
        return r < 0 || c < 0 || r >= rows || c >= cols ? ' ' : map.rows[r][c];
    };
    // The square of column c spans x from c * square; row 0 is the far side.
    const auto left = [&](int c) { return static_cast<unsigned>(c) * square; };
    const auto bottom = [&](int r) { return static_cast<unsigned>(rows - 1 - r) * square; };

    std::map<std::string, std::vector<LevelEntry>> groups;
    std::vector<std::vector<bool>> inRun(rows, std::vector<bool>(cols, false));

    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            const WallKind* w = wallKind(at(r, c));
            if (!w) continue;
            // Walls of two kinds must not meet: their ends would not join.
            for (const auto& [dr, dc] : {std::pair{0, 1}, std::pair{1, 0}}) {
                const WallKind* other = wallKind(at(r + dr, c + dc));
                if (other && other != w)
                    throw std::runtime_error("two kinds of wall meet at row " + std::to_string(r));
            }
        }
    // The renderer interpolates depth (and so fog) linearly across the screen,
    // which goes wrong over faces that reach far away: fog would jump where a
    // long face ends. Walls are therefore cut at character centres into pieces
    // half a cell long (up to a cell at the end of a run).
    const auto addWall = [&](const WallKind& w, unsigned x1, unsigned y1, unsigned x2, unsigned y2) {
        const bool alongX = x2 - x1 >= y2 - y1;
        const unsigned from = alongX ? x1 : y1, to = alongX ? x2 : y2;
        for (unsigned a = from; a < to;) {
            unsigned b = (a - a % square) + square / 2 + square; // one character on
            if (b > to || to - b < square) b = to;               // no sliver at the end
            if (alongX)
                groups["walls"].push_back({w.name, 0, a, y1, 0, true, b, y2, w.height});
            else
                groups["walls"].push_back({w.name, 0, x1, a, 0, true, x2, b, w.height});
            a = b;
        }
    };
    // Horizontal runs first: each reaches through the centre squares of its end
    // characters, so that two runs meeting at a corner leave no seam.
    const auto inRow = [&](int r, int c) {
        const WallKind* w = wallKind(at(r, c));
        return w && (wallKind(at(r, c - 1)) == w || wallKind(at(r, c + 1)) == w);
    };
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols;) {
            const WallKind* w = wallKind(at(r, c));
            int end = c;
            while (w && wallKind(at(r, end + 1)) == w) ++end;
            if (w && end > c) {
                const unsigned half = w->thickness / 2, mid = square / 2;
                addWall(*w, left(c) + mid - half, bottom(r) + mid - half, left(end) + mid + half,
                        bottom(r) + mid + half);
                for (int k = c; k <= end; ++k) inRun[r][k] = true;
            }
            c = end + 1;
        }
    // Vertical runs stop at the faces of the horizontal ones they meet, at a
    // corner, a junction or a crossing: a wall end inside another wall would
    // show through it, since walls are drawn whole, one after the other. They
    // reach one unit past the face: the touch rule asks for a corner strictly
    // inside a box, so a car sliding along the face would pass an end lying
    // exactly in it.
    constexpr unsigned seal = 1;
    for (int c = 0; c < cols; ++c)
        for (int r = 0; r < rows;) {
            const WallKind* w = wallKind(at(r, c));
            int end = r;
            while (w && wallKind(at(end + 1, c)) == w) ++end;
            if (w && end > r) {
                const unsigned half = w->thickness / 2, mid = square / 2;
                const unsigned x1 = left(c) + mid - half, x2 = left(c) + mid + half;
                // From the top character down, the stretches between the
                // horizontal walls this run crosses.
                unsigned top = bottom(r) + mid + half;
                for (int k = r; k <= end; ++k) {
                    if (!inRow(k, c)) continue;
                    if (k > r && !inRow(k - 1, c)) addWall(*w, x1, bottom(k) + mid + half - seal, x2, top);
                    top = bottom(k) + mid - half + seal;
                }
                if (!inRow(end, c)) addWall(*w, x1, bottom(end) + mid - half, x2, top);
                for (int k = r; k <= end; ++k) inRun[k][c] = true;
            } else if (w && !inRun[r][c]) {
                // A lone post.
                const unsigned half = w->thickness / 2, mid = square / 2;
                addWall(*w, left(c) + mid - half, bottom(r) + mid - half, left(c) + mid + half,
                        bottom(r) + mid + half);
            }
            r = end + 1;
        }

    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            const char symbol = at(r, c);
            if (symbol == '.' || symbol == ' ' || wallKind(symbol)) continue;
            const auto found = legend().find(symbol);
            if (found == legend().end())
                throw std::runtime_error(std::string("unknown map symbol '") + symbol + "' at row " +
                                         std::to_string(r));
            const Placed& p = found->second;
            if (p.owner > static_cast<unsigned>(map.players))
                throw std::runtime_error(std::string("symbol '") + symbol +
                                         "' names a player the level lacks");
            const Footprint f = footprintOf(p.name);
            if (f.width >= square || f.depth >= square)
                throw std::runtime_error(std::string(p.name) + " does not fit in one map square");
            // Centre the footprint in the square. A billboard's footprint is
            // centred on its placement y already.
            const unsigned cx = left(c) + square / 2, cy = bottom(r) + square / 2;
            LevelEntry e{p.name, p.owner, cx - f.width / 2, f.billboard ? cy : cy - f.depth / 2, 0};
            // Ground patches fill their square exactly (one unit short of it),
            // so that each lies in one grid cell and neighbours join.
            const bool ground = std::string(p.name) == "sea" || std::string(p.name) == "sand";
            if (ground) e.x = left(c), e.y = bottom(r);
            for (const Nudge& n : map.nudges) {
                if (n.symbol != symbol) continue;
                if (ground) throw std::runtime_error("ground patches cannot be nudged");
                const long x = long{e.x} + n.dx, y = long{e.y} + n.dy;
                if (x < 0 || y < 0 || x + f.width > long{left(cols)} || y + f.depth > long{bottom(-1)})
                    throw std::runtime_error(std::string("nudged '") + symbol + "' leaves the map");
                e.x = static_cast<unsigned>(x), e.y = static_cast<unsigned>(y);
            }
            groups[p.group].push_back(e);
        }

    EntryGroups ordered;
    for (const char* g : groupOrder)
        if (groups.count(g)) ordered.emplace_back(g, std::move(groups[g]));
    return ordered;
}

std::string formatLevel(const LevelMap& map, const EntryGroups& groups) {
    std::string out;
    char line[128];
    out += map.title + "\n";
    std::snprintf(line, sizeof line, "%zu\n%zu\n%d\n", map.rows[0].size() / 2, map.rows.size() / 2,
                  map.players);
    out += line;
    for (const std::string& colour : map.colours) out += colour + "\n";
    for (const auto& [group, entries] : groups) {
        out += "/ " + group + "\n";
        for (const LevelEntry& e : entries) {
            std::snprintf(line, sizeof line, "%s\n%u %u %u %u\n", e.name.c_str(), e.owner, e.x, e.y, e.z);
            out += line;
            if (e.box) {
                std::snprintf(line, sizeof line, "%u %u %u\n", e.x2, e.y2, e.z2);
                out += line;
            }
        }
    }
    return out;
}
