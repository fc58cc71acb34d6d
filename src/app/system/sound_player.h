// The event sounds: wave files of the sound folder, played asynchronously and only when the
// file exists. The platform's "file exists", "play a wave" and "beep" are handed in, so that
// tests observe exactly what would be played.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "app/settings/settings_values.h"

namespace app {

class SoundPlayer {
 public:
  using FileExists = std::function<bool(const std::u16string& path)>;
  using PlayWave = std::function<void(const std::u16string& path)>;
  using Beep = std::function<void()>;

  SoundPlayer(std::u16string soundDir, FileExists exists, PlayWave play, Beep beep);

  // A sound of the sound folder by its file name ("增加条目.wav"); false when it is missing.
  bool Play(std::u16string_view waveName) const;
  // A wave file by its full path (the system's own sounds).
  bool PlayFile(const std::u16string& path) const;
  // The capture's add sound alone follows the sound option: none, the system beep, or the wave.
  void PlayAddSound(SoundChoice choice) const;

 private:
  std::u16string soundDir_;
  FileExists exists_;
  PlayWave play_;
  Beep beep_;
};

}  // namespace app
