// Frame time of the renderer: the synthetic level built and drawn along a fixed
// camera path at both resolutions, filled (by the game's filler and by the
// reference filler it must match) and in outline mode, next to a plain memory
// fill of the same frame bytes measured in the same run. The ratios at the end
// are the numbers to compare between versions; absolute times depend on the
// machine.
#include "gfx/device_context.hpp"
#include "gfx/gfx_state.hpp"
#include "render/scene.hpp"
#include "render/scene_fill.hpp"
#include "tests/support/reference_fill.hpp"
#include "tests/support/synthetic_world.hpp"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int pathLength = 120;

const SyntheticWorld& level() {
    static SyntheticWorld world = [] {
        SyntheticWorld w;
        buildSyntheticWorld(w);
        return w;
    }();
    return world;
}

const std::vector<Camera>& cameraPath() {
    static const std::vector<Camera> path = [] {
        std::vector<Camera> cameras;
        for (int step = 0; step < pathLength; ++step) cameras.push_back(syntheticPathCamera(step));
        return cameras;
    }();
    return path;
}

// How a benchmark draws its frames.
enum DrawMode : i64 { filled = 0, outline = 1, referenceFill = 2 };

// One frame per iteration: build the scene from the next camera of the path,
// draw it, free it.
void drawFrames(benchmark::State& state) {
    const i32 width = static_cast<i32>(state.range(0));
    const i32 height = width * 3 / 4;
    const DrawMode mode = static_cast<DrawMode>(state.range(1));
    auto frame = createMemoryContext(width, height, 24);
    makeCurrentContext(frame.get());
    const i32 maxX = width - 1;
    const i32 maxY = height - 1;
    const SyntheticWorld& world = level();
    const std::vector<Camera>& path = cameraPath();
    size_t step = 0;
    for (auto _ : state) {
        Scene scene = buildScene(world.grid, path[step], maxX, maxY, world.colours);
        if (mode == referenceFill) {
            for (ScenePolygon& polygon : scene.polygons) reference::fillPolygon(polygon, maxX, maxY);
        } else {
            drawScene(scene, mode == outline ? 1 : 0);
        }
        freeScene(scene);
        step = (step + 1) % path.size();
        benchmark::ClobberMemory();
    }
    resetGfx();
}

// The floor of any frame: writing every byte of it once.
void fillFrameBytes(benchmark::State& state) {
    const size_t width = static_cast<size_t>(state.range(0));
    std::vector<u8> bytes(width * (width * 3 / 4) * 3);
    u8 value = 0;
    for (auto _ : state) {
        std::memset(bytes.data(), value++, bytes.size());
        benchmark::DoNotOptimize(bytes.data());
        benchmark::ClobberMemory();
    }
}

BENCHMARK(drawFrames)
    ->ArgNames({"width", "mode"})
    ->ArgsProduct({{640, 320}, {filled, outline, referenceFill}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(fillFrameBytes)->ArgName("width")->Arg(640)->Arg(320)->Unit(benchmark::kMillisecond);

// Prints as usual and keeps the processor time per iteration of every run for the
// ratios (processor time, so that other work on the machine disturbs them less).
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && run.iterations > 0) {
                milliseconds[run.benchmark_name()] =
                    run.GetAdjustedCPUTime() * 1e3 / benchmark::GetTimeUnitMultiplier(run.time_unit);
            }
        }
    }

    void printRatios() const {
        static const char* const modeNames[] = {"filled", "outline", "reference fill"};
        for (const int width : {640, 320}) {
            const std::string w = std::to_string(width);
            const auto fill = milliseconds.find("fillFrameBytes/width:" + w);
            if (fill == milliseconds.end()) continue;
            for (const int mode : {filled, outline, referenceFill}) {
                const auto frame =
                    milliseconds.find("drawFrames/width:" + w + "/mode:" + std::to_string(mode));
                if (frame == milliseconds.end()) continue;
                std::printf("%sx%d %s: %.3f ms of processor time per frame, %.1f times a plain "
                            "fill of the frame (%.4f ms)\n",
                            w.c_str(), width * 3 / 4, modeNames[mode], frame->second,
                            frame->second / fill->second, fill->second);
            }
            const auto fast = milliseconds.find("drawFrames/width:" + w + "/mode:0");
            const auto reference = milliseconds.find("drawFrames/width:" + w + "/mode:2");
            if (fast != milliseconds.end() && reference != milliseconds.end()) {
                std::printf("%sx%d: the game's filler takes %.2f of the reference filler's time\n", w.c_str(),
                            width * 3 / 4, fast->second / reference->second);
            }
        }
    }

  private:
    std::map<std::string, double> milliseconds;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatios();
    benchmark::Shutdown();
    return 0;
}
