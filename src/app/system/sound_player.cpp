#include "app/system/sound_player.h"

namespace app {

SoundPlayer::SoundPlayer(std::u16string soundDir, FileExists exists, PlayWave play, Beep beep)
    : soundDir_(std::move(soundDir)), exists_(std::move(exists)), play_(std::move(play)), beep_(std::move(beep)) {}

bool SoundPlayer::Play(std::u16string_view waveName) const {
  return PlayFile(soundDir_ + u"\\" + std::u16string(waveName));
}

bool SoundPlayer::PlayFile(const std::u16string& path) const {
  if (!exists_(path)) return false;
  play_(path);
  return true;
}

void SoundPlayer::PlayAddSound(SoundChoice choice) const {
  switch (choice) {
    case SoundChoice::wusen:
      break;
    case SoundChoice::laosisen:
      beep_();
      break;
    case SoundChoice::Windowsminzong:
      Play(u"增加条目.wav");
      break;
  }
}

}  // namespace app
