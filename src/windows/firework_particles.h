// The particles of the fireworks: nine parallel arrays, bursts that send rockets up from
// the bottom, the per-tick move that draws them into a TDrawScreen, and the blur that makes
// their trails fade. Nothing is allocated per tick.
#pragma once

#include <cstdint>
#include <vector>

#include "windows/draw_screen.h"
#include "windows/random_source.h"

namespace windows {

enum class TParticleState : std::uint8_t { psDead = 0, psLifting = 1, psExploding = 2 };

constexpr std::uint32_t kSparkWhite = 0xFFFFFFFFu;

class FireWorkParticles {
 public:
  explicit FireWorkParticles(RandomSource& random = ProcessRandom()) : random_(random) { SetParticleCount(10000); }

  // Keeps existing particles; new ones are dead.
  void SetParticleCount(int count);
  int ParticleCount() const { return static_cast<int>(state.size()); }
  int MaxPackCount = 1000;

  // Starts up to MaxPackCount + 1 dead particles from the bottom (bottom - 5) toward (x, y)
  // in one random colour; returns how many started.
  int Burst(int x, int y, int bottom);
  void MoveParticles(TDrawScreen& screen);
  // Each colour channel := the 3 x 3 mean, in place; borders kept; nothing below 3 x 3.
  static void Blur(TDrawScreen& screen);
  int LiveCount() const;

  std::vector<TParticleState> state;
  std::vector<int> life;
  std::vector<std::uint32_t> colour;
  std::vector<int> x, y;
  std::vector<double> fx, fy, vx, vy;

 private:
  static bool Inside(const TDrawScreen& s, int px, int py) {
    return px > 0 && px < s.Width() - 1 && py > 0 && py < s.Height() - 1;
  }
  RandomSource& random_;
};

}  // namespace windows
