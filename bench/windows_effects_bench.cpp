// One frame of each effect of the celebration window: the ripple at the window's client size
// when scaled to a 1280 x 1024 screen (835 x 680), and the fireworks control (273 x 161) with
// all 10000 particles alive.
#include <benchmark/benchmark.h>

#include <vector>

#include "windows/firework_particles.h"
#include "windows/water_effect.h"

using namespace windows;

namespace {
constexpr int kRippleWidth = 835, kRippleHeight = 680;

void BM_RippleFrame(benchmark::State& state) {
  LcgRandom random(1);
  TWaterEffect water(random);
  water.SetSize(kRippleWidth, kRippleHeight);
  std::vector<std::uint8_t> source(3 * kRippleWidth * kRippleHeight), target(source.size());
  for (size_t i = 0; i < source.size(); ++i) source[i] = static_cast<std::uint8_t>(i * 7);
  const Bitmap24 src{source.data(), 3 * kRippleWidth, kRippleWidth, kRippleHeight};
  const Bitmap24 dst{target.data(), 3 * kRippleWidth, kRippleWidth, kRippleHeight};
  for (int i = 0; i < 50; ++i) water.Blob(-1, -1, 1, static_cast<int>(random.Random(500)) + 50);
  for (auto _ : state) {
    // The window's tick: now and then a drop, then one step and the refraction.
    if (random.Random(8) == 1) water.Blob(-1, -1, 1, static_cast<int>(random.Random(500)) + 50);
    water.Render(src, dst);
    benchmark::DoNotOptimize(target.data());
  }
}
BENCHMARK(BM_RippleFrame)->Unit(benchmark::kMillisecond);

// The two halves of a ripple frame apart: the simulation step and the refraction.
void BM_RippleStepOnly(benchmark::State& state) {
  TWaterEffect water;
  water.SetSize(kRippleWidth, kRippleHeight);
  for (int i = 0; i < 50; ++i) water.Blob(-1, -1, 1, 300);
  for (auto _ : state) water.Calc();
}
BENCHMARK(BM_RippleStepOnly)->Unit(benchmark::kMillisecond);

void BM_RippleRefractionOnly(benchmark::State& state) {
  TWaterEffect water;
  water.SetSize(kRippleWidth, kRippleHeight);
  for (int i = 0; i < 50; ++i) water.Blob(-1, -1, 1, 300);
  for (int i = 0; i < 20; ++i) water.Calc();
  std::vector<std::uint8_t> source(3 * kRippleWidth * kRippleHeight, 100), target(source.size());
  const Bitmap24 src{source.data(), 3 * kRippleWidth, kRippleWidth, kRippleHeight};
  const Bitmap24 dst{target.data(), 3 * kRippleWidth, kRippleWidth, kRippleHeight};
  for (auto _ : state) {
    water.Draw(src, dst);
    benchmark::DoNotOptimize(target.data());
  }
}
BENCHMARK(BM_RippleRefractionOnly)->Unit(benchmark::kMillisecond);

void BM_FireworksFrameAllAlive(benchmark::State& state) {
  LcgRandom random(2);
  FireWorkParticles particles(random);
  particles.SetParticleCount(10000);
  particles.MaxPackCount = 10000;
  TDrawScreen screen(273, 161);
  for (auto _ : state) {
    state.PauseTiming();
    // Every particle alive and exploding inside the control for the measured tick.
    for (int i = 0; i < particles.ParticleCount(); ++i) {
      particles.state[i] = TParticleState::psExploding;
      particles.life[i] = 50;
      particles.fx[i] = 20 + i % 230;
      particles.fy[i] = 20 + (i / 230) % 120;
      particles.vx[i] = 0.3;
      particles.vy[i] = -0.2;
    }
    state.ResumeTiming();
    particles.MoveParticles(screen);
    FireWorkParticles::Blur(screen);
    benchmark::DoNotOptimize(screen.Row(80));
  }
  state.counters["alive_after"] = particles.LiveCount();
}
BENCHMARK(BM_FireworksFrameAllAlive)->Unit(benchmark::kMillisecond);
}  // namespace
