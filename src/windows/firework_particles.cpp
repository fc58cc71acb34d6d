#include "windows/firework_particles.h"

#include <algorithm>
#include <cmath>

namespace windows {

void FireWorkParticles::SetParticleCount(int count) {
  const size_t n = static_cast<size_t>(std::max(count, 0));
  state.resize(n, TParticleState::psDead);
  life.resize(n, 0);
  colour.resize(n, 0);
  x.resize(n, 0);
  y.resize(n, 0);
  fx.resize(n, 0);
  fy.resize(n, 0);
  vx.resize(n, 0);
  vy.resize(n, 0);
}

int FireWorkParticles::Burst(int bx, int by, int bottom) {
  const auto burstColour = static_cast<std::uint32_t>(random_.Random(0x100000000LL));
  int started = 0;
  for (size_t i = 0; i < state.size(); ++i) {
    if (state[i] != TParticleState::psDead) continue;
    x[i] = bx;
    y[i] = bottom - 5;
    fx[i] = bx;
    fy[i] = by;
    const double angle = random_.RandomReal() * 6.28;
    const double speed = random_.RandomReal();
    vx[i] = std::cos(angle) * speed;
    vy[i] = std::sin(angle) * speed;
    state[i] = TParticleState::psLifting;
    life[i] = static_cast<int>(random_.Random(100));
    colour[i] = burstColour;
    if (++started > MaxPackCount) break;
  }
  return started;
}

void FireWorkParticles::MoveParticles(TDrawScreen& screen) {
  for (size_t i = 0; i < state.size(); ++i) {
    if (state[i] == TParticleState::psLifting) {
      y[i] -= 5;
      if (y[i] >= fy[i]) {
        // Still rising: now and then a spark below the rocket.
        if (random_.Random(50) == 1) {
          const int px = x[i] + RoundHalfEven(random_.RandomReal() * 2);
          const int py = y[i] + RoundHalfEven(random_.RandomReal() * 5);
          if (Inside(screen, px, py)) screen.SetPixel(px, py, kSparkWhite);
        }
      } else {
        state[i] = TParticleState::psExploding;
      }
    } else if (state[i] == TParticleState::psExploding) {
      life[i] -= 1;
      vy[i] += random_.RandomReal() / 20;
      fx[i] += vx[i];
      fy[i] += vy[i];
      const int px = RoundHalfEven(fx[i]), py = RoundHalfEven(fy[i]);
      if (life[i] != 0 && Inside(screen, px, py)) {
        screen.SetPixel(px, py, random_.Random(50) == 1 ? kSparkWhite : colour[i]);
      } else {
        state[i] = TParticleState::psDead;
      }
    }
  }
}

void FireWorkParticles::Blur(TDrawScreen& screen) {
  const int w = screen.Width(), h = screen.Height();
  if (w < 3 || h < 3) return;
  for (int px = 1; px <= w - 2; ++px) {
    for (int py = 1; py <= h - 2; ++py) {
      int r = 0, g = 0, b = 0;
      for (int yy = py - 1; yy <= py + 1; ++yy) {
        const std::uint32_t* row = screen.Row(yy);
        for (int xx = px - 1; xx <= px + 1; ++xx) {
          const std::uint32_t p = row[xx];
          r += (p >> 16) & 0xFF;
          g += (p >> 8) & 0xFF;
          b += p & 0xFF;
        }
      }
      screen.SetPixel(px, py, static_cast<std::uint32_t>(r / 9) << 16 | static_cast<std::uint32_t>(g / 9) << 8 |
                                  static_cast<std::uint32_t>(b / 9));
    }
  }
}

int FireWorkParticles::LiveCount() const {
  return static_cast<int>(std::count_if(state.begin(), state.end(), [](TParticleState s) { return s != TParticleState::psDead; }));
}

}  // namespace windows
